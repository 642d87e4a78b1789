#include "config/Pruefplan.h"

#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"

namespace {

// Every field kind with lengths around the eight-byte steps of the walk, mandatory and optional,
// with each shape of value set: interval, short codes, codes longer than a word, one read from a
// file, and none. The last field ends at byte 256, so the walk reads up to the record's end.
constexpr std::string_view DEFINITIONEN = R"(
[Wertemengen]
Klein   = 0 - 99
Codes   = A, BB, 0, 07, 1234567
Lang    = ABCDEFGH, ABCDEFGHIJ, 12345678
Datei   = <codes.txt>
Zahlen  = <zahlen.txt>
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

// Numbers of five digits, many enough to be kept as bits, including some the records hold.
std::string zahlenDatei() {
  std::string zahlen = "10115\n00000\n01234\n99999\n";
  for (int i = 0; i < 100; ++i) {
    zahlen += std::to_string(20000 + i * 7) + "\n";
  }
  return zahlen;
}

// Bytes that make each kind's cases likely: digits, zeros, blanks, letters, control characters
// (which trimming removes like blanks), the first byte above them, and a byte of the upper half.
char zufallsByte(std::mt19937& zufall) {
  using namespace std::literals;
  static constexpr std::string_view haeufig = "0000123456789999   AB\x80\t\x1F!\0"sv;
  return haeufig[std::uniform_int_distribution<std::size_t>(0, haeufig.size() - 1)(zufall)];
}

// A record whose fields are mostly valid values, sometimes spoiled at one byte.
std::string zufallsSatz(std::mt19937& zufall) {
  static const std::vector<std::string> vorlagen = {
      "7123456780000000012345",
      "                                                                  ",
      "31122024290220230101202400002024122026000000000000",
      "235959595923595900000000",
      "A BB0 07 1234567ABCDEFGH12345678ABCDEFGHIJ10115",
      "0123410115200070000001099999999",
      "20014000000000000010",
      "BB      A\t      1234567 07 \x1F    ",
  };
  std::string satz(256, ' ');
  for (std::size_t i = 0; i < satz.size(); ++i) {
    const std::string& vorlage =
        vorlagen[std::uniform_int_distribution<std::size_t>(0, vorlagen.size() - 1)(zufall)];
    satz[i] = zufall() % 8 == 0 ? zufallsByte(zufall) : vorlage[i % vorlage.size()];
  }
  return satz;
}

std::vector<std::string> befunde(const Vesk_FehlerListe& liste) {
  std::vector<std::string> zeilen;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    zeilen.push_back(Vesk_FehlerListe::protokollZeile(liste.gibFehler(i)));
  }
  return zeilen;
}

class PruefplanTest : public vesk::test::RegistryTest {};

// The walk clears fields only where the full check finds nothing: over many records, the record
// type's check (walk first) reports exactly what checking every field in full reports.
TEST_F(PruefplanTest, FindsExactlyWhatTheFullCheckOfEveryFieldFinds) {
  ordner.schreibe("codes.txt", "10115\n80331\nABC\n1234567\n");
  ordner.schreibe("zahlen.txt", zahlenDatei());
  const auto vorher = std::filesystem::current_path();
  std::filesystem::current_path(ordner.wurzel());
  vesk::test::ladeDefinitionen(ordner, DEFINITIONEN);
  const Vesk_Satzart& satzart = Vesk_SatzartenFabrik::gibSatzart("4400");
  std::filesystem::current_path(vorher);

  std::mt19937 zufall(20261209);
  std::size_t mitBefund = 0;
  for (int runde = 0; runde < 20000; ++runde) {
    const std::string satz = zufallsSatz(zufall);
    const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(satz.data()),
                                               satz.size());
    Vesk_FehlerListe mitPlan;
    static_cast<void>(satzart.pruefe(bytes, 0, mitPlan));
    Vesk_FehlerListe voll;
    for (std::size_t i = 0; i < satzart.gibAnzahlFelder(); ++i) {
      if (auto* fehler =
              satzart.gibDatenFeld(static_cast<std::int64_t>(i) + 1)->pruefe(bytes, 0, voll)) {
        fehler->setzeFeldNummer(static_cast<std::int32_t>(i));
        fehler->setzeSatzart("4400");
      }
    }
    ASSERT_EQ(befunde(mitPlan), befunde(voll)) << "record '" << satz << "'";
    mitBefund += voll.gibGroesse();
  }
  // The records exercise both outcomes of most fields.
  EXPECT_GT(mitBefund, 20000U);
  EXPECT_LT(mitBefund, 20000U * 21);
}

// A field's bytes that passed are remembered per thread, so that the same bytes pass again
// without their tests; they must not pass for a field of another record type, even one that
// takes the place in memory of a record type that is gone.
TEST_F(PruefplanTest, BytesThatPassedForOneRecordTypeDoNotPassForAnother) {
  vesk::test::ladeDefinitionen(ordner, DEFINITIONEN.substr(0, DEFINITIONEN.find("Datei")));
  std::string satz(256, ' ');
  satz.replace(0, 3, "EUR");
  const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(satz.data()),
                                             satz.size());
  const auto befundeMit = [&bytes](std::string_view menge) {
    const Vesk_Satzart satzart(
        "4400", std::vector<std::string>{"m , an, 1, 3, " + std::string(menge), "  , an, 4, 253"});
    Vesk_FehlerListe liste;
    static_cast<void>(satzart.pruefe(bytes, 0, liste));
    return liste.gibGroesse();
  };
  for (int runde = 0; runde < 3; ++runde) {
    EXPECT_EQ(befundeMit("EUR"), 0U);
    EXPECT_EQ(befundeMit("EUR"), 0U);
    EXPECT_EQ(befundeMit("CHF"), 1U);
  }
}

}  // namespace
