#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "fields/MeldungsText.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WerteMengeIntervall.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"
#include "tests/support/TestDateien.h"

namespace {

void leereRegistries() {
  Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests();
  Vesk_SatzartenFabrik::zuruecksetzenFuerTests();
  Vesk_FeldartenFabrik::zuruecksetzenFuerTests();
  Vesk_WertemengenFabrik::zuruecksetzenFuerTests();
  Vesk_DatensatzDateiException::setzeDateiname("Datensatzdatei");
}

// Every test runs inside its own scratch folder and names value-set files relative to it: the
// folder's absolute path holds "-", which a definition reads as the interval separator.
class WertemengenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    leereRegistries();
    vorher = std::filesystem::current_path();
    std::filesystem::current_path(ordner.wurzel());
  }
  void TearDown() override {
    std::filesystem::current_path(vorher);
    leereRegistries();
  }

  // Loads `text` as the record-definition file into the registry.
  void initialisiere(std::string_view text) const {
    Vesk_WertemengenFabrik::initialisiere(IniFile(ordner.schreibe("datensaetze.ini", text)));
  }

  vesk::test::TestOrdner ordner;
  std::filesystem::path vorher;
};

std::unique_ptr<Vesk_WerteMenge> baue(std::string_view definition) {
  return Vesk_WertemengenFabrik::createWerteMenge("", definition);
}

bool enthaelt(const Vesk_WerteMenge& menge, std::string_view text) {
  return menge.inDerMenge(vesk::MeldungsText(text));
}

// The entries of an enumeration; fails the test for any other set.
std::vector<std::string> eintraege(const Vesk_WerteMenge* menge) {
  const auto* aufzaehlung = dynamic_cast<const Vesk_WerteMengeAufzaehlung*>(menge);
  if (aufzaehlung == nullptr) {
    ADD_FAILURE() << "no enumeration";
    return {};
  }
  return aufzaehlung->gibWerte();
}

// The bounds of an interval, or nullopt for any other set.
std::optional<std::pair<std::int32_t, std::int32_t>> grenzen(const Vesk_WerteMenge* menge) {
  const auto* intervall = dynamic_cast<const Vesk_WerteMengeIntervall*>(menge);
  if (intervall == nullptr) {
    return std::nullopt;
  }
  return std::pair{intervall->gibUntereGrenze(), intervall->gibObereGrenze()};
}

template <class Aktion>
Vesk_DatensatzDateiException fehlerVon(Aktion aktion) {
  try {
    aktion();
  } catch (const Vesk_DatensatzDateiException& fehler) {
    return fehler;
  }
  ADD_FAILURE() << "nothing thrown";
  return Vesk_DatensatzDateiException("");
}

using Grenzen = std::pair<std::int32_t, std::int32_t>;

TEST_F(WertemengenTest, IntervalDefinitionsDropBlanksAndTabs) {
  const std::pair<std::string_view, Grenzen> faelle[] = {{"1-9", {1, 9}},
                                                         {"1 - 9", {1, 9}},
                                                         {"\t1\t-9 ", {1, 9}},
                                                         {"5-5", {5, 5}},
                                                         {"0-2147483647", {0, 2147483647}},
                                                         {"0 0 7-1 2", {7, 12}}};
  for (const auto& [definition, erwartet] : faelle) {
    SCOPED_TRACE(definition);
    EXPECT_EQ(grenzen(baue(definition).get()), erwartet);
  }
}

TEST_F(WertemengenTest, EnumerationDefinitionsKeepEmptyEntriesAndOrder) {
  const std::pair<std::string_view, std::vector<std::string>> faelle[] = {
      {"A, B,C", {"A", "B", "C"}},
      {"A B", {"AB"}},
      {"1,2,", {"1", "2", ""}},
      {"", {""}},
      {",", {"", ""}},
      {"B,,A,B", {"B", "", "A", "B"}},
      {"Klasse", {"Klasse"}},
      {"\xC3\xA4", {"\xC3\xA4"}}};
  for (const auto& [definition, erwartet] : faelle) {
    SCOPED_TRACE(definition);
    EXPECT_EQ(eintraege(baue(definition).get()), erwartet);
  }
}

TEST_F(WertemengenTest, IntervalHoldsExactlyTheIntegersBetweenItsBounds) {
  const auto menge = baue("1-9");
  const std::pair<std::string_view, bool> faelle[] = {
      {"1", true},  {"5", true},     {"9", true},           {"0", false},  {"10", false},
      {"", false},  {"5a", false},   {" 5", false},         {"+5", false}, {"-1", false},
      {"05", true}, {"\xE4", false}, {"99999999999", false}};
  for (const auto& [text, erwartet] : faelle) {
    SCOPED_TRACE(text);
    EXPECT_EQ(enthaelt(*menge, text), erwartet);
  }
  EXPECT_TRUE(enthaelt(*baue("0-2147483647"), "2147483647"));
}

TEST_F(WertemengenTest, EnumerationComparesExactlyAndNeverMatchesBytesFromE4On) {
  const auto menge = baue("7,A,,\xC3\xA4");
  const std::pair<std::string_view, bool> faelle[] = {
      {"7", true},   {"07", false}, {"A", true},         {"a", false},
      {" A", false}, {"", true},    {"\xC3\xA4", false}, {"\xE4", false}};
  for (const auto& [text, erwartet] : faelle) {
    SCOPED_TRACE(text);
    EXPECT_EQ(enthaelt(*menge, text), erwartet);
  }
}

// The lookup takes four shapes (a few short codes compared in a row, many in a table, many
// numbers of one length as bits, longer entries by hash); each answers exactly as comparing with
// every entry would.
TEST(WerteMengeAufzaehlung, EveryLookupShapeAnswersAsComparingEachEntry) {
  const auto bytes = [](std::string_view text) { return vesk::MeldungsText(text); };
  std::vector<std::string> vieleKurze;
  for (int i = 0; i < 1000; ++i) {
    vieleKurze.push_back(std::to_string(i * 7));
  }
  vieleKurze.emplace_back("");
  vieleKurze.emplace_back("0");  // a duplicate
  const auto zahlen = [](int stellen, int schritt, std::vector<std::string> dazu) {
    for (int i = 0; i < 1000; ++i) {
      std::string zahl = std::to_string(i * schritt);
      dazu.push_back(std::string(static_cast<std::size_t>(stellen) - zahl.size(), '0') + zahl);
    }
    return dazu;
  };
  // Postal codes with leading zeros and the highest number; an entry of another alphabet does
  // not count, a number of another length does.
  const std::vector<std::string> postleitzahlen = zahlen(5, 99, {"99999", "\xC3\xA4"});
  const std::vector<std::string> gemischt = zahlen(5, 99, {"1234"});
  struct Fall {
    const char* name;
    std::vector<std::string> werte;
    std::vector<std::string_view> drin;
    std::vector<std::string_view> nicht;
  };
  const std::vector<Fall> faelle = {
      {"few short",
       {"EUR", "", "1234567", "\xC3\xA4"},
       {"EUR", "", "1234567"},
       {"EU", "EURO", "eur", "12345678", "\xC3\xA4", "\xE4", std::string_view("EUR\0", 4)}},
      {"many short", vieleKurze, {"0", "7", "6993", ""}, {"1", "00", "6994", "69930", " 7"}},
      {"many numbers of five digits",
       postleitzahlen,
       {"00000", "00099", "98901", "99999"},
       {"0", "00001", "0009", "000990", "00 99", "0009 ", "0009A", "\xC3\xA4", "\xE4", "",
        "99998"}},
      {"six digits", zahlen(6, 999, {}), {"000000", "998001"}, {"000999 ", "999999", "00999"}},
      {"seven digits, too few for bits", zahlen(7, 9999, {}), {"9989001"}, {"9999999"}},
      {"numbers of two lengths", gemischt, {"1234", "00099"}, {"01234", "0123", "00100"}},
      {"long",
       {"ABCDEFGH", "A", "", "ABCDEFGHIJKLMNOP"},
       {"ABCDEFGH", "A", "", "ABCDEFGHIJKLMNOP"},
       {"ABCDEFG", "ABCDEFGHI", "B", "ABCDEFGH\x80"}},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const Vesk_WerteMengeAufzaehlung menge("", fall.werte);
    for (const std::string_view text : fall.drin) {
      EXPECT_TRUE(menge.inDerMenge(bytes(text))) << text;
    }
    for (const std::string_view text : fall.nicht) {
      EXPECT_FALSE(menge.inDerMenge(bytes(text))) << text;
    }
  }
}

TEST_F(WertemengenTest, FaultyDefinitionsNameTheDefinitionAsWritten) {
  ordner.schreibe("ordner/leer.txt", "");
  const std::pair<std::string_view, std::string_view> faelle[] = {
      {"1-2-3", "Doppelte Intervall-Definition nicht erlaubt:1-2-3"},
      {"1 - 2 - 3", "Doppelte Intervall-Definition nicht erlaubt:1 - 2 - 3"},
      {"1,2-5", "Wertemengendefinition: Mischung Intervall und Aufzaehlung nicht erlaubt1,2-5"},
      {"1-5,", "Wertemengendefinition: Mischung Intervall und Aufzaehlung nicht erlaubt1-5,"},
      {"9-1", "Falsche Ingervalldefinition 9 > 1"},
      {"10 - 009", "Falsche Ingervalldefinition 10 > 9"},
      {"liste.txt>", "Falsche Dateikennzeichnung fuer Wertemenge:liste.txt>"},
      {"<liste.txt", "Datei, die Wertemenge enthaelt nicht angegeben"},
      {"<fehlt.txt>", "Datei fehlt.txt mit Wertemenge existiert nicht"},
      {"< feh lt.txt >", "Datei fehlt.txt mit Wertemenge existiert nicht"},
      {"<ordner>", "Datei ordner mit Wertemenge existiert nicht"},
      {"a-9", "Ungueltiger Wert a-9 (nur ganze Zahlen erlaubt)"},
      {"-9", "Ungueltiger Wert -9 (nur ganze Zahlen erlaubt)"},
      {"1-", "Ungueltiger Wert 1- (nur ganze Zahlen erlaubt)"},
      {"0-2147483648", "Ungueltiger Wert 0-2147483648 (nur ganze Zahlen erlaubt)"}};
  for (const auto& [definition, text] : faelle) {
    SCOPED_TRACE(definition);
    const auto fehler =
        fehlerVon([definition = definition] { static_cast<void>(baue(definition)); });
    EXPECT_EQ(fehler.gibBeschreibung(), text);
    EXPECT_EQ(fehler.gibGruppe(), std::nullopt);
  }
}

TEST_F(WertemengenTest, ValueSetFileHoldsOneValuePerLine) {
  const std::pair<std::string_view, std::vector<std::string>> faelle[] = {
      {"A ; note\n\nB\nC", {"A", "B", "C"}},
      {"A\r\nB\r\n", {"A", "B"}},
      {"\xEF\xBB\xBF"
       "A\nB\n",
       {"A", "B"}},
      {"A\n\xEF\xBB\xBF"
       "B\n",
       {"A",
        "\xEF\xBB\xBF"
        "B"}},
      {"; only a comment\n  \n\t\n", {}},
      {"", {}},
      {"A B\tC\rD\n", {"ABCD"}},
      {"A;B\nC;\n;D\nA", {"A", "C", "A"}},
      {"\xC3\xA4\n", {"\xC3\xA4"}},
      {"1,2\n3-4\n<x>\n", {"1,2", "3-4", "<x>"}}};
  for (const auto& [inhalt, erwartet] : faelle) {
    SCOPED_TRACE(inhalt);
    ordner.schreibe("liste.txt", inhalt);
    EXPECT_EQ(eintraege(baue(" < liste .txt > ").get()), erwartet);
  }
}

TEST_F(WertemengenTest, FileEntryFromUtf8MatchesNoMessageByte) {
  ordner.schreibe("umlaut.txt", "\xC3\xA4\n");
  const auto menge = baue("<umlaut.txt>");
  EXPECT_FALSE(enthaelt(*menge, "\xE4"));
  EXPECT_FALSE(enthaelt(*menge, "\xC3\xA4"));
  EXPECT_EQ(vesk::MeldungsText("A\xE4").alsUtf8(), "A\xC3\xA4");
}

TEST_F(WertemengenTest, NamedSetsAreBuiltFromTheGroupWithTheirNames) {
  ordner.schreibe("sparten.txt", "KV\nLV\n");
  initialisiere(
      "[Wertemengen]\nKlasse = 1 - 9\nKennung = A, B, C\nSparten = <sparten.txt>\n"
      "[4001]\nF1=m,n,1,4\n");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const Vesk_WerteMenge* klasse = Vesk_WertemengenFabrik::gibWerteMenge("Klasse");
  const Vesk_WerteMenge* kennung = Vesk_WertemengenFabrik::gibWerteMenge("Kennung");
  const Vesk_WerteMenge* sparten = Vesk_WertemengenFabrik::gibWerteMenge("Sparten");
  EXPECT_EQ(Vesk_WertemengenFabrik::gibWerteMenge("klasse"), nullptr);
  EXPECT_EQ(Vesk_WertemengenFabrik::gibWerteMenge("1-9"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(klasse, nullptr);
  EXPECT_EQ(klasse->gibBezeichner(), "Klasse");
  EXPECT_EQ(grenzen(klasse), (Grenzen{1, 9}));
  EXPECT_EQ(eintraege(kennung), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(eintraege(sparten), (std::vector<std::string>{"KV", "LV"}));
  EXPECT_EQ(baue("A")->gibBezeichner(), "");
}

TEST_F(WertemengenTest, InitialisesOnlyOnce) {
  initialisiere("[Wertemengen]\nKlasse=1-9\n");
  initialisiere("[Andere]\nA=1\n");
  EXPECT_NE(Vesk_WertemengenFabrik::gibWerteMenge("Klasse"), nullptr);
}

TEST_F(WertemengenTest, MissingOrEmptyGroupIsRejected) {
  for (const std::string_view text :
       {"", "[Andere]\nA=1\n", "[Wertemengen]\n; nichts\n[Andere]\nA=1\n"}) {
    SCOPED_TRACE(text);
    const auto fehler = fehlerVon([&] { initialisiere(text); });
    EXPECT_EQ(fehler.toString(), "Datensatzdatei:Gruppe [Wertemengen] fehlt");
    leereRegistries();
  }
}

TEST_F(WertemengenTest, OnlyABadBoundOfANamedSetCarriesTheGroup) {
  const std::pair<std::string_view, std::string_view> faelle[] = {
      {"a - 9", "Datensatzdatei,Wertemengen:Ungueltiger Wert a - 9 (nur ganze Zahlen erlaubt)"},
      {"0-2147483648",
       "Datensatzdatei,Wertemengen:Ungueltiger Wert 0-2147483648 (nur ganze Zahlen erlaubt)"},
      {"- 5", "Datensatzdatei,Wertemengen:Ungueltiger Wert - 5 (nur ganze Zahlen erlaubt)"},
      {"1-2-3", "Datensatzdatei:Doppelte Intervall-Definition nicht erlaubt:1-2-3"},
      {"9-1", "Datensatzdatei:Falsche Ingervalldefinition 9 > 1"},
      {"<fehlt.txt>", "Datensatzdatei:Datei fehlt.txt mit Wertemenge existiert nicht"}};
  for (const auto& [definition, bericht] : faelle) {
    SCOPED_TRACE(definition);
    const std::string text = "[Wertemengen]\nGut=1\nK = " + std::string(definition) + "\n";
    const auto fehler = fehlerVon([&] { initialisiere(text); });
    EXPECT_EQ(fehler.toString(), bericht);
    leereRegistries();
  }
}

}  // namespace
