#include "config/Vesk_Satzart.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "fields/MeldungsText.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "tests/support/Registry.h"

namespace {

using vesk::test::Ausnahme;
using vesk::test::AusnahmeKlasse;
using vesk::test::fangeAusnahme;
using Definitionen = std::vector<std::string>;

// A record type "4100" made of `definition` and a filler field over bytes 5 to 256.
Definitionen mitFueller(const std::string& definition) {
  return {definition, ",an,5,252"};
}

class Satzart : public vesk::test::RegistryTest {};
class SatzartenFabrik : public vesk::test::RegistryTest {};

// --- Field definitions that parse -----------------------------------------------------------

struct GueltigeDefinition {
  const char* definition;
  std::int32_t feldTyp;
  std::int32_t adresse;  // 0-based
  std::int32_t anzahlBytes;
  bool mitWerteMenge;
};

class DatenFeldDefinition : public vesk::test::RegistryTest,
                            public ::testing::WithParamInterface<GueltigeDefinition> {};

TEST_P(DatenFeldDefinition, StoresTypeAddressAndLength) {
  const GueltigeDefinition& fall = GetParam();
  const Vesk_DatenFeld feld(fall.definition);
  EXPECT_EQ(feld.gibFeldTyp(), fall.feldTyp);
  EXPECT_EQ(feld.gibAdresse(), fall.adresse);
  EXPECT_EQ(feld.gibAnzahlBytes(), fall.anzahlBytes);
  EXPECT_EQ(feld.gibWerteMenge() != nullptr, fall.mitWerteMenge);
}

INSTANTIATE_TEST_SUITE_P(
    Definitionen, DatenFeldDefinition,
    ::testing::Values(GueltigeDefinition{"m,n,1,4", Vesk_DatenFeld::MUSS, 0, 4, false},
                      GueltigeDefinition{"mk,an,5,20", Vesk_DatenFeld::MUSS_KANN, 4, 20, false},
                      GueltigeDefinition{",d8,33,8", Vesk_DatenFeld::KANN, 32, 8, false},
                      GueltigeDefinition{"m , n , 1 , 4", Vesk_DatenFeld::MUSS, 0, 4, false},
                      GueltigeDefinition{"\tm,\tu6, 2 5 0,\t6", Vesk_DatenFeld::MUSS, 249, 6,
                                         false},
                      GueltigeDefinition{"m k,d6,1,6", Vesk_DatenFeld::MUSS_KANN, 0, 6, false},
                      GueltigeDefinition{",an,5,3,A,B,C", Vesk_DatenFeld::KANN, 4, 3, true},
                      GueltigeDefinition{",n,256,1", Vesk_DatenFeld::KANN, 255, 1, false},
                      GueltigeDefinition{",n,257,0", Vesk_DatenFeld::KANN, 256, 0, false},
                      GueltigeDefinition{",an,10,-5", Vesk_DatenFeld::KANN, 9, -5, false}));

TEST_F(Satzart, InlineValueSetTakesEverythingAfterTheFourthComma) {
  const Vesk_DatenFeld feld(" , an , 5 , 3 , A , B C ,D");
  const Vesk_WerteMenge* menge = feld.gibWerteMenge();
  ASSERT_NE(menge, nullptr);
  EXPECT_EQ(menge->gibBezeichner(), "");
  EXPECT_TRUE(menge->inDerMenge(vesk::MeldungsText("A")));
  EXPECT_TRUE(menge->inDerMenge(vesk::MeldungsText("BC")));
  EXPECT_TRUE(menge->inDerMenge(vesk::MeldungsText("D")));
  EXPECT_FALSE(menge->inDerMenge(vesk::MeldungsText("")));
}

TEST_F(Satzart, TrailingCommaGivesASetHoldingOnlyTheEmptyValue) {
  const Vesk_DatenFeld feld("m,n,1,4,");
  const Vesk_WerteMenge* menge = feld.gibWerteMenge();
  ASSERT_NE(menge, nullptr);
  EXPECT_TRUE(menge->inDerMenge(vesk::MeldungsText("")));
  EXPECT_FALSE(menge->inDerMenge(vesk::MeldungsText("0")));
}

TEST_F(Satzart, NamedValueSetIsTheRegistrysSet) {
  vesk::test::ladeDefinitionen(ordner, "[Wertemengen]\nSparten = 1 - 9\n");
  const Vesk_DatenFeld feld(",n,25,8,Sparten");
  EXPECT_EQ(feld.gibWerteMenge(), Vesk_WertemengenFabrik::gibWerteMenge("Sparten"));
}

// --- Faulty field definitions -------------------------------------------------------------

struct FehlerhafteDefinition {
  const char* definition;
  AusnahmeKlasse klasse;
  const char* text;  // the bare text; the record type "4100" becomes the group
};

class DatenFeldDefinitionFehler : public vesk::test::RegistryTest,
                                  public ::testing::WithParamInterface<FehlerhafteDefinition> {};

TEST_P(DatenFeldDefinitionFehler, IsThrownWithTheRecordTypeAsGroup) {
  const FehlerhafteDefinition& fall = GetParam();
  const std::optional<Ausnahme> ausnahme =
      fangeAusnahme([&] { Vesk_Satzart("4100", mitFueller(fall.definition)); });
  ASSERT_TRUE(ausnahme.has_value());
  EXPECT_EQ(ausnahme->klasse, fall.klasse);
  EXPECT_EQ(ausnahme->beschreibung, fall.text);
  EXPECT_EQ(ausnahme->gruppe, "4100");
  const std::string datei =
      fall.klasse == AusnahmeKlasse::StrukturDatei ? "Strukturdatei" : "Datensatzdatei";
  EXPECT_EQ(ausnahme->text, datei + ",4100:" + fall.text);
}

constexpr AusnahmeKlasse datensatz = AusnahmeKlasse::DatensatzDatei;
constexpr AusnahmeKlasse struktur = AusnahmeKlasse::StrukturDatei;

INSTANTIATE_TEST_SUITE_P(
    Parameter, DatenFeldDefinitionFehler,
    ::testing::Values(
        FehlerhafteDefinition{"m,n,1", datensatz, "Zu wengig Parameter in m,n,1"},
        FehlerhafteDefinition{" m , n , 1 ", datensatz, "Zu wengig Parameter in  m , n , 1 "},
        FehlerhafteDefinition{"m", datensatz, "Zu wengig Parameter in m"},
        // A fault of an earlier parameter comes before the count of parameters.
        FehlerhafteDefinition{"x,n", datensatz, "Nicht erlaubter Feldtyp x(erlaubt:m,mk)"},
        FehlerhafteDefinition{"m,n,", datensatz, "Ungueltiger Wert  (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"x,n,1,4", datensatz, "Nicht erlaubter Feldtyp x(erlaubt:m,mk)"},
        FehlerhafteDefinition{"M,n,1,4", datensatz, "Nicht erlaubter Feldtyp M(erlaubt:m,mk)"},
        FehlerhafteDefinition{"m,N,1,4", datensatz, "Unbekannter Datentyp:N"},
        FehlerhafteDefinition{"m,,1,4", datensatz, "Unbekannter Datentyp:"},
        FehlerhafteDefinition{"m,n,abc,4", datensatz,
                              "Ungueltiger Wert abc (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,+1,4", datensatz,
                              "Ungueltiger Wert +1 (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,,4", datensatz, "Ungueltiger Wert  (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,1,4x", datensatz,
                              "Ungueltiger Wert 4x (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,1,", datensatz, "Ungueltiger Wert  (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,2147483648,4", datensatz,
                              "Ungueltiger Wert 2147483648 (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,1,4,1 - x", datensatz,
                              "Ungueltiger Wert 1-x (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,1,4,9-1", datensatz, "Falsche Ingervalldefinition 9 > 1"},
        // Addresses below 1: integer reading first, then the lower bound, then the upper one.
        FehlerhafteDefinition{"m,n,0,4", datensatz,
                              "Ungueltiger Wert 0 (Adresse muss mindestens 1 sein)"},
        FehlerhafteDefinition{"m,n,-5,4", datensatz,
                              "Ungueltiger Wert -5 (Adresse muss mindestens 1 sein)"},
        FehlerhafteDefinition{"m,n,-2147483648,4", datensatz,
                              "Ungueltiger Wert -2147483648 (Adresse muss mindestens 1 sein)"},
        FehlerhafteDefinition{"m,n,-0x,4", datensatz,
                              "Ungueltiger Wert -0x (nur ganze Zahlen erlaubt)"},
        FehlerhafteDefinition{"m,n,0,abc", datensatz,
                              "Ungueltiger Wert 0 (Adresse muss mindestens 1 sein)"},
        FehlerhafteDefinition{"m,n,300,4", struktur, "Adresse 299 > 256 "},
        FehlerhafteDefinition{"m,n,258,0", struktur, "Adresse 257 > 256 "},
        FehlerhafteDefinition{"m,n,2147483647,0", struktur, "Adresse 2147483646 > 256 "},
        FehlerhafteDefinition{"m,n,300,abc", struktur, "Adresse 299 > 256 "},
        FehlerhafteDefinition{"m,n,250,10", struktur, "Adresse + AnzahlBytes = 259 > 256"},
        FehlerhafteDefinition{"m,n,256,2", struktur, "Adresse + AnzahlBytes = 257 > 256"},
        FehlerhafteDefinition{"m,n,257,1", struktur, "Adresse + AnzahlBytes = 257 > 256"},
        // The sum must not wrap around into a small or negative number.
        FehlerhafteDefinition{"m,n,200,2147483647", struktur,
                              "Adresse + AnzahlBytes = 2147483846 > 256"}));

// --- Coverage of the 256 bytes --------------------------------------------------------------

TEST_F(Satzart, AcceptsFieldsInAnyOrderThatCoverEveryByteOnce) {
  const Vesk_Satzart satzart(
      "4100", Definitionen{"m,an,129,128", "m,n,1,4", ",n,257,0", ",an,5,124", ",an,100,-3"});
  EXPECT_EQ(satzart.gibBezeichner(), "4100");
  EXPECT_EQ(satzart.gibAnzahlFelder(), 5U);
}

struct Ueberdeckung {
  Definitionen definitionen;
  const char* text;
};

TEST_F(Satzart, ReportsTheFirstOverlappingByteOrTheMissingCoverage) {
  const std::vector<Ueberdeckung> faelle = {
      {{"m,n,1,4", ",an,5,251"},
       "Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4100"},
      {{",an,2,255"}, "Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4100"},
      {{}, "Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4100"},
      {{"m,n,1,4", "m,n,4,2", ",an,6,251"},
       "Ueberschneidung von Datenfeldern in Satzart 4100 im Byte 3"},
      // The first offending field is reported at its first shared byte, even when a later
      // field overlaps earlier bytes or the record is not covered at all.
      {{",an,1,10", ",an,20,237", ",an,5,20", ",an,1,1"},
       "Ueberschneidung von Datenfeldern in Satzart 4100 im Byte 4"},
      {{",an,256,1", ",an,256,1"}, "Ueberschneidung von Datenfeldern in Satzart 4100 im Byte 255"},
      // Fields are built and placed one by one, so a later faulty definition is not reached.
      {{",an,1,256", ",an,1,1", "x,n,1,1"},
       "Ueberschneidung von Datenfeldern in Satzart 4100 im Byte 0"},
  };
  for (const Ueberdeckung& fall : faelle) {
    SCOPED_TRACE(fall.text);
    const auto ausnahme = fangeAusnahme([&] { Vesk_Satzart("4100", fall.definitionen); });
    ASSERT_TRUE(ausnahme.has_value());
    EXPECT_EQ(ausnahme->klasse, AusnahmeKlasse::DatensatzDatei);
    EXPECT_EQ(ausnahme->text, std::string("Datensatzdatei,4100:") + fall.text);
  }
}

// --- Fields by number -----------------------------------------------------------------------

TEST_F(Satzart, NumbersFieldsFromOneInDefinitionOrder) {
  const Vesk_Satzart satzart("4001", Definitionen{",an,201,56", "m,n,1,4", ",an,5,196"});
  for (const std::int64_t n : {0, -1, 4, 1000}) {
    SCOPED_TRACE(n);
    EXPECT_EQ(satzart.gibDatenFeld(n), nullptr);
  }
  ASSERT_NE(satzart.gibDatenFeld(1), nullptr);
  EXPECT_EQ(satzart.gibDatenFeld(1)->gibAdresse(), 200);
  ASSERT_NE(satzart.gibDatenFeld(3), nullptr);
  EXPECT_EQ(satzart.gibDatenFeld(3)->gibAdresse(), 4);
  EXPECT_EQ(&satzart.gibBenoetigtesDatenFeld(2), satzart.gibDatenFeld(2));
}

TEST_F(Satzart, RequiredFieldBeyondTheLastIsAFaultOfTheRecordType) {
  const Vesk_Satzart satzart("4999", Definitionen{"m,n,1,4", ",an,5,252"});
  for (const std::int32_t n : {3, 0}) {
    SCOPED_TRACE(n);
    const auto ausnahme =
        fangeAusnahme([&] { static_cast<void>(satzart.gibBenoetigtesDatenFeld(n)); });
    ASSERT_TRUE(ausnahme.has_value());
    EXPECT_EQ(ausnahme->klasse, AusnahmeKlasse::DatensatzDatei);
    EXPECT_EQ(ausnahme->text,
              "Datensatzdatei,4999:Satzart 4999 hat kein Datenfeld " + std::to_string(n));
  }
}

// --- The registry ---------------------------------------------------------------------------

constexpr const char* definitionsDatei =
    "[Wertemengen]\n"
    "Sparten = 1 - 9\n"
    "[4001]\n"
    "Satzart = m, n, 1, 4\n"
    "Rest = , an, 5, 252, \n"
    "[4100.1]\n"
    "Satzart = m, n, 1, 4\n"
    "Sparte = , n, 5, 1, Sparten\n"
    "Rest = , an, 6, 251\n"
    "[4200]\n"
    "Satzart = m, n, 1, 4\n"
    "Luecke = , an, 6, 251\n"
    "[4300]\n"
    "Satzart = m, n, 1, 4\n"
    "Adresse = , an, 300, 1\n";

TEST_F(SatzartenFabrik, RefusesEveryRequestBeforeItIsInitialised) {
  for (const auto& anfrage :
       {+[] { static_cast<void>(Vesk_SatzartenFabrik::gibSatzart("4001")); },
        +[] { static_cast<void>(Vesk_SatzartenFabrik::sucheSatzart("4001")); },
        +[] { static_cast<void>(Vesk_SatzartenFabrik::gibVorsatz()); }}) {
    const auto ausnahme = fangeAusnahme(anfrage);
    ASSERT_TRUE(ausnahme.has_value());
    EXPECT_EQ(ausnahme->klasse, AusnahmeKlasse::Exception);
    EXPECT_EQ(ausnahme->text, "Programmierfehler: Satzartenfabrik nicht initialisiert");
  }
}

TEST_F(SatzartenFabrik, BuildsEachRecordTypeOnceOnFirstRequest) {
  vesk::test::ladeDefinitionen(ordner, definitionsDatei);
  const Vesk_Satzart& vorsatz = Vesk_SatzartenFabrik::gibVorsatz();
  EXPECT_EQ(vorsatz.gibBezeichner(), "4001");
  EXPECT_EQ(&Vesk_SatzartenFabrik::gibSatzart("4001"), &vorsatz);
  EXPECT_EQ(Vesk_SatzartenFabrik::sucheSatzart("4100.1"),
            &Vesk_SatzartenFabrik::gibSatzart("4100.1"));
  EXPECT_EQ(Vesk_SatzartenFabrik::gibSatzart("4100.1").gibDatenFeld(2)->gibWerteMenge(),
            Vesk_WertemengenFabrik::gibWerteMenge("Sparten"));
}

TEST_F(SatzartenFabrik, FailsAgainOnEveryRequestForAFaultyRecordType) {
  // The faulty types do not spoil loading the file or building the good ones.
  vesk::test::ladeDefinitionen(ordner, definitionsDatei);
  const std::vector<std::pair<const char*, const char*>> faelle = {
      {"4200",
       "Datensatzdatei,4200:Keine vollstaendige Ueberdeckung mit Datenfeldern in "
       "Satzart 4200"},
      {"4300", "Strukturdatei,4300:Adresse 299 > 256 "},
      {"4999", "Datensatzdatei,4999:Satzart 4999 nicht definiert"},
      {"4100", "Datensatzdatei,4100:Satzart 4100 nicht definiert"},
  };
  for (const auto& fall : faelle) {
    const std::string name = fall.first;
    SCOPED_TRACE(name);
    for (int versuch = 0; versuch < 2; ++versuch) {
      const auto ausnahme =
          fangeAusnahme([&] { static_cast<void>(Vesk_SatzartenFabrik::gibSatzart(name)); });
      ASSERT_TRUE(ausnahme.has_value());
      EXPECT_EQ(ausnahme->text, fall.second);
      EXPECT_EQ(ausnahme->gruppe, name);
    }
  }
  EXPECT_EQ(Vesk_SatzartenFabrik::gibSatzart("4001").gibAnzahlFelder(), 2U);
}

TEST_F(SatzartenFabrik, SearchGivesNullOnlyForARecordTypeWithoutGroup) {
  vesk::test::ladeDefinitionen(ordner, definitionsDatei);
  EXPECT_EQ(Vesk_SatzartenFabrik::sucheSatzart("4999"), nullptr);
  EXPECT_EQ(Vesk_SatzartenFabrik::sucheSatzart("4100"), nullptr);
  const auto ausnahme =
      fangeAusnahme([] { static_cast<void>(Vesk_SatzartenFabrik::sucheSatzart("4200")); });
  ASSERT_TRUE(ausnahme.has_value());
  EXPECT_EQ(ausnahme->klasse, AusnahmeKlasse::DatensatzDatei);
}

TEST_F(SatzartenFabrik, SecondInitialisationWithAnotherFileIsIgnored) {
  vesk::test::ladeDefinitionen(ordner, definitionsDatei);
  const IniFile andere(ordner.schreibe("andere.ini", "[4999]\nSatzart = m, n, 1, 256\n"));
  Vesk_SatzartenFabrik::initialisiere(andere);
  EXPECT_EQ(Vesk_SatzartenFabrik::sucheSatzart("4999"), nullptr);
  EXPECT_NE(Vesk_SatzartenFabrik::sucheSatzart("4001"), nullptr);
}

TEST_F(SatzartenFabrik, FileNameSetLaterAppearsInTheFaultsOfTheRegistry) {
  vesk::test::ladeDefinitionen(ordner, definitionsDatei);
  Vesk_DatensatzDateiException::setzeDateiname("satz.ini");
  Vesk_StrukturDateiException::setzeDateiname("struktur.ini");
  const auto luecke =
      fangeAusnahme([] { static_cast<void>(Vesk_SatzartenFabrik::gibSatzart("4200")); });
  const auto adresse =
      fangeAusnahme([] { static_cast<void>(Vesk_SatzartenFabrik::gibSatzart("4300")); });
  ASSERT_TRUE(luecke && adresse);
  EXPECT_EQ(luecke->text,
            "satz.ini,4200:Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart 4200");
  EXPECT_EQ(adresse->text, "struktur.ini,4300:Adresse 299 > 256 ");
}

}  // namespace
