// Arbitrary message bytes through the C interface over the bundled example configuration,
// reading every part of each result as an application would.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "capi/vesk.h"
#include "fuzz/FuzzUmgebung.h"

namespace {

const vesk_konfiguration* konfiguration() {
  static const vesk_konfiguration* const instanz = vesk::fuzz::imBeispielOrdner([] {
    vesk_konfiguration* geladen = vesk_konfiguration_laden("plausi.ini", nullptr);
    if (geladen == nullptr) {
      std::abort();
    }
    return geladen;
  });
  return instanz;
}

// Touches every byte a finding points at, so that the sanitizers see a pointer that leads
// outside the result.
std::size_t liesAlles(const vesk_ergebnis& ergebnis) {
  std::size_t summe = std::strlen(vesk_ergebnis_json(&ergebnis));
  summe += std::strlen(vesk_ergebnis_nachricht(&ergebnis));
  for (const char* text :
       {vesk_ergebnis_nachrichtentyp(&ergebnis), vesk_ergebnis_abbruch(&ergebnis)}) {
    summe += text != nullptr ? std::strlen(text) : 0;
  }
  for (std::size_t i = 0; i < vesk_ergebnis_anzahl_fehler(&ergebnis); ++i) {
    const vesk_fehler& f = *vesk_ergebnis_fehler(&ergebnis, i);
    for (const char* text : {f.art, f.beschreibung, f.text, f.satzart, f.feldname}) {
      summe += text != nullptr ? std::strlen(text) : 0;
    }
    for (std::size_t b = 0; b < f.wert_laenge; ++b) {
      summe += f.wert[b];
    }
  }
  return summe;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  vesk_ergebnis* ergebnis = vesk_pruefe_bytes(konfiguration(), daten, groesse, "eingabe");
  if (ergebnis == nullptr) {
    std::abort();
  }
  static_cast<void>(liesAlles(*ergebnis));
  vesk_ergebnis_freigeben(ergebnis);
  return 0;
}
