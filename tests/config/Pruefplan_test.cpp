#include "config/Pruefplan.h"

#include <filesystem>
#include <random>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_Satzart.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Feldgang.h"
#include "tests/support/Registry.h"

namespace {

// The value sets of the mixed record type, two of them read from files.
const std::string DEFINITIONEN = std::string(R"(
[Wertemengen]
Klein   = 0 - 99
Codes   = A, BB, 0, 07, 1234567
Lang    = ABCDEFGH, ABCDEFGHIJ, 12345678
Datei   = <codes.txt>
Zahlen  = <zahlen.txt>
)") + std::string(vesk::test::GEMISCHTE_SATZART);

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
    const std::vector<std::string> voll = vesk::test::befundeJedesFelds(satzart, bytes);
    ASSERT_EQ(vesk::test::befundeDesGangs(satzart, bytes), voll) << "record '" << satz << "'";
    mitBefund += voll.size();
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
