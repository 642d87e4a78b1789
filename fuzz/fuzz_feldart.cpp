// The field kinds on arbitrary bytes, with and without value sets: the status is always one of
// the five results and the value always lies within the field.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "config/Vesk_Exception.h"
#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_WerteMenge.h"
#include "fuzz/FuzzUmgebung.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  if (groesse < 2) {
    return 0;
  }
  vesk::fuzz::schweige();
  static constexpr std::string_view codes[] = {"n", "an", "d6", "d8", "u4", "u6"};
  const Vesk_Feldart* art = Vesk_FeldartenFabrik::gibFeldart(codes[daten[0] % 6]);
  // The second byte chooses the value set: none, an interval, or an enumeration whose
  // definition is the first half of the remaining bytes.
  const std::span<const unsigned char> rest(daten + 2, groesse - 2);
  std::unique_ptr<Vesk_WerteMenge> menge;
  std::span<const unsigned char> feld = rest;
  try {
    switch (daten[1] % 3) {
      case 1:
        menge = Vesk_WertemengenFabrik::createWerteMenge("Intervall", "0-99999");
        break;
      case 2: {
        const std::size_t haelfte = rest.size() / 2;
        const std::string definition(reinterpret_cast<const char*>(rest.data()), haelfte);
        if (definition.find_first_of("<>") == std::string::npos) {
          menge = Vesk_WertemengenFabrik::createWerteMenge("", definition);
        }
        feld = rest.subspan(haelfte);
        break;
      }
      default:
        break;
    }
  } catch (const Vesk_Exception&) {
    return 0;
  }
  const auto anzahl = static_cast<std::int32_t>(feld.size() > 300 ? 300 : feld.size());
  const int status = art->pruefe(feld, 0, anzahl, menge.get());
  if (status < Vesk_Feldart::UNGUELTIG ||
      status > Vesk_Feldart::INITIALWERT_NICHT_IM_WERTEBEREICH) {
    std::abort();
  }
  const auto wert = art->gibWert(feld, 0, anzahl).roh();
  const auto* anfang = reinterpret_cast<const char*>(feld.data());
  if (!wert.empty() && (wert.data() < anfang || wert.data() + wert.size() > anfang + anzahl)) {
    std::abort();
  }
  // A field reaching beyond the bytes is rejected, never read.
  if (art->pruefe(feld, feld.size(), 1, nullptr) != Vesk_Feldart::UNGUELTIG) {
    std::abort();
  }
  return 0;
}
