#include "config/Vesk_TechnischePlausi.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

using Definitionen = std::vector<std::string>;

std::span<const unsigned char> alsBytes(const std::string& text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

// What the check made of one field: its number and explanatory text; number 0 for no finding.
struct Befund {
  std::int32_t nummer = 0;
  std::optional<std::string> text;
};

class TechnischePlausi : public vesk::test::RegistryTest {
 protected:
  // Checks a record of type "4100" whose field 1 is `definition` over bytes 1 to `laenge`,
  // holding `inhalt`, followed by an optional filler field; returns the one finding or none.
  static Befund pruefeFeld(const std::string& definition, std::size_t laenge,
                           const std::string& inhalt) {
    const Vesk_Satzart satzart("4100",
                               Definitionen{definition, ",an," + std::to_string(laenge + 1) + "," +
                                                            std::to_string(256 - laenge)});
    const std::string satz = vesk::test::SatzBauer().setze(1, inhalt).bytes();
    Vesk_FehlerListe liste;
    const bool fehlerfrei = satzart.pruefe(alsBytes(satz), 0, liste);
    EXPECT_EQ(fehlerfrei, liste.gibGroesse() == 0);
    if (liste.gibGroesse() == 0) {
      return {};
    }
    EXPECT_EQ(liste.gibGroesse(), 1U);
    return {liste.gibFehler(0).gibFehlerNummer(), liste.gibFehler(0).gibErklaerendenText()};
  }
};

// One field content against the three field types "m", "mk" and "" (KANN).
struct Entscheidung {
  const char* art;
  std::size_t laenge;
  const char* inhalt;
  const char* menge;  // the value-set column; nullptr for a field without value set
  std::array<Befund, 3> erwartet;
};

const Befund keiner{};
const Befund muss{Vesk_DatenFeldFehler::MUSS_FEHLER, std::nullopt};
const Befund format{Vesk_DatenFeldFehler::FORMAT_FEHLER, std::nullopt};
Befund wertebereich(const char* text) {
  return {Vesk_DatenFeldFehler::WERTEBEREICH_FEHLER, text};
}

TEST_F(TechnischePlausi, DecidesByStatusAndFieldType) {
  const std::vector<Entscheidung> tabelle = {
      // Without value set: GUELTIG, INITIALWERT, UNGUELTIG.
      {"n", 4, "0042", nullptr, {keiner, keiner, keiner}},
      {"n", 4, "0000", nullptr, {muss, keiner, keiner}},
      {"n", 4, "12a4", nullptr, {format, format, format}},
      {"n", 4, " 42 ", nullptr, {format, format, format}},
      {"an", 4, "    ", nullptr, {muss, keiner, keiner}},
      {"an", 4, " AB ", nullptr, {format, format, format}},
      {"d8", 8, "31021999", nullptr, {format, format, format}},
      {"d8", 8, "        ", nullptr, {muss, keiner, keiner}},
      // With value set: in it, not in it, initial value outside it, initial value inside it.
      {"n", 4, "0042", "1-50", {keiner, keiner, keiner}},
      {"n",
       4,
       "0099",
       "1-50",
       {wertebereich("'' :99"), wertebereich("'' :99"), wertebereich("'' :99")}},
      {"n", 4, "0000", "1-50", {wertebereich("'' :"), keiner, keiner}},
      {"n", 4, "0000", "1,2,", {muss, keiner, keiner}},
      {"an", 4, "    ", "A,B", {wertebereich("'' :"), keiner, keiner}},
      // A field rejected by its characters never reaches its value set.
      {"n", 4, "12a4", "1-50", {format, format, format}},
      // A date failing the calendar is still tested against its value set.
      {"d8",
       8,
       "31021999",
       "A,B",
       {wertebereich("'' :31021999"), wertebereich("'' :31021999"), wertebereich("'' :31021999")}},
      {"d8", 8, "31021999", "31021999", {format, format, format}},
      {"d8",
       8,
       "31121999",
       "31021999",
       {wertebereich("'' :31121999"), wertebereich("'' :31121999"), wertebereich("'' :31121999")}},
  };
  const std::array<const char*, 3> typen = {"m", "mk", ""};
  for (const Entscheidung& fall : tabelle) {
    for (std::size_t t = 0; t < typen.size(); ++t) {
      std::string definition =
          std::string(typen[t]) + "," + fall.art + ",1," + std::to_string(fall.laenge);
      if (fall.menge != nullptr) {
        definition += std::string(",") + fall.menge;
      }
      SCOPED_TRACE(definition + " holding '" + fall.inhalt + "'");
      const Befund befund = pruefeFeld(definition, fall.laenge, fall.inhalt);
      EXPECT_EQ(befund.nummer, fall.erwartet[t].nummer);
      EXPECT_EQ(befund.text, fall.erwartet[t].text);
    }
  }
}

TEST_F(TechnischePlausi, NamesTheValueSetAndShowsMessageBytesAsUtf8) {
  vesk::test::ladeDefinitionen(ordner, "[Wertemengen]\nSparten = 1, 2, 3\n");
  EXPECT_EQ(pruefeFeld("m,n,1,4,Sparten", 4, "0007").text, "'Sparten' :7");
  EXPECT_EQ(pruefeFeld("m,an,1,4,A,B", 4, "A\xE4  ").text, "'' :A\xC3\xA4");
  // A plain word that names no set is an inline set of that word, reported without a name.
  EXPECT_EQ(pruefeFeld("m,an,1,4,Sparte", 4, "X   ").text, "'' :X");
}

TEST_F(TechnischePlausi, CompletesEachFieldErrorWithIndexAndRecordType) {
  // Fields listed out of address order: numbering follows the definitions.
  const Vesk_Satzart satzart(
      "4100.1", Definitionen{",an,101,156", "m,n,1,4", ",an,5,46", ",n,51,10", "m,an,61,40"});
  const std::string satz = vesk::test::SatzBauer().setze(1, "0000").setze(51, "12345X").bytes();
  Vesk_FehlerListe liste;
  EXPECT_FALSE(satzart.pruefe(alsBytes(satz), 0, liste));
  ASSERT_EQ(liste.gibGroesse(), 3U);
  const std::array<std::int32_t, 3> nummern = {10, 11, 10};
  const std::array<std::int32_t, 3> felder = {1, 3, 4};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const auto& fehler = dynamic_cast<const Vesk_DatenFeldFehler&>(liste.gibFehler(i));
    EXPECT_EQ(fehler.gibFehlerNummer(), nummern[i]);
    EXPECT_EQ(fehler.gibFeldNummer(), felder[i]);
    EXPECT_EQ(fehler.gibSatzart(), "4100.1");
    EXPECT_EQ(fehler.gibDatensatzNummer(), 0);
  }
  EXPECT_EQ(liste.gibFehler(1).gibBeschreibung(),
            "Technischer Fehler: Satzart: 4100.1 Feldnummer: 4; Falsches Format");
}

TEST_F(TechnischePlausi, ValueSetErrorLineKeepsTheBlankOfItsDescription) {
  const Vesk_Satzart satzart("4200", Definitionen{",an,1,1", "m,n,2,4,1-9", ",an,6,251"});
  const std::string satz = vesk::test::SatzBauer().setze(2, "0012").bytes();
  Vesk_FehlerListe liste;
  static_cast<void>(satzart.pruefe(alsBytes(satz), 0, liste));
  ASSERT_EQ(liste.gibGroesse(), 1U);
  EXPECT_EQ(liste.gibFehler(0).gibBeschreibung(),
            "Technischer Fehler: Satzart: 4200 Feldnummer: 2; Nicht in Wertemenge:   '' :12");
}

// A message of header, one data record and trailer, checked as a whole.
class TechnischePlausiMeldung : public vesk::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    vesk::test::ladeDefinitionen(ordner,
                                 "[Wertemengen]\nSparten = 1 - 9\n"
                                 "[4001]\nSatzart = m, n, 1, 4\nSendeart = m, an, 5, 2\n"
                                 "Rest = , an, 7, 250\n"
                                 "[4100]\nSatzart = m, n, 1, 4\nSparte = m, n, 5, 1, Sparten\n"
                                 "Name = , an, 6, 20\nRest = , an, 26, 231\n"
                                 "[4999]\nSatzart = m, n, 1, 4\nAnzahl = m, n, 5, 8\n"
                                 "Rest = , an, 13, 244\n");
  }

  // Splits `bytes` into the records named by their first four bytes.
  [[nodiscard]] Vesk_Meldung zerlege(const std::string& bytes) const {
    Vesk_Meldung meldung;
    for (std::size_t start = 0; start + 256 <= bytes.size(); start += 256) {
      const std::string name = bytes.substr(start, 4);
      meldung.satzAnfuegen(name, Vesk_SatzartenFabrik::gibSatzart(name), alsBytes(bytes), start);
    }
    return meldung;
  }
};

TEST_F(TechnischePlausiMeldung, ReportsInRecordOrderThenFieldOrder) {
  const std::string nachricht =
      vesk::test::NachrichtenBauer()
          .satz(vesk::test::SatzBauer("4001").setze(5, " 1"))
          .satz(vesk::test::SatzBauer("4100").setze(5, "0").setze(6, " X"))
          .satz(vesk::test::SatzBauer("4999").setze(5, "0000000A"))
          .bytes();
  const Vesk_Meldung meldung = zerlege(nachricht);
  Vesk_FehlerListe liste;
  EXPECT_FALSE(Vesk_TechnischePlausi().pruefeDatensaetze(meldung, liste));
  std::vector<std::string> zeilen;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    zeilen.push_back(liste.gibFehler(i).gibBeschreibung());
  }
  EXPECT_EQ(zeilen, (std::vector<std::string>{
                        "Technischer Fehler: Satzart: 4001 Feldnummer: 2; Falsches Format",
                        "Technischer Fehler: Satzart: 4100 Feldnummer: 2; Nicht in Wertemenge:   "
                        "'Sparten' :",
                        "Technischer Fehler: Satzart: 4100 Feldnummer: 3; Falsches Format",
                        "Technischer Fehler: Satzart: 4999 Feldnummer: 2; Falsches Format",
                    }));
}

TEST_F(TechnischePlausiMeldung, WellFormedMessageGivesNoErrors) {
  const std::string nachricht = vesk::test::NachrichtenBauer()
                                    .satz(vesk::test::SatzBauer("4001").setze(5, "01"))
                                    .satz(vesk::test::SatzBauer("4100").setze(5, "7"))
                                    .satz(vesk::test::SatzBauer("4999").setze(5, "00000001"))
                                    .bytes();
  Vesk_FehlerListe liste;
  EXPECT_TRUE(Vesk_TechnischePlausi().pruefeDatensaetze(zerlege(nachricht), liste));
  EXPECT_EQ(liste.gibGroesse(), 0U);
}

// A message large enough to be split across threads, with findings of several kinds spread over
// its records: the list is the one a single thread gives, entry for entry, with record indexes.
TEST_F(TechnischePlausiMeldung, LargeMessageGivesTheSameFindingsOnManyThreads) {
  vesk::test::NachrichtenBauer bauer;
  bauer.satz(vesk::test::SatzBauer("4001").setze(5, "01"));
  const std::size_t anzahl = 3 * Vesk_TechnischePlausi::SAETZE_FUER_FAEDEN + 17;
  for (std::size_t i = 0; i < anzahl; ++i) {
    const char* sparte = i % 97 == 0 ? "0" : (i % 89 == 0 ? "X" : "7");
    bauer.satz(vesk::test::SatzBauer("4100").setze(5, sparte).setze(6, i % 101 == 0 ? " Y" : ""));
  }
  bauer.satz(vesk::test::SatzBauer("4999").setze(5, "00000001"));
  const std::string nachricht = bauer.bytes();
  const Vesk_Meldung meldung = zerlege(nachricht);
  const auto zeilen = [&](unsigned faeden) {
    Vesk_FehlerListe liste;
    static_cast<void>(Vesk_TechnischePlausi().pruefeDatensaetze(meldung, liste, faeden));
    std::vector<std::string> ergebnis;
    for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
      ergebnis.push_back(std::to_string(liste.gibFehler(i).gibDatensatzNummer()) + " " +
                         Vesk_FehlerListe::protokollZeile(liste.gibFehler(i)));
    }
    return ergebnis;
  };
  const std::vector<std::string> einFaden = zeilen(1);
  EXPECT_GT(einFaden.size(), 500U);
  EXPECT_EQ(einFaden.front(), "1 Technisch,12,4100,1,Nicht in Wertemenge: ,'Sparten' :");
  for (const unsigned faeden : {2U, 3U, 8U}) {
    EXPECT_EQ(zeilen(faeden), einFaden) << faeden << " threads";
  }
}

}  // namespace
