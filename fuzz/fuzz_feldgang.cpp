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
#include "config/Vesk_Satzart.h"
#include "fuzz/FuzzUmgebung.h"
#include "tests/support/Feldgang.h"

namespace {

// Besides the mixed record type of the walk's test, two more: short fields at the record's start
// and end, numbers as bits, dates and times of lengths their kinds decide themselves. All value
// sets are written out, so that no file is read.
const std::string DEFINITIONEN = std::string(R"(
[Wertemengen]
Klein  = 0 - 99
Codes  = A, BB, 0, 07, 1234567
Lang   = ABCDEFGH, ABCDEFGHIJ, 12345678
Datei  = 10115, 80331, ABC, 1234567
Zahlen = 10115, 00000, 01234, 99999, 20000, 20007, 20014, 20021, 20028, 20035, 20042, 20049, 20056, 20063, 20070, 20077, 20084, 20091
)") + std::string(vesk::test::GEMISCHTE_SATZART) +
                                 R"(
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
    if (vesk::test::befundeDesGangs(satzart, bytes) !=
        vesk::test::befundeJedesFelds(satzart, bytes)) {
      std::abort();
    }
  }
  return 0;
}
