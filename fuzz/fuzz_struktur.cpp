// Structure-definition files of arbitrary text over the example record definition: message
// types, their lookups and the Muss-Kann group.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "config/IniFile.h"
#include "config/Vesk_Exception.h"
#include "fuzz/FuzzUmgebung.h"
#include "rules/Vesk_MussKannPlausi.h"
#include "structure/Vesk_NachrichtenTyp.h"

namespace {
// The record definition stays loaded across inputs; only the message types start afresh.
void ladeDatensaetze() {
  static const bool geladen = [] {
    vesk::fuzz::schweige();
    return vesk::fuzz::imBeispielOrdner([] {
      const IniFile datensaetze("datensaetze.ini");
      Vesk_WertemengenFabrik::initialisiere(datensaetze);
      Vesk_FeldartenFabrik::initialisiere();
      Vesk_SatzartenFabrik::initialisiere(datensaetze);
      return true;
    });
  }();
  static_cast<void>(geladen);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  ladeDatensaetze();
  Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests();
  const IniFile struktur = IniFile::ausText("struktur.ini", vesk::fuzz::alsText(daten, groesse));
  try {
    Vesk_NachrichtenTypFabrik::initialisiere(struktur);
  } catch (const Vesk_Exception&) {
  }
  for (const auto& gruppe : struktur.getSubjects()) {
    try {
      const Vesk_NachrichtenTyp& typ = Vesk_NachrichtenTypFabrik::gibNachrichtenTyp(gruppe);
      static_cast<void>(typ.gibFeldNr(typ.gibAnzahlFelder() - 1));
      static_cast<void>(
          &Vesk_NachrichtenTypFabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText(gruppe)));
    } catch (const Vesk_Exception&) {
    }
  }
  try {
    const Vesk_MussKannPlausi regeln(struktur);
    static_cast<void>(&regeln);
  } catch (const Vesk_Exception&) {
  }
  return 0;
}
