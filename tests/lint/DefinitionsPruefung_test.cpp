#include "lint/DefinitionsPruefung.h"

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/Vesk_Plausipruefer.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

namespace fs = std::filesystem;

// A small configuration without faults: every line below is numbered as in the file.
constexpr std::string_view DATENSAETZE =
    "[Wertemengen]\n"                   // 1
    "Ziffern = 0 - 9\n"                 // 2
    "[4001]\n"                          // 3
    "Satzart  = m, n, 1, 4\n"           // 4
    "Sendeart = m, an, 5, 2\n"          // 5
    "Kennz    =  , n, 7, 1, Ziffern\n"  // 6
    "Rest     =  , an, 8, 249\n"        // 7
    "[4100]\n"                          // 8
    "Satzart = m, n, 1, 4\n"            // 9
    "Rest    =  , an, 5, 252\n"         // 10
    "[4999]\n"                          // 11
    "Satzart = m, n, 1, 4\n"            // 12
    "Anzahl  = m, n, 5, 8\n"            // 13
    "Rest    =  , an, 13, 244\n";       // 14
constexpr std::string_view STRUKTUR =
    "[Nachrichtentypen]\n"   // 1
    "Schadenmeldung = 01\n"  // 2
    "[Schadenmeldung]\n"     // 3
    "4001 = 1\n"             // 4
    "4100 = 0+\n"            // 5
    "4999 = 1\n"             // 6
    "[muss-kann-Plausis]\n"  // 7
    "Regel1 = aus\n"         // 8
    "Regel2 = aus\n";        // 9

std::string ersetze(std::string_view text, std::string_view alt, std::string_view neu) {
  std::string ergebnis(text);
  const std::size_t stelle = ergebnis.find(alt);
  EXPECT_NE(stelle, std::string::npos) << alt;
  return ergebnis.replace(stelle, alt.size(), neu);
}

class DefinitionsPruefungTest : public vesk::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    vorher = fs::current_path();
    fs::current_path(ordner.wurzel());
    ordner.schreibe("plausi.ini",
                    "[PLAUSIPRUEFUNG]\nSTRUKTUR=struktur.ini\n"
                    "DATENSAETZE=datensaetze.ini\n");
    ordner.schreibe("nachricht.dat",
                    vesk::test::NachrichtenBauer()
                        .satz(vesk::test::SatzBauer("4001").setze(5, "01").setze(7, "1"))
                        .satz(vesk::test::SatzBauer("4100"))
                        .satz(vesk::test::SatzBauer("4999").setze(5, "00000001"))
                        .bytes());
  }
  void TearDown() override {
    fs::current_path(vorher);
    RegistryTest::TearDown();
  }

  std::vector<std::string> lint(std::string_view datensaetze, std::string_view struktur) {
    ordner.schreibe("datensaetze.ini", datensaetze);
    ordner.schreibe("struktur.ini", struktur);
    std::vector<std::string> zeilen;
    const auto pruefung = vesk::DefinitionsPruefung::ausHauptdatei("plausi.ini");
    for (const auto& befund : pruefung.gibBefunde()) {
      zeilen.push_back(vesk::alsZeile(befund));
    }
    return zeilen;
  }

  // The middle line of the checker's exception report for the bundled message.
  std::string pruefer() {
    vesk::test::setzeRegistrysZurueck();
    std::ostringstream aus;
    std::ostringstream fehler;
    auto* altAus = std::cout.rdbuf(aus.rdbuf());
    auto* altFehler = std::cerr.rdbuf(fehler.rdbuf());
    const std::vector<std::string_view> argumente = {"plausi.ini", "nachricht.dat"};
    static_cast<void>(Vesk_Plausipruefer::main(argumente));
    std::cout.rdbuf(altAus);
    std::cerr.rdbuf(altFehler);
    std::istringstream zeilen(fehler.str());
    std::string zeile;
    while (std::getline(zeilen, zeile) && zeile != "Ausnahmefehler aufgetreten:") {
    }
    std::getline(zeilen, zeile);
    return zeile;
  }

  fs::path vorher;
};

TEST_F(DefinitionsPruefungTest, CleanConfigurationHasNoFinding) {
  EXPECT_EQ(lint(DATENSAETZE, STRUKTUR), std::vector<std::string>{});
  EXPECT_EQ(pruefer(), "");
}

// Each fault alone: the lint names its line, its text is the checker's, and a hint follows where
// the text leaves the author searching.
TEST_F(DefinitionsPruefungTest, EachFaultHasItsLineAndTheCheckersText) {
  struct Fall {
    std::string datensaetze;
    std::string struktur;
    std::vector<std::string> erwartet;
  };
  const std::string d(DATENSAETZE);
  const std::string s(STRUKTUR);
  const std::vector<Fall> faelle = {
      {ersetze(d, "Ziffern = 0 - 9", "Ziffern = 0 - x"),
       s,
       {"datensaetze.ini:2: Fehler: datensaetze.ini,Wertemengen:Ungueltiger Wert 0 - x (nur "
        "ganze Zahlen erlaubt)",
        "datensaetze.ini:2: Hinweis: Die Grenze 'x' ist keine ganze Zahl von 0 bis 2147483647"}},
      {ersetze(d, "Rest    =  , an, 5, 252", "Rest    =  , xx, 5, 252"),
       s,
       {"datensaetze.ini:10: Fehler: datensaetze.ini,4100:Unbekannter Datentyp:xx"}},
      {ersetze(d, "Rest    =  , an, 5, 252", "Rest    =  , an, 4, 253"),
       s,
       {"datensaetze.ini:10: Fehler: datensaetze.ini,4100:Ueberschneidung von Datenfeldern in "
        "Satzart 4100 im Byte 3",
        "datensaetze.ini:10: Hinweis: Byte 4 liegt in Satzart (Bytes 1-4) und in Rest (Bytes "
        "4-256)"}},
      {ersetze(d, "Rest    =  , an, 5, 252", "Rest    =  , an, 7, 250"),
       s,
       {"datensaetze.ini:8: Fehler: datensaetze.ini,4100:Keine vollstaendige Ueberdeckung mit "
        "Datenfeldern in Satzart 4100",
        "datensaetze.ini:8: Hinweis: Kein Feld deckt die Bytes 5-6 ab"}},
      {ersetze(d, "Satzart = m, n, 1, 4\nRest    =  , an, 5",
               "Satzart = m, n, 0, 4\nRest    =  , an, 5"),
       s,
       {"datensaetze.ini:9: Fehler: datensaetze.ini,4100:Ungueltiger Wert 0 (Adresse muss "
        "mindestens 1 sein)"}},
      {d,
       ersetze(s, "4999 = 1", "4200 = 1\n4999 = 1"),
       {"struktur.ini:6: Fehler: struktur.ini,Schadenmeldung:Satzart 4200 nicht in der "
        "Datensatzdefinitions-Datei definiert"}},
      {d,
       ersetze(s, "Regel2 = aus", "Regel2 = ein"),
       {"datensaetze.ini:3: Fehler: datensaetze.ini,4001:Satzart 4001 hat kein Datenfeld 9"}},
      {d,
       ersetze(s, "Regel2 = aus\n", ""),
       {"struktur.ini:7: Fehler: struktur.ini:Muss Kann Plausis Feld fehlt"}},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.erwartet.front());
    EXPECT_EQ(lint(fall.datensaetze, fall.struktur), fall.erwartet);
    const std::string fehler = fall.erwartet.front();
    EXPECT_EQ(pruefer(), fehler.substr(fehler.find(": Fehler: ") + 10));
  }
}

// The slips the checker misplaces or passes over: the lint names the line that holds each one.
// `pruefer` is the checker's own report of the configuration ("" when it loads it): it names the
// structure-definition file for a field's address beyond the record, and nothing for the rest.
TEST_F(DefinitionsPruefungTest, SlipsTheCheckerMisplacesHaveTheirLine) {
  struct Fall {
    std::string datensaetze;
    std::string struktur;
    std::vector<std::string> erwartet;
    std::string pruefer;
  };
  const std::string d(DATENSAETZE);
  const std::string s(STRUKTUR);
  const std::string zweiterTyp = ersetze(s, "Schadenmeldung = 01\n",
                                         "Schadenmeldung = 01\n"     // 2
                                         "Reparaturfreigabe = 01\n"  // 3
                                         "Kostenuebernahme = 02\n"   // 4
                                         "Fehlermeldung = 01\n") +   // 5
                                 "[Reparaturfreigabe]\n4001 = 1\n4999 = 1\n"
                                 "[Kostenuebernahme]\n4001 = 1\n4999 = 1\n"
                                 "[Fehlermeldung]\n4001 = 1\n4999 = 1\n";
  const std::vector<Fall> faelle = {
      // An address beyond the record: once, at the field, not at each message type using it.
      {d + "Extra   =  , an, 1000000, 1\n",  // 15
       s,
       {"datensaetze.ini:15: Fehler: datensaetze.ini,4999:Adresse 999999 > 256 "},
       "struktur.ini,Schadenmeldung:Adresse 999999 > 256 "},
      {ersetze(d, "Rest    =  , an, 13, 244", "Rest    =  , an, 13, 300"),
       s,
       {"datensaetze.ini:14: Fehler: datensaetze.ini,4999:Adresse + AnzahlBytes = 312 > 256"},
       "struktur.ini,Schadenmeldung:Adresse + AnzahlBytes = 312 > 256"},
      // Two message types with one Sendeart: the last one listed takes the messages of both.
      {d,
       zweiterTyp,
       {"struktur.ini:3: Fehler: struktur.ini,Nachrichtentypen:Sendeart 01 doppelt vergeben: "
        "Schadenmeldung (Zeile 2) und Reparaturfreigabe (Zeile 3); Nachrichten mit Sendeart 01 "
        "prueft der Pruefer als Fehlermeldung",
        "struktur.ini:5: Fehler: struktur.ini,Nachrichtentypen:Sendeart 01 doppelt vergeben: "
        "Schadenmeldung (Zeile 2) und Fehlermeldung (Zeile 5); Nachrichten mit Sendeart 01 "
        "prueft der Pruefer als Fehlermeldung"},
       ""},
      // A field of no bytes fails in every record, mandatory or not.
      {ersetze(d, "Satzart = m, n, 1, 4\nRest    =  , an, 5",
               "Satzart = m, n, 1, 4\nLeer    = m, an, 5, 0\nRest    =  , an, 5"),
       s,
       {"datensaetze.ini:10: Warnung: Das Feld Leer der Satzart 4100 hat die Laenge 0: jeder "
        "Satz dieser Satzart ist darin fehlerhaft (Falsches Format)"},
       ""},
      {ersetze(d, "Satzart = m, n, 1, 4\nRest    =  , an, 5",
               "Satzart = m, n, 1, 4\nLeer    =  , n, 5, 0, Ziffern\nRest    =  , an, 5"),
       s,
       {"datensaetze.ini:10: Warnung: Das Feld Leer der Satzart 4100 hat die Laenge 0: jeder "
        "Satz dieser Satzart ist darin fehlerhaft (Nicht in Wertemenge)"},
       ""},
      // A field written twice: the first definition is dropped and leaves the gap.
      {ersetze(d, "Rest    =  , an, 5, 252",
               "Rest    =  , an, 5, 2\n"    // 10
               "Rest    =  , an, 7, 250"),  // 11
       s,
       {"datensaetze.ini:8: Fehler: datensaetze.ini,4100:Keine vollstaendige Ueberdeckung mit "
        "Datenfeldern in Satzart 4100",
        "datensaetze.ini:8: Hinweis: Kein Feld deckt die Bytes 5-6 ab",
        "datensaetze.ini:8: Hinweis: Die Bytes 5-6 deckt Rest in Zeile 10 ab, doch fuer Rest gilt "
        "nur Zeile 11",
        "datensaetze.ini:10: Warnung: Das Feld Rest der Satzart 4100 ist in den Zeilen 10 und 11 "
        "definiert; es gilt nur Zeile 11"},
       "datensaetze.ini,4100:Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4100"},
      // A negative length: the value itself, beside the gap it leaves or where it leaves none.
      {ersetze(d, "Rest    =  , an, 5, 252", "Rest    =  , an, 5, -1"),
       s,
       {"datensaetze.ini:8: Fehler: datensaetze.ini,4100:Keine vollstaendige Ueberdeckung mit "
        "Datenfeldern in Satzart 4100",
        "datensaetze.ini:8: Hinweis: Kein Feld deckt die Bytes 5-256 ab",
        "datensaetze.ini:10: Fehler: datensaetze.ini,4100:Ungueltiger Wert -1 (Laenge darf nicht "
        "negativ sein)"},
       "datensaetze.ini,4100:Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4100"},
      {ersetze(d, "Satzart = m, n, 1, 4\nRest    =  , an, 5",
               "Satzart = m, n, 1, 4\nLeer    =  , an, 5, -1\nRest    =  , an, 5"),
       s,
       {"datensaetze.ini:10: Fehler: datensaetze.ini,4100:Ungueltiger Wert -1 (Laenge darf nicht "
        "negativ sein)"},
       ""},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.erwartet.front());
    EXPECT_EQ(lint(fall.datensaetze, fall.struktur), fall.erwartet);
    EXPECT_EQ(pruefer(), fall.pruefer);
  }
}

// Faults of several kinds in one file are all reported in one run, in line order, with the
// warnings for what is legal but a slip.
TEST_F(DefinitionsPruefungTest, ReportsEveryFaultOfAFileInOneRun) {
  const std::string datensaetze = std::string(DATENSAETZE) +
                                  "[4200]\n"                    // 15
                                  "Satzart = m, n, 1, 4\n"      // 16
                                  "Eins    =  , an, 5, 10\n"    // 17
                                  "Zwei    =  , an, 10, 10\n"   // 18
                                  "Rest    =  , an, 20, 237\n"  // 19
                                  "[4300]\n"                    // 20
                                  "Satzart = m, zz, 1, 4\n"     // 21
                                  "Rest    =  , an, 5, 252\n"   // 22
                                  "[4400]\n"                    // 23
                                  "Rest    =  , an, 1, 256\n";  // 24
  const std::string struktur = ersetze(STRUKTUR, "4999 = 1", "4200 = 0+\n4300 = 0+\n4999 = 1");
  const auto zeilen =
      lint(ersetze(datensaetze, "Ziffern = 0 - 9", "Ziffern = 0 - 9\nLeer = A"), struktur);
  EXPECT_EQ(zeilen,
            (std::vector<std::string>{
                "datensaetze.ini:3: Warnung: Die Wertemenge Leer nutzt kein Feld",
                "datensaetze.ini:19: Fehler: datensaetze.ini,4200:Ueberschneidung von "
                "Datenfeldern in Satzart 4200 im Byte 9",
                "datensaetze.ini:19: Hinweis: Byte 10 liegt in Eins (Bytes 5-14) und in Zwei "
                "(Bytes 10-19)",
                "datensaetze.ini:22: Fehler: datensaetze.ini,4300:Unbekannter Datentyp:zz",
                "datensaetze.ini:24: Warnung: Die Satzart 4400 erlaubt kein Nachrichtentyp",
            }));
}

TEST_F(DefinitionsPruefungTest, MapShowsWhichFieldCoversEachByte) {
  ordner.schreibe("datensaetze.ini", DATENSAETZE);
  ordner.schreibe("struktur.ini", STRUKTUR);
  const auto pruefung = vesk::DefinitionsPruefung::ausHauptdatei("plausi.ini");
  ASSERT_EQ(pruefung.gibKarten().size(), 3U);
  const std::string karte = vesk::alsText(pruefung.gibKarten()[0]);
  EXPECT_EQ(karte.substr(0, karte.find("  A ")),
            "Satzart 4001\n"
            "          1       9       17      25      33      41      49      57\n"
            "     1    AAAABBCDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\n"
            "    65    DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\n"
            "   129    DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\n"
            "   193    DDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDDD\n");
  EXPECT_NE(karte.find("  C Kennz (7)\n  D Rest (8-256)\n"), std::string::npos);
}

}  // namespace
