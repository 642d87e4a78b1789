// Structure-definition files of arbitrary text over the example record definition: message
// types, their lookups and the Muss-Kann group.
#include <cstddef>
#include <cstdint>

#include "config/IniFile.h"
#include "config/Vesk_Exception.h"
#include "fuzz/FuzzUmgebung.h"
#include "rules/Vesk_MussKannPlausi.h"
#include "structure/Vesk_NachrichtenTyp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  vesk::fuzz::schweige();
  vesk::fuzz::setzeRegistrierungenZurueck();
  static const IniFile datensaetze((vesk::fuzz::beispielOrdner() / "datensaetze.ini").string());
  const IniFile struktur(vesk::fuzz::schreibe("struktur.ini", daten, groesse));
  const auto alterOrdner = std::filesystem::current_path();
  std::filesystem::current_path(vesk::fuzz::beispielOrdner());
  try {
    Vesk_WertemengenFabrik::initialisiere(datensaetze);
    Vesk_FeldartenFabrik::initialisiere();
    Vesk_SatzartenFabrik::initialisiere(datensaetze);
    Vesk_NachrichtenTypFabrik::initialisiere(struktur);
  } catch (const Vesk_Exception&) {
  }
  for (const auto& gruppe : struktur.getSubjects()) {
    try {
      const Vesk_NachrichtenTyp& typ = Vesk_NachrichtenTypFabrik::gibNachrichtenTyp(gruppe);
      static_cast<void>(typ.gibFeldNr(typ.gibAnzahlFelder() - 1));
      const std::string_view sendeArt = gruppe;
      static_cast<void>(&Vesk_NachrichtenTypFabrik::gibNachrichtenTypSendeArt(
          vesk::MeldungsText(sendeArt)));
    } catch (const Vesk_Exception&) {
    }
  }
  try {
    const Vesk_MussKannPlausi regeln(struktur);
    static_cast<void>(&regeln);
  } catch (const Vesk_Exception&) {
  }
  std::filesystem::current_path(alterOrdner);
  return 0;
}
