#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"

// What the field walk of a record type is compared on, and the two ways of checking a record
// whose findings must agree: shared by the walk's test and its fuzz target.
namespace vesk::test {

// Every field kind with lengths around the eight-byte steps of the walk, mandatory and optional,
// with each shape of value set: interval, short codes, codes longer than a word, many numbers of
// five digits, and none. The last field ends at byte 256, so the walk reads up to the record's
// end. The value sets Klein, Codes, Lang, Datei and Zahlen are the caller's to define.
inline constexpr std::string_view GEMISCHTE_SATZART = R"(
[4400]
F01 = m , n , 1, 1
F02 =   , n , 2, 3, Klein
F03 = m , n , 5, 8
F04 =   , n , 13, 9, Codes
F05 = m , an, 22, 1
F06 =   , an, 23, 2, Codes
F07 = m , an, 25, 7, Codes
F08 =   , an, 32, 8, Lang
F09 = m , an, 40, 10, Lang
F10 =   , an, 50, 5, Datei
F11 = m , d8, 55, 8
F12 =   , d8, 63, 8, 1 - 31129999
F13 = m , d6, 71, 6
F14 =   , d6, 77, 6
F15 = m , u6, 83, 6
F16 =   , u4, 89, 4
F17 =   , u6, 93, 5
F18 = mk, n , 98, 2
F19 =   , an, 100, 9
F22 = m , an, 109, 8, Codes
F23 =   , an, 117, 5, Zahlen
F24 = m , n , 122, 8, 10 - 99999999
F20 = m , an, 130, 120
F21 =   , n , 250, 7, Klein
)";

inline std::vector<std::string> protokollZeilen(const Vesk_FehlerListe& liste) {
  std::vector<std::string> zeilen;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    zeilen.push_back(Vesk_FehlerListe::protokollZeile(liste.gibFehler(i)));
  }
  return zeilen;
}

// The findings of `satzart` on the record `bytes` through its walk, as protocol lines.
inline std::vector<std::string> befundeDesGangs(const Vesk_Satzart& satzart,
                                                std::span<const unsigned char> bytes) {
  Vesk_FehlerListe liste;
  static_cast<void>(satzart.pruefe(bytes, 0, liste));
  return protokollZeilen(liste);
}

// The findings of checking every field of `satzart` in full on the record `bytes`.
inline std::vector<std::string> befundeJedesFelds(const Vesk_Satzart& satzart,
                                                  std::span<const unsigned char> bytes) {
  Vesk_FehlerListe liste;
  for (std::size_t i = 0; i < satzart.gibAnzahlFelder(); ++i) {
    if (auto* fehler =
            satzart.gibDatenFeld(static_cast<std::int64_t>(i) + 1)->pruefe(bytes, 0, liste)) {
      fehler->setzeFeldNummer(static_cast<std::int32_t>(i));
      fehler->setzeSatzart(satzart.gibBezeichner());
    }
  }
  return protokollZeilen(liste);
}

}  // namespace vesk::test
