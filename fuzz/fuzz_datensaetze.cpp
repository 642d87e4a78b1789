// Record-definition files of arbitrary text through the value-set, field-kind and record-type
// registries: every group is built once.
#include <cstddef>
#include <cstdint>

#include "config/IniFile.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"
#include "fuzz/FuzzUmgebung.h"

namespace {

void baueAlle(const IniFile& ini) {
  try {
    Vesk_WertemengenFabrik::initialisiere(ini);
  } catch (const Vesk_Exception&) {
    return;
  }
  Vesk_FeldartenFabrik::initialisiere();
  Vesk_SatzartenFabrik::initialisiere(ini);
  for (const auto& gruppe : ini.getSubjects()) {
    try {
      const Vesk_Satzart& satzart = Vesk_SatzartenFabrik::gibSatzart(gruppe);
      static_cast<void>(satzart.gibDatenFeld(1));
    } catch (const Vesk_Exception&) {
    }
  }
}

}  // namespace

// Value-set files named in the text are looked for in the example folder, so that the seed's
// <schadenarten.txt> is found.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  vesk::fuzz::schweige();
  vesk::fuzz::setzeRegistrierungenZurueck();
  const IniFile ini = IniFile::ausText("datensaetze.ini", vesk::fuzz::alsText(daten, groesse));
  vesk::fuzz::imBeispielOrdner([&ini] {
    baueAlle(ini);
    return 0;
  });
  return 0;
}
