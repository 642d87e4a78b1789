#include "structure/Vesk_StrukturPlausi.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_SatzartenFabrik.h"
#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_Fehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "structure/Vesk_NachrichtenTyp.h"
#include "tests/support/Registry.h"

namespace {

constexpr std::string_view DATENSAETZE = R"([Wertemengen]
Ziffern = 1-9
[4001]
F = ,an,1,256
[4100]
F = ,an,1,256
[4100.1]
F = ,an,1,256
[4100.2]
F = ,an,1,256
[4100.3]
F = ,an,1,256
[4200]
F = ,an,1,256
[4300]
F = ,an,1,256
[4400]
F = ,an,1,256
[4800]
F = ,an,1,256
[4900]
F = ,an,1,256
[4999]
F = ,an,1,256
)";

constexpr std::string_view NICHTS = "";
constexpr std::string_view REIHENFOLGE = "Reihenfolge OK\n";
constexpr std::string_view ALLES = "Reihenfolge OK\nStruktur OK\n";

// The message fields of a message type: record type and description, in order.
using Felder = std::vector<std::pair<std::string, std::string>>;

// One structure check: the message type's fields, the records in message order (by the name
// each was found under, "4100.1" for a partial record), and what the check must answer.
struct Fall {
  Felder felder;
  std::vector<std::string> saetze;
  bool ergebnis;
  // Each entry as "number record-type #record-number", then the explanatory text in quotes.
  std::vector<std::string> fehler;
  std::string_view ausgabe;
};

std::string beschreibe(const Vesk_Fehler& fehler) {
  std::string text = std::to_string(fehler.gibFehlerNummer()) + " " +
                     fehler.gibSatzart().value_or("-") + " #" +
                     std::to_string(fehler.gibDatensatzNummer());
  if (fehler.gibErklaerendenText()) {
    text += " \"" + *fehler.gibErklaerendenText() + "\"";
  }
  return text;
}

std::string beschreibe(const Fall& fall) {
  std::string text = "Felder:";
  for (const auto& [name, beschreibung] : fall.felder) {
    text += " " + name + "=" + beschreibung;
  }
  text += "  Saetze:";
  for (const std::string& satz : fall.saetze) {
    text += " " + satz;
  }
  return text;
}

class StrukturPlausi : public vesk::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    vesk::test::ladeDefinitionen(ordner, DATENSAETZE);
  }

  static void pruefe(const Fall& fall) {
    SCOPED_TRACE(beschreibe(fall));
    std::vector<std::string> namen;
    std::vector<std::string> beschreibungen;
    for (const auto& [name, beschreibung] : fall.felder) {
      namen.push_back(name);
      beschreibungen.push_back(beschreibung);
    }
    const Vesk_NachrichtenTyp typ("Typ", namen, beschreibungen);
    const std::vector<unsigned char> bytes(fall.saetze.size() * Vesk_Datensatz::SATZLAENGE, ' ');
    Vesk_Meldung meldung;
    for (std::size_t i = 0; i < fall.saetze.size(); ++i) {
      meldung.satzAnfuegen(fall.saetze[i], Vesk_SatzartenFabrik::gibSatzart(fall.saetze[i]), bytes,
                           i * Vesk_Datensatz::SATZLAENGE);
    }
    Vesk_FehlerListe liste;
    Vesk_StrukturPlausi plausi(typ);

    testing::internal::CaptureStdout();
    const bool ergebnis = plausi.pruefeStruktur(meldung, liste);
    const std::string ausgabe = testing::internal::GetCapturedStdout();

    std::vector<std::string> fehler;
    for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
      fehler.push_back(beschreibe(liste.gibFehler(i)));
    }
    EXPECT_EQ(ergebnis, fall.ergebnis);
    EXPECT_EQ(fehler, fall.fehler);
    EXPECT_EQ(ausgabe, fall.ausgabe);
  }
};

// A message type of header, one data record type described by `beschreibung`, and trailer.
Felder mit4100(const std::string& beschreibung) {
  return {{"4001", "1"}, {"4100", beschreibung}, {"4999", "1"}};
}

std::vector<std::string> saetze(std::vector<std::string> daten) {
  daten.insert(daten.begin(), "4001");
  daten.emplace_back("4999");
  return daten;
}

TEST_F(StrukturPlausi, ChecksTheOrderOfRecordTypesFirst) {
  const Felder jeEiner = {{"4001", "1"}, {"4100", "1"}, {"4900", "1"}, {"4999", "1"}};
  const std::vector<Fall> faelle = {
      {jeEiner, saetze({"4100", "4900"}), true, {}, ALLES},
      {jeEiner,
       saetze({"4900", "4100"}),
       false,
       {"20 4100 #2 \"4100 nicht erlaubt nach 4900\""},
       NICHTS},
      // Only the first violation counts.
      {jeEiner,
       {"4001", "4900", "4100", "4001", "4999"},
       false,
       {"20 4100 #2 \"4100 nicht erlaubt nach 4900\""},
       NICHTS},
      // The order of the message fields in the type plays no part.
      {{{"4999", "1"}, {"4100", "1"}, {"4001", "1"}}, saetze({"4100"}), true, {}, ALLES},
  };
  for (const Fall& fall : faelle) {
    pruefe(fall);
  }
}

TEST_F(StrukturPlausi, RefusesRecordTypesTheMessageTypeDoesNotList) {
  const std::vector<Fall> faelle = {
      // Every record is still assigned after a refusal, but no count check follows.
      {{{"4100", "1"}, {"4999", "1"}},
       saetze({"4100", "4100"}),
       false,
       {"24 4001 #0", "22 4100 #0"},
       REIHENFOLGE},
      {{{"4001", "1"}, {"4100", "0+"}, {"4300", "1"}, {"4999", "1"}},
       saetze({"4100", "4200"}),
       false,
       {"24 4200 #2"},
       REIHENFOLGE},
      // A record type listed twice: every record goes to the first field.
      {{{"4001", "1"}, {"4100", "1"}, {"4100", "1"}, {"4999", "1"}},
       saetze({"4100", "4100"}),
       false,
       {"22 4100 #0"},
       REIHENFOLGE},
  };
  for (const Fall& fall : faelle) {
    pruefe(fall);
  }
}

TEST_F(StrukturPlausi, CountsRecordsAgainstExactlyAtLeastAndAtMost) {
  const std::vector<Fall> faelle = {
      {mit4100("1"), saetze({"4100"}), true, {}, ALLES},
      // Too many is refused while assigning (record number 0); the missing 4300 is never judged.
      {{{"4001", "1"}, {"4100", "1"}, {"4300", "1"}, {"4999", "1"}},
       saetze({"4100", "4100"}),
       false,
       {"22 4100 #0"},
       REIHENFOLGE},
      {mit4100("2"), saetze({"4100"}), false, {"23 4100 #1"}, REIHENFOLGE},
      {mit4100("2"), saetze({}), false, {"21 4100 #1"}, REIHENFOLGE},
      {mit4100("2"), saetze({"4100", "4100"}), true, {}, ALLES},
      {mit4100("0"), saetze({"4100"}), false, {"22 4100 #0"}, REIHENFOLGE},
      {mit4100("2+"), saetze({"4100", "4100", "4100", "4100", "4100"}), true, {}, ALLES},
      {mit4100("2+"), saetze({"4100"}), false, {"23 4100 #1"}, REIHENFOLGE},
      {mit4100("2+"), saetze({}), false, {"21 4100 #1"}, REIHENFOLGE},
      {mit4100("0+"), saetze({}), true, {}, ALLES},
      {mit4100("2-"), saetze({}), true, {}, ALLES},
      {mit4100("2-"), saetze({"4100", "4100"}), true, {}, ALLES},
      {mit4100("2-"), saetze({"4100", "4100", "4100"}), false, {"22 4100 #0"}, REIHENFOLGE},
      // Each failing field reports once, numbered by its position in the message type.
      {{{"4001", "1"},
        {"4100", "0+"},
        {"4200", "1"},
        {"4300", "0+"},
        {"4400", "0+"},
        {"4800", "1"},
        {"4999", "1"}},
       saetze({}),
       false,
       {"21 4200 #2", "21 4800 #5"},
       REIHENFOLGE},
  };
  for (const Fall& fall : faelle) {
    pruefe(fall);
  }
}

TEST_F(StrukturPlausi, AcceptsOnlyCompleteCorrectlyNumberedPartialRecordGroups) {
  const std::vector<Fall> faelle = {
      {mit4100("1,2"), saetze({"4100.1", "4100.2"}), true, {}, ALLES},
      {mit4100("1,2"),
       saetze({"4100.2", "4100.1"}),
       false,
       {"26 4100 #0 \"Erlaubt :1 Tatsaechlich:2\""},
       REIHENFOLGE},
      {mit4100("1,2"), saetze({"4100.1"}), false, {"25 4100 #1"}, REIHENFOLGE},
      // The second group is one too many; its second record then starts no group either.
      {mit4100("1,2"),
       saetze({"4100.1", "4100.2", "4100.1", "4100.2"}),
       false,
       {"22 4100 #0", "26 4100 #0 \"Erlaubt :1 Tatsaechlich:2\""},
       REIHENFOLGE},
      {mit4100("1+2"), saetze({"4100.1", "4100.2", "4100.1", "4100.2"}), true, {}, ALLES},
      {mit4100("1+2"), saetze({"4100.1", "4100.2", "4100.1"}), false, {"25 4100 #1"}, REIHENFOLGE},
      // Records without a partial-record suffix count as partial record 1.
      {mit4100("1,2"),
       saetze({"4100", "4100"}),
       false,
       {"26 4100 #0 \"Erlaubt :2 Tatsaechlich:1\""},
       REIHENFOLGE},
      // A refused record leaves the counters alone, so the group goes on with the right one.
      {mit4100("1,3"),
       saetze({"4100.1", "4100.3", "4100.2", "4100.3"}),
       false,
       {"26 4100 #0 \"Erlaubt :2 Tatsaechlich:3\""},
       REIHENFOLGE},
      // The first group passes the assignment; the count check finds it one too many.
      {mit4100("0,2"), saetze({"4100.1", "4100.2"}), false, {"22 4100 #1"}, REIHENFOLGE},
      {mit4100("2,2"), saetze({"4100.1", "4100.2"}), false, {"23 4100 #1"}, REIHENFOLGE},
      {mit4100("2,2"), saetze({"4100.1", "4100.2", "4100.1"}), false, {"25 4100 #1"}, REIHENFOLGE},
  };
  for (const Fall& fall : faelle) {
    pruefe(fall);
  }
}

}  // namespace
