#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_StrukturDateiException.h"
#include "fields/MeldungsText.h"
#include "structure/Vesk_NachrichtenFeld.h"
#include "structure/Vesk_NachrichtenTyp.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"
#include "tests/support/Registry.h"

namespace {

using Fabrik = Vesk_NachrichtenTypFabrik;

// Every record type covers its 256 bytes with one field; 4200 has only its first partial record,
// 4400 has a field beyond byte 256 and 4500 leaves its last byte uncovered.
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
[4200.1]
F = ,an,1,256
[4400]
F = m,an,300,4
[4500]
F = ,an,1,255
[4999]
F = ,an,1,256
)";

// The class and the printed text of what `aktion` throws, as "Klasse|toString()".
template <class Aktion>
std::string ausnahme(const Aktion& aktion) {
  try {
    aktion();
  } catch (const Vesk_StrukturDateiException& e) {
    return "Struktur|" + e.toString();
  } catch (const Vesk_DatensatzDateiException& e) {
    return "Datensatz|" + e.toString();
  } catch (const Vesk_Exception& e) {
    return "Exception|" + e.toString();
  }
  return "keine Ausnahme";
}

std::vector<std::string> satzartNamen(const Vesk_NachrichtenFeld& feld) {
  std::vector<const Vesk_Satzart*> satzarten;
  feld.fuelleSatzarten(satzarten);
  std::vector<std::string> namen;
  for (const Vesk_Satzart* satzart : satzarten) {
    namen.push_back(satzart->gibBezeichner());
  }
  return namen;
}

std::string sendeArtFehler(std::string_view sendeArt) {
  return ausnahme(
      [&] { static_cast<void>(Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText(sendeArt))); });
}

class Nachrichtentypen : public vesk::test::RegistryTest {
 protected:
  void ladeSatzarten() { vesk::test::ladeDefinitionen(ordner, DATENSAETZE); }
  void lade(std::string_view struktur) {
    vesk::test::ladeDefinitionen(ordner, DATENSAETZE, struktur);
  }
  IniFile strukturDatei(std::string_view text) const {
    return IniFile(ordner.schreibe("struktur.ini", text));
  }
};

struct Grammatik {
  const char* name;
  const char* beschreibung;
  std::int32_t anzahl;
  bool mindestens;
  bool hoechstens;
  std::int32_t teile;
  std::vector<std::string> satzarten;
};

TEST_F(Nachrichtentypen, ReadsCountRuleAndPartialRecordsFromTheDescription) {
  ladeSatzarten();
  const std::vector<std::string> einzeln = {"4100"};
  const std::vector<std::string> drei = {"4100.1", "4100.2", "4100.3"};
  const std::vector<Grammatik> faelle = {
      {"4100", "1", 1, false, false, 1, einzeln},
      {"4100", "2+", 2, true, false, 1, einzeln},
      {"4100", "3-", 3, false, true, 1, einzeln},
      {"4100", "0+", 0, true, false, 1, einzeln},
      {"4100", "007", 7, false, false, 1, einzeln},
      {"4100", "1,3", 1, false, false, 3, drei},
      {"4100", "1+2", 1, true, false, 2, {"4100.1", "4100.2"}},
      {"4100", "3-2", 3, false, true, 2, {"4100.1", "4100.2"}},
      {"4100", "+2", 2, false, false, 1, einzeln},
      {"4100", " 1 ,\t3 ", 1, false, false, 3, drei},
      {"4100", "2+-3", 2, true, false, 3, drei},
      {"4100", "1,,3", 1, false, false, 3, drei},
      {"4100", "1,", 1, false, false, 1, einzeln},
      {"4100", "1,1", 1, false, false, 1, einzeln},
      // No partial records: nothing is looked up, so an undefined record type passes.
      {"4700", "1,0", 1, false, false, 0, {}},
  };
  for (const Grammatik& fall : faelle) {
    SCOPED_TRACE(std::string("Beschreibung \"") + fall.beschreibung + "\"");
    const Vesk_NachrichtenFeld feld(fall.name, fall.beschreibung);
    EXPECT_EQ(feld.gibBezeichner(), fall.name);
    EXPECT_EQ(feld.gibMindestAnzahl(), fall.anzahl);
    EXPECT_EQ(feld.gibMindestens(), fall.mindestens);
    EXPECT_EQ(feld.gibHoechstens(), fall.hoechstens);
    EXPECT_EQ(feld.gibAnzahlTeilDatensaetze(), fall.teile);
    EXPECT_EQ(satzartNamen(feld), fall.satzarten);
  }
}

TEST_F(Nachrichtentypen, RejectsFaultyDescriptionsOfASingleField) {
  ladeSatzarten();
  struct Fall {
    const char* beschreibung;
    const char* erwartet;
  };
  const std::vector<Fall> faelle = {
      {"", "Struktur|Strukturdatei:Nachrichtenfeld 4100 nicht beschrieben"},
      // Only an INI value is trimmed; handed over directly, blanks are a description without count.
      {" \t ", "Struktur|Strukturdatei,4100:4100: Keine Anzahl fuer Satzarten spezifiziert"},
      {"x", "Struktur|Strukturdatei:Angabe x keine gueltige ganze Zahl."},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(std::string("Beschreibung \"") + fall.beschreibung + "\"");
    EXPECT_EQ(ausnahme([&] { static_cast<void>(Vesk_NachrichtenFeld("4100", fall.beschreibung)); }),
              fall.erwartet);
  }
}

TEST_F(Nachrichtentypen, ReportsEveryFaultOfTheStructureFile) {
  const std::string kopf = "[Nachrichtentypen]\nTyp = 01\n[Typ]\n4001 = 1\n";
  struct Fall {
    std::string struktur;
    const char* erwartet;
  };
  const std::vector<Fall> faelle = {
      {"[Andere]\nx = 1\n", "Struktur|Strukturdatei:Gruppe [Nachrichtentypen] fehlt fehlt"},
      {"[Nachrichtentypen]\n[Typ]\n4001 = 1\n",
       "Struktur|Strukturdatei:Gruppe [Nachrichtentypen] fehlt fehlt"},
      {"[Nachrichtentypen]\nTyp = 01\n",
       "Struktur|Strukturdatei:Nachrichtentyp Typ nicht gefunden"},
      {"[Nachrichtentypen]\nTyp = \t \n[Typ]\n4001 = 1\n",
       "Struktur|Strukturdatei:Typ : keine Sendeart angegeben"},
      // A missing group is reported before an empty Sendeart.
      {"[Nachrichtentypen]\nTyp =\n", "Struktur|Strukturdatei:Nachrichtentyp Typ nicht gefunden"},
      {kopf + "4100 =\n", "Struktur|Strukturdatei,Typ:Nachrichtenfeld 4100 nicht beschrieben"},
      // The INI store trims values, so blanks alone arrive as an empty description.
      {kopf + "4100 =  \t \n", "Struktur|Strukturdatei,Typ:Nachrichtenfeld 4100 nicht beschrieben"},
      {kopf + "4100 = +\n",
       "Struktur|Strukturdatei,Typ:4100: Keine Anzahl fuer Satzarten spezifiziert"},
      {kopf + "4100 = ,2\n", "Struktur|Strukturdatei,Typ:Angabe ,2 keine gueltige ganze Zahl."},
      {kopf + "4100 = x\n", "Struktur|Strukturdatei,Typ:Angabe x keine gueltige ganze Zahl."},
      {kopf + "4100 = 1, 2x\n",
       "Struktur|Strukturdatei,Typ:Angabe 1, 2x keine gueltige ganze Zahl."},
      {kopf + "4100 = 2147483648\n",
       "Struktur|Strukturdatei,Typ:Angabe 2147483648 keine gueltige ganze Zahl."},
      {kopf + "4100 = 1,2147483648\n",
       "Struktur|Strukturdatei,Typ:Angabe 1,2147483648 keine gueltige ganze Zahl."},
      {kopf + "4300 = 1\n",
       "Struktur|Strukturdatei,Typ:Satzart 4300 nicht in der Datensatzdefinitions-Datei definiert"},
      {kopf + "4200 = 1,2\n",
       "Struktur|Strukturdatei,Typ:Satzart 4200 nicht in der Datensatzdefinitions-Datei definiert"},
      // Faults of a record type's definition pass through; a structure-file one takes the type.
      {kopf + "4400 = 1\n", "Struktur|Strukturdatei,Typ:Adresse 299 > 256 "},
      {kopf + "4500 = 1\n",
       "Datensatz|Datensatzdatei,4500:Keine vollstaendige Ueberdeckung mit Datenfeldern in "
       "Satzart 4500"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.struktur);
    vesk::test::setzeRegistrysZurueck();
    EXPECT_EQ(ausnahme([&] { lade(fall.struktur); }), fall.erwartet);
  }
}

TEST_F(Nachrichtentypen, NamesTheTypeWhoseFieldFailsAndKeepsTheTypesBeforeIt) {
  EXPECT_EQ(ausnahme([&] {
              lade(
                  "[Nachrichtentypen]\nErster = 01\nZweiter = 02\n[Erster]\n4001 = 1\n"
                  "[Zweiter]\n4001 = 1\n4100 = 1,9\n");
            }),
            "Struktur|Strukturdatei,Zweiter:Satzart 4100 nicht in der "
            "Datensatzdefinitions-Datei definiert");
  EXPECT_EQ(&Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText("01")),
            &Fabrik::gibNachrichtenTyp("Erster"));
  EXPECT_EQ(sendeArtFehler("02"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart 02 nicht "
            "definiert");
}

TEST_F(Nachrichtentypen, KeepsTheFieldsOfATypeInFileOrder) {
  lade("[Nachrichtentypen]\nTyp = 01\n[Typ]\n4001 = 1\n4100 = 1,3\n4999 = 1\n");
  const Vesk_NachrichtenTyp& typ = Fabrik::gibNachrichtenTyp("Typ");
  EXPECT_EQ(typ.gibBezeichner(), "Typ");
  ASSERT_EQ(typ.gibAnzahlFelder(), 3);
  EXPECT_EQ(typ.gibFeldNr(0)->gibBezeichner(), "4001");
  EXPECT_EQ(typ.gibFeldNr(1)->gibAnzahlTeilDatensaetze(), 3);
  EXPECT_EQ(typ.gibFeldNr(2)->gibBezeichner(), "4999");
  EXPECT_EQ(typ.gibFeldNr(typ.gibAnzahlFelder()), nullptr);
  EXPECT_EQ(typ.gibFeldNr(-1), nullptr);
}

TEST_F(Nachrichtentypen, RegistersTheTrimmedSendeartAndLooksItUpExactly) {
  ladeSatzarten();
  IniFile struktur = strukturDatei("[Nachrichtentypen]\nTyp = 01\n[Typ]\n4001 = 1\n");
  // Values read from a file arrive trimmed; one set afterwards keeps its blanks.
  struktur.setValue("Nachrichtentypen", "Typ", " 01\t");
  Fabrik::initialisiere(struktur);
  EXPECT_EQ(&Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText("01")),
            &Fabrik::gibNachrichtenTyp("Typ"));
  EXPECT_EQ(sendeArtFehler(" 01"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart  01 nicht definiert");
  EXPECT_EQ(sendeArtFehler(""),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart  nicht definiert");
}

TEST_F(Nachrichtentypen, LetsTheLaterTypeWinASharedSendeart) {
  lade("[Nachrichtentypen]\nA = 01\nB = 01\n[A]\n4001 = 1\n[B]\n4999 = 1\n");
  const Vesk_NachrichtenTyp& typ = Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText("01"));
  EXPECT_EQ(typ.gibBezeichner(), "B");
  EXPECT_EQ(Fabrik::gibNachrichtenTyp("A").gibBezeichner(), "A");
}

TEST_F(Nachrichtentypen, BuildsAnUnlistedTypeOnRequestButNeverBySendeart) {
  lade(
      "[Nachrichtentypen]\nA = 01\n[A]\n4001 = 1\n[Extra]\n4001 = 1\n4999 = 1\n"
      "[Kaputt]\n4300 = 1\n");
  const Vesk_NachrichtenTyp& extra = Fabrik::gibNachrichtenTyp("Extra");
  EXPECT_EQ(extra.gibAnzahlFelder(), 2);
  EXPECT_EQ(&Fabrik::gibNachrichtenTyp("Extra"), &extra);
  EXPECT_EQ(sendeArtFehler("Extra"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart Extra nicht definiert");
  EXPECT_EQ(Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText("01")).gibBezeichner(), "A");
  // An unlisted group is read only when asked for, so its faults show only then.
  EXPECT_EQ(ausnahme([] { static_cast<void>(Fabrik::gibNachrichtenTyp("Kaputt")); }),
            "Struktur|Strukturdatei,Kaputt:Satzart 4300 nicht in der "
            "Datensatzdefinitions-Datei definiert");
  EXPECT_EQ(ausnahme([] { static_cast<void>(Fabrik::gibNachrichtenTyp("Fehlt")); }),
            "Struktur|Strukturdatei:Nachrichtentyp Fehlt nicht gefunden");
}

TEST_F(Nachrichtentypen, IgnoresASecondInitialisation) {
  lade("[Nachrichtentypen]\nA = 01\n[A]\n4001 = 1\n");
  Fabrik::initialisiere(strukturDatei("[Nachrichtentypen]\nB = 02\n[B]\n4001 = 1\n"));
  EXPECT_EQ(Fabrik::gibNachrichtenTypSendeArt(vesk::MeldungsText("01")).gibBezeichner(), "A");
  EXPECT_EQ(sendeArtFehler("02"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart 02 nicht definiert");
  EXPECT_EQ(ausnahme([] { static_cast<void>(Fabrik::gibNachrichtenTyp("B")); }),
            "Struktur|Strukturdatei:Nachrichtentyp B nicht gefunden");
}

TEST_F(Nachrichtentypen, RefusesLookupsBeforeInitialisation) {
  const std::string erwartet =
      "Exception|Programmierfehler: NachrichtenTypFabrik nicht initialisiert";
  EXPECT_EQ(ausnahme([] { static_cast<void>(Fabrik::gibNachrichtenTyp("Schadenmeldung")); }),
            erwartet);
  EXPECT_EQ(sendeArtFehler("01"), erwartet);
}

TEST_F(Nachrichtentypen, NeverMatchesAMessageByteAbove0x7F) {
  // The file holds the Sendeart "ä" in UTF-8 (C3 A4) and one as the single byte E4.
  lade("[Nachrichtentypen]\nUtf = \xC3\xA4\nLatin = \xE4\n[Utf]\n4001 = 1\n[Latin]\n4001 = 1\n");
  EXPECT_EQ(sendeArtFehler("\xE4"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart \xC3\xA4 nicht definiert");
  EXPECT_EQ(sendeArtFehler("\xC3\xA4"),
            "Struktur|Strukturdatei:Nachrichtentyp nach Sendeart \xC3\x83\xC2\xA4 nicht definiert");
}

}  // namespace
