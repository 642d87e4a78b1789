// The field walk of a record type against the full check of each of its fields: on arbitrary
// record bytes, a record type's check finds exactly what checking every field in full finds. The
// records of one input follow one another, so that the walk also meets bytes it remembers from
// the record before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/IniFile.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "fuzz/FuzzUmgebung.h"

namespace {

// Every field kind and shape of value set (interval, short codes, codes longer than a word, many
// numbers of five digits), fields of one to over two hundred bytes, at the record's start and end,
// dates and times of lengths their kinds decide themselves.
constexpr std::string_view DEFINITIONEN = R"(
[Wertemengen]
Klein  = 0 - 99
Codes  = A, BB, 0, 07, 1234567
Lang   = ABCDEFGH, ABCDEFGHIJ, 12345678
Zahlen = 10115, 00000, 01234, 99999, 20000, 20007, 20014, 20021, 20028, 20035, 20042, 20049, 20056, 20063, 20070, 20077, 20084, 20091
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
F10 =   , an, 50, 5, Zahlen
F11 = m , d8, 55, 8
F12 =   , d8, 63, 8, 1 - 31129999
F13 = m , d6, 71, 6
F14 =   , d6, 77, 6
F15 = m , u6, 83, 6
F16 =   , u4, 89, 4
F17 =   , u6, 93, 5
F18 = mk, n , 98, 2
F19 =   , an, 100, 9
F20 = m , an, 109, 8, Codes
F21 =   , an, 117, 5, Zahlen
F22 = m , n , 122, 8, 10 - 99999999
F23 = m , an, 130, 120
F24 =   , n , 250, 7, Klein
[4500]
F01 = m , n , 1, 5, Zahlen
F02 =   , an, 6, 5, Zahlen
F03 = m , d6, 11, 6, 1 - 129999
F04 =   , u4, 17, 4, Klein
F05 =   , an, 21, 228
F06 = m , d8, 249, 8
[4600]
F01 = m , n , 1, 12, Klein
F02 =   , n , 13, 9, 1 - 999999999
F03 = m , an, 22, 3, Codes
F04 =   , d8, 25, 10
F05 =   , u6, 35, 7
F06 =   , an, 42, 215
)";

std::vector<const Vesk_Satzart*> baueSatzarten() {
  vesk::fuzz::setzeRegistrierungenZurueck();
  const IniFile ini = IniFile::ausText("datensaetze.ini", DEFINITIONEN);
  Vesk_WertemengenFabrik::initialisiere(ini);
  Vesk_FeldartenFabrik::initialisiere();
  Vesk_SatzartenFabrik::initialisiere(ini);
  return {&Vesk_SatzartenFabrik::gibSatzart("4400"), &Vesk_SatzartenFabrik::gibSatzart("4500"),
          &Vesk_SatzartenFabrik::gibSatzart("4600")};
}

std::vector<std::string> befunde(const Vesk_FehlerListe& liste) {
  std::vector<std::string> zeilen;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    zeilen.push_back(Vesk_FehlerListe::protokollZeile(liste.gibFehler(i)));
  }
  return zeilen;
}

}  // namespace

// The first byte chooses the record type; the rest are records of 256 bytes, the last one
// filled up with blanks.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  if (groesse < 1) {
    return 0;
  }
  vesk::fuzz::schweige();
  static const std::vector<const Vesk_Satzart*> satzarten = baueSatzarten();
  const Vesk_Satzart& satzart = *satzarten[daten[0] % satzarten.size()];
  const std::string_view rest(reinterpret_cast<const char*>(daten) + 1, groesse - 1);
  for (std::size_t ab = 0; ab < rest.size(); ab += Vesk_Satzart::SATZLAENGE) {
    std::string satz(rest.substr(ab, Vesk_Satzart::SATZLAENGE));
    satz.resize(Vesk_Satzart::SATZLAENGE, ' ');
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(satz.data()),
                                               satz.size());
    Vesk_FehlerListe mitPlan;
    static_cast<void>(satzart.pruefe(bytes, 0, mitPlan));
    Vesk_FehlerListe voll;
    for (std::size_t i = 0; i < satzart.gibAnzahlFelder(); ++i) {
      if (auto* fehler =
              satzart.gibDatenFeld(static_cast<std::int64_t>(i) + 1)->pruefe(bytes, 0, voll)) {
        fehler->setzeFeldNummer(static_cast<std::int32_t>(i));
        fehler->setzeSatzart(satzart.gibBezeichner());
      }
    }
    if (befunde(mitPlan) != befunde(voll)) {
      std::abort();
    }
  }
  return 0;
}
