#include "driver/Vesk_Plausipruefung.h"

#include <cstddef>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_StrukturDateiException.h"
#include "errors/Vesk_Fehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

using vesk::test::NachrichtenBauer;
using vesk::test::SatzBauer;

constexpr std::string_view WERTEMENGEN = "[Wertemengen]\nZiffern = 0 - 9\n";

constexpr std::string_view VORSATZ = R"(
[4001]
Satzart  = m, n, 1, 4
Sendeart = m, an, 5, 2
Rest     =  , an, 7, 250
)";

// The attachment length is field 12, an alphanumeric field so that it keeps a minus sign.
constexpr std::string_view ANHANG = R"(
[4900]
Satzart = m, n, 1, 4
F2      =  , an, 5, 1
F3      =  , an, 6, 1
F4      =  , an, 7, 1
F5      =  , an, 8, 1
F6      =  , an, 9, 1
F7      =  , an, 10, 1
F8      =  , an, 11, 1
F9      =  , an, 12, 1
F10     =  , an, 13, 1
F11     =  , an, 14, 1
Laenge  = m, an, 15, 10
Rest    =  , an, 25, 232
)";

constexpr std::string_view NACHSATZ = R"(
[4999]
Satzart = m, n, 1, 4
Anzahl  = m, n, 5, 10
Rest    =  , an, 15, 242
)";

// 4300 overlaps itself and is named by no message type, so only a message meets it; 4100.a has
// a partial-record character that is no number.
constexpr std::string_view DATENSAETZE = R"(
[4100.1]
Satzart = m, n, 1, 4
Text    =  , an, 5, 62
Teil    = m, n, 67, 1
Rest    =  , an, 68, 189

[4100.2]
Satzart = m, n, 1, 4
Text    =  , an, 5, 62
Teil    = m, n, 67, 1
Rest    =  , an, 68, 189

[4100.a]
Alles = , an, 1, 256

[4200]
Satzart = m, n, 1, 4
Datum   =  , d8, 5, 8
Rest    =  , an, 13, 244

[4300]
Anfang = , an, 1, 10
Ende   = , an, 5, 252
)";

constexpr std::string_view STRUKTUR = R"([Nachrichtentypen]
Schadenmeldung = 01
Anfrage        = 02

[Schadenmeldung]
4001 = 1
4100 = 1,2
4200 = 0+
4999 = 1

[Anfrage]
4001 = 1
4200 = 1+
4900 = 1-
4999 = 1

[muss-kann-Plausis]
Regel1 = aus
Regel2 = aus
)";

constexpr std::string_view EINZELFELD = "Alles = , an, 1, 256\n";

std::string datensaetze(std::string_view vorsatz = VORSATZ, std::string_view anhang = ANHANG,
                        std::string_view nachsatz = NACHSATZ) {
  return std::string(WERTEMENGEN) + std::string(vorsatz) + std::string(anhang) +
         std::string(nachsatz) + std::string(DATENSAETZE);
}

SatzBauer vorsatz(std::string_view sendeArt = "02") {
  return SatzBauer("4001").setze(5, sendeArt);
}
SatzBauer nachsatz(std::string_view anzahl) {
  return SatzBauer("4999").setze(5, anzahl);
}
SatzBauer anhang(std::string_view laenge) {
  return SatzBauer("4900").setze(15, laenge);
}
SatzBauer fahrzeug(std::string_view datum = "") {
  return SatzBauer("4200").setze(5, datum);
}

// One finding in a form that shows all its parts: number, record type, record number, text.
std::string beschreibe(const Vesk_Fehler& fehler) {
  std::string text = std::to_string(fehler.gibFehlerNummer()) + " [" +
                     fehler.gibSatzart().value_or("-") + "] #" +
                     std::to_string(fehler.gibDatensatzNummer());
  if (fehler.gibErklaerendenText()) {
    text += " '" + *fehler.gibErklaerendenText() + "'";
  }
  return text;
}

std::vector<std::string> beschreibe(const Vesk_FehlerListe& liste) {
  std::vector<std::string> texte;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    texte.push_back(beschreibe(liste.gibFehler(i)));
  }
  return texte;
}

std::vector<int> nummern(const Vesk_FehlerListe& liste) {
  std::vector<int> werte;
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    werte.push_back(liste.gibFehler(i).gibFehlerNummer());
  }
  return werte;
}

// What a call throws as the driver would print it; fails the test when it throws nothing.
template <class Ausnahme, class Aufruf>
std::string ausnahmeText(Aufruf&& aufruf) {
  try {
    aufruf();
  } catch (const Ausnahme& e) {
    return e.toString();
  }
  ADD_FAILURE() << "no exception";
  return {};
}

// Keeps what the checks print on standard output.
class Mitschnitt {
 public:
  Mitschnitt() : alt(std::cout.rdbuf(text.rdbuf())) {}
  ~Mitschnitt() { std::cout.rdbuf(alt); }
  Mitschnitt(const Mitschnitt&) = delete;
  Mitschnitt& operator=(const Mitschnitt&) = delete;
  [[nodiscard]] std::string gibText() const { return text.str(); }

 private:
  std::ostringstream text;
  std::streambuf* alt;
};

class PlausipruefungTest : public vesk::test::RegistryTest {
 protected:
  // Writes both definition files and loads them as the driver does.
  Vesk_Plausipruefung lade(const std::string& datensatzText = datensaetze(),
                           std::string_view strukturText = STRUKTUR) {
    strukturDatei = ordner.schreibe("struktur.ini", strukturText);
    datensatzDatei = ordner.schreibe("datensaetze.ini", datensatzText);
    return {strukturDatei, datensatzDatei};
  }

  static Vesk_FehlerListe pruefe(const Vesk_Plausipruefung& pruefung, const std::string& bytes) {
    const std::vector<unsigned char> nachricht(bytes.begin(), bytes.end());
    Mitschnitt stumm;
    return pruefung.pruefe(nachricht);
  }

  std::string strukturDatei;
  std::string datensatzDatei;
};

struct RahmenFall {
  const char* name;
  std::string nachricht;
  std::vector<std::string> befunde;
  std::optional<std::string> nachrichtenTyp = "Anfrage";
};

// Names a case in test listings instead of dumping its bytes.
void PrintTo(const RahmenFall& fall, std::ostream* aus) {
  *aus << fall.name;
}

std::vector<RahmenFall> rahmenFaelle() {
  const auto kopfUndFuss = [](std::string_view anzahl) {
    return NachrichtenBauer().satz(vorsatz()).satz(nachsatz(anzahl)).bytes();
  };
  const auto mitAnhang = [](std::string_view laenge) {
    return NachrichtenBauer()
        .satz(vorsatz())
        .satz(fahrzeug())
        .satz(anhang(laenge))
        .satz(nachsatz("0000000002"))
        .bytes();
  };
  return {
      {"Laenge511",
       kopfUndFuss("0000000001").substr(0, 511),
       {"27 [-] #0 'Nachrichtenl\xC3\xA4nge < 512 Byte'"},
       std::nullopt},
      {"VorsatzFehlt",
       NachrichtenBauer().satz(SatzBauer("4002").setze(5, "02")).satz(nachsatz("x")).bytes(),
       {"30 [4001] #0"},
       std::nullopt},
      {"NachsatzFehlt",
       NachrichtenBauer().satz(vorsatz()).satz(fahrzeug()).satz(SatzBauer("4998")).bytes(),
       {"31 [4999] #0"}},
      {"AnzahlNull", kopfUndFuss("0000000000"), {"29 [4999] #0"}},
      {"AnzahlKeineZahl", kopfUndFuss("abc"), {"29 [4999] #0"}},
      {"AnzahlMitBuchstabenAmEnde",
       NachrichtenBauer().satz(vorsatz()).satz(fahrzeug()).satz(nachsatz("00000012ab")).bytes(),
       {"29 [-] #0 'Gelesene Datensatzzahl: 1, Datensaetze laut Nachsatz:12'",
        "27 [-] #0 'Tatsaechliche Nachrichtenlaenge: 768, Erwarete Nachrichtenlaenge: 3584'"}},
      {"NurKopfUndFuss",
       kopfUndFuss("0000000001"),
       {"29 [-] #0 'Gelesene Datensatzzahl: 0, Datensaetze laut Nachsatz:1'",
        "27 [-] #0 'Tatsaechliche Nachrichtenlaenge: 512, Erwarete Nachrichtenlaenge: 768'"}},
      {"AnzahlRiesig",
       NachrichtenBauer().satz(vorsatz()).satz(fahrzeug()).satz(nachsatz("2147483647")).bytes(),
       {"29 [-] #0 'Gelesene Datensatzzahl: 1, Datensaetze laut Nachsatz:2147483647'",
        "27 [-] #0 'Tatsaechliche Nachrichtenlaenge: 768, Erwarete Nachrichtenlaenge: "
        "549755814144'"}},
      {"LaengeUngleichAnzahl1000Byte",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(fahrzeug())
           .anhang(232)
           .satz(nachsatz("0000000001"))
           .bytes(),
       {"27 [-] #0 'Tatsaechliche Nachrichtenlaenge: 1000, Erwarete Nachrichtenlaenge: 768'"}},
      {"SatzartUnbekannt",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(fahrzeug())
           .satz(SatzBauer("4711"))
           .satz(nachsatz("0000000002"))
           .bytes(),
       {"33 [-] #2 ' Unbekannte Satzart: 4711. '"}},
      {"SatzartUnbekanntAuchMitTeilsatz",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(fahrzeug())
           .satz(SatzBauer("4711").setze(67, "x"))
           .satz(nachsatz("0000000002"))
           .bytes(),
       {"33 [-] #2 ' Unbekannte Satzart: 4711.x'"}},
      {"SatzartFehlerhaftDefiniert",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(SatzBauer("4300"))
           .satz(nachsatz("0000000001"))
           .bytes(),
       {"33 [-] #1 ' Unbekannte Satzart: 4300. '"}},
      {"AnhangLaengeKeineZahl",
       mitAnhang("30O"),
       {"32 [-] #0 'Datenformat der Anhanglaenge ungueltig'"}},
      {"AnhangLaengeNegativ",
       mitAnhang("-300"),
       {"32 [-] #0 'Datenformat der Anhanglaenge ungueltig'"}},
      {"AnhangLaengeUeber32Bit",
       mitAnhang("2147483648"),
       {"32 [-] #0 'Datenformat der Anhanglaenge ungueltig'"}},
      {"AnzahlNegativNumerisch", kopfUndFuss("-2147483648"), {"29 [4999] #0"}},
      {"AnzahlUeber32Bit", kopfUndFuss("9999999999"), {"29 [4999] #0"}},
      {"AnhangLaengeMinimal",
       mitAnhang("-2147483648"),
       {"32 [-] #0 'Datenformat der Anhanglaenge ungueltig'"}},
      {"AnhangLaengeNull",
       mitAnhang("000"),
       {"32 [-] #0 'Anhang mit der Laenge 0 nicht zugelassen'"}},
      {"AnhangRiesig",
       mitAnhang("2147483647"),
       {"27 [-] #0 'Tatsaechliche Nachrichtenlaenge: 1024, Erwarete Nachrichtenlaenge: "
        "2147484671'"}},
      {"AnhangStimmig",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(fahrzeug())
           .satz(anhang("300"))
           .anhang(300)
           .satz(nachsatz("0000000002"))
           .bytes(),
       {}},
  };
}

class Rahmen : public PlausipruefungTest, public ::testing::WithParamInterface<RahmenFall> {};

// Messages around the sizes of one and two records, of nothing but 0x00 or 0xFF: short ones are
// one length finding, longer ones lack the header; none reads outside the message.
TEST_F(PlausipruefungTest, MessagesOfAnyShortSizeAndFillEndInAFinding) {
  const Vesk_Plausipruefung pruefung = lade();
  for (const std::size_t laenge : {0U, 1U, 255U, 256U, 511U, 512U, 513U, 767U, 768U}) {
    for (const char fuellung : {'\x00', '\xFF'}) {
      SCOPED_TRACE(std::to_string(laenge) + " bytes of " + std::to_string(fuellung & 0xFF));
      const auto liste = pruefe(pruefung, std::string(laenge, fuellung));
      EXPECT_EQ(nummern(liste), std::vector<int>{laenge < 512 ? 27 : 30});
    }
  }
}

// A Sendeart of bytes 0x80-0xFF matches no message type and is shown as Latin-1 in UTF-8.
TEST_F(PlausipruefungTest, SendeartOfHighBytesIsShownAsLatin1) {
  const Vesk_Plausipruefung pruefung = lade();
  const std::string nachricht =
      NachrichtenBauer().satz(vorsatz("\xFF\xE4")).satz(nachsatz("0000000000")).bytes();
  EXPECT_EQ(ausnahmeText<Vesk_StrukturDateiException>([&] { pruefe(pruefung, nachricht); }),
            strukturDatei + ":Nachrichtentyp nach Sendeart \xC3\xBF\xC3\xA4 nicht definiert");
}

TEST_P(Rahmen, ReportsFramingFindingsInOrder) {
  const Vesk_Plausipruefung pruefung = lade();
  const Vesk_FehlerListe liste = pruefe(pruefung, GetParam().nachricht);

  EXPECT_EQ(beschreibe(liste), GetParam().befunde);
  EXPECT_EQ(liste.gibNachrichtenTyp(), GetParam().nachrichtenTyp);
}

INSTANTIATE_TEST_SUITE_P(Faelle, Rahmen, ::testing::ValuesIn(rahmenFaelle()),
                         [](const auto& fall) { return std::string(fall.param.name); });

using Anhangsbeschreibung = PlausipruefungTest;

TEST_F(Anhangsbeschreibung, NumericLengthOfZerosHasNoValue) {
  std::string anhangNumerisch(ANHANG);
  anhangNumerisch.replace(anhangNumerisch.find("m, an, 15"), 9, "m, n , 15");
  const Vesk_Plausipruefung pruefung = lade(datensaetze(VORSATZ, anhangNumerisch));
  const std::string nachricht = NachrichtenBauer()
                                    .satz(vorsatz())
                                    .satz(fahrzeug())
                                    .satz(anhang("0000000000"))
                                    .satz(nachsatz("0000000002"))
                                    .bytes();

  EXPECT_EQ(beschreibe(pruefe(pruefung, nachricht)),
            std::vector<std::string>{"32 [-] #0 'Datenformat der Anhanglaenge ungueltig'"});
}

using Teildatensatz = PlausipruefungTest;

TEST_F(Teildatensatz, SubTypeCharacterThatIsNoNumberEndsTheRun) {
  const Vesk_Plausipruefung pruefung = lade();
  const std::string nachricht = NachrichtenBauer()
                                    .satz(vorsatz("01"))
                                    .satz(SatzBauer("4100").setze(67, "a"))
                                    .satz(nachsatz("0000000001"))
                                    .bytes();

  EXPECT_EQ(ausnahmeText<Vesk_Exception>([&] { static_cast<void>(pruefe(pruefung, nachricht)); }),
            "Nummernformat bei der Satzart 4100.a nicht korrekt");
}

using Pruefstufen = PlausipruefungTest;

TEST_F(Pruefstufen, RunEachStageOnlyAfterTheOnesBeforePassed) {
  struct Fall {
    const char* name;
    std::string nachricht;
    std::string ausgabe;
    std::vector<int> nummern;
  };
  const SatzBauer teil1 = SatzBauer("4100").setze(67, "1");
  const SatzBauer teil2 = SatzBauer("4100").setze(67, "2");
  const Fall faelle[] = {
      {"clean Schadenmeldung",
       NachrichtenBauer()
           .satz(vorsatz("01"))
           .satz(teil1)
           .satz(teil2)
           .satz(nachsatz("0000000002"))
           .bytes(),
       "Reihenfolge OK\nStruktur OK\nMussKann Plausi OK\n",
       {}},
      {"Schadenmeldung with a field finding",
       NachrichtenBauer()
           .satz(vorsatz("01"))
           .satz(teil1)
           .satz(teil2)
           .satz(fahrzeug("31022026"))
           .satz(nachsatz("0000000003"))
           .bytes(),
       "Reihenfolge OK\nStruktur OK\nMussKann Plausi OK\n",
       {11}},
      {"Anfrage skips the Muss-Kann rules",
       NachrichtenBauer()
           .satz(vorsatz())
           .satz(fahrzeug("31022026"))
           .satz(nachsatz("0000000001"))
           .bytes(),
       "Reihenfolge OK\nStruktur OK\n",
       {11}},
      {"structure finding stops the later stages",
       NachrichtenBauer()
           .satz(vorsatz("01"))
           .satz(fahrzeug("31022026"))
           .satz(nachsatz("0000000001"))
           .bytes(),
       "Reihenfolge OK\n",
       {21}},
  };
  const Vesk_Plausipruefung pruefung = lade();
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const std::vector<unsigned char> nachricht(fall.nachricht.begin(), fall.nachricht.end());
    Mitschnitt ausgabe;
    const Vesk_FehlerListe liste = pruefung.pruefe(nachricht);
    EXPECT_EQ(ausgabe.gibText(), fall.ausgabe);
    EXPECT_EQ(nummern(liste), fall.nummern);
  }
}

// A large message is checked on several threads, its technical check begun before the frame and
// the structure are proven. Whatever the stages find, and wherever they stop, the findings, their
// offsets and the progress lines are those of one thread.
TEST_F(Pruefstufen, ALargeMessageGivesTheSameResultOnAnyNumberOfThreads) {
  constexpr int ANZAHL = 20000;
  const auto anfrage = [](const auto& datensatz, std::string_view anzahl) {
    NachrichtenBauer bauer;
    bauer.satz(vorsatz());
    for (int i = 0; i < ANZAHL; ++i) {
      bauer.satz(datensatz(i));
    }
    return bauer.satz(nachsatz(anzahl)).bytes();
  };
  const std::string anzahl = "0000020000";
  struct Fall {
    const char* name;
    std::string nachricht;
  };
  const Fall faelle[] = {
      {"field findings spread over the records",
       anfrage([](int i) { return fahrzeug(i % 997 == 5 ? "31022026" : "01012026"); }, anzahl)},
      {"a structure finding: no technical check",
       anfrage([](int i) { return i == 15000 ? SatzBauer("4100").setze(67, "1") : fahrzeug("x"); },
               anzahl)},
      {"an unknown record type in the middle",
       anfrage([](int i) { return i == 12345 ? SatzBauer("4444") : fahrzeug("31022026"); },
               anzahl)},
      {"a wrong count in the trailer",
       anfrage([](int) { return fahrzeug("31022026"); }, "0000019999")},
      {"an attachment the trailer's count hides",
       [&] {
         NachrichtenBauer bauer;
         bauer.satz(vorsatz());
         for (int i = 0; i < ANZAHL; ++i) {
           bauer.satz(fahrzeug("31022026"));
         }
         return bauer.satz(anhang("0000000256"))
             .anhang(256, '4')
             .satz(nachsatz("0000020002"))
             .bytes();
       }()},
  };
  Vesk_Plausipruefung pruefung = lade();
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const std::vector<unsigned char> nachricht(fall.nachricht.begin(), fall.nachricht.end());
    const auto ergebnis = [&](unsigned faeden) {
      pruefung.setzeFaeden(faeden);
      Mitschnitt ausgabe;
      const Vesk_FehlerListe liste = pruefung.pruefe(nachricht);
      std::vector<std::string> zeilen = beschreibe(liste);
      for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
        zeilen[i] += " @" + std::to_string(liste.gibFehler(i).gibSatzOffset().value_or(-1));
      }
      zeilen.push_back(ausgabe.gibText() + liste.gibNachrichtenTyp().value_or("-"));
      return zeilen;
    };
    const std::vector<std::string> einFaden = ergebnis(1);
    EXPECT_GT(einFaden.size(), 1U);  // every case has findings
    for (const unsigned faeden : {2U, 3U, 8U}) {
      EXPECT_EQ(ergebnis(faeden), einFaden) << faeden << " threads";
    }
  }
}

TEST_F(Pruefstufen, WithoutSchadenmeldungEveryPassedStructureEndsTheRun) {
  std::string struktur(STRUKTUR);
  struktur.replace(struktur.find("Schadenmeldung = 01"), 19, "");
  struktur.replace(struktur.find("[Schadenmeldung]"), 16, "[Unbenutzt]");
  const Vesk_Plausipruefung pruefung = lade(datensaetze(), struktur);
  const std::string sauber =
      NachrichtenBauer().satz(vorsatz()).satz(fahrzeug()).satz(nachsatz("0000000001")).bytes();
  const std::string strukturFehler = NachrichtenBauer()
                                         .satz(vorsatz())
                                         .satz(SatzBauer("4100").setze(67, "1"))
                                         .satz(nachsatz("0000000001"))
                                         .bytes();

  EXPECT_EQ(ausnahmeText<Vesk_StrukturDateiException>(
                [&] { static_cast<void>(pruefe(pruefung, sauber)); }),
            strukturDatei + ":Nachrichtentyp Schadenmeldung nicht gefunden");
  EXPECT_GT(pruefe(pruefung, strukturFehler).gibGroesse(), 0U);
}

TEST_F(Pruefstufen, UnknownSendeartEndsTheRun) {
  const Vesk_Plausipruefung pruefung = lade();
  const std::string nachricht =
      NachrichtenBauer().satz(vorsatz("09")).satz(fahrzeug()).satz(nachsatz("0000000001")).bytes();

  EXPECT_EQ(ausnahmeText<Vesk_StrukturDateiException>(
                [&] { static_cast<void>(pruefe(pruefung, nachricht)); }),
            strukturDatei + ":Nachrichtentyp nach Sendeart 09 nicht definiert");
}

TEST_F(Pruefstufen, RecordTypeWithoutTheFieldReadEndsTheRun) {
  const std::string nachricht = NachrichtenBauer()
                                    .satz(vorsatz())
                                    .satz(fahrzeug())
                                    .satz(anhang("300"))
                                    .anhang(300)
                                    .satz(nachsatz("0000000002"))
                                    .bytes();
  std::string anhangOhneLaenge(ANHANG);
  anhangOhneLaenge.resize(anhangOhneLaenge.find("F11"));
  anhangOhneLaenge += "F11 = , an, 14, 243\n";
  struct Fall {
    std::string datensaetze;
    std::string text;
  };
  const Fall faelle[] = {
      {datensaetze("\n[4001]\n" + std::string(EINZELFELD)),
       "4001:Satzart 4001 hat kein Datenfeld 2"},
      {datensaetze(VORSATZ, ANHANG, "\n[4999]\n" + std::string(EINZELFELD)),
       "4999:Satzart 4999 hat kein Datenfeld 2"},
      {datensaetze(VORSATZ, anhangOhneLaenge), "4900:Satzart 4900 hat kein Datenfeld 12"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.text);
    vesk::test::setzeRegistrysZurueck();
    const Vesk_Plausipruefung pruefung = lade(fall.datensaetze);
    EXPECT_EQ(ausnahmeText<Vesk_DatensatzDateiException>(
                  [&] { static_cast<void>(pruefe(pruefung, nachricht)); }),
              datensatzDatei + "," + fall.text);
  }
}

using Definitionsdateien = PlausipruefungTest;

TEST_F(Definitionsdateien, NeedBothNames) {
  const std::string datei = ordner.schreibe("a.ini", "[A]\nx=1\n");
  const std::string leer;

  EXPECT_EQ(
      ausnahmeText<Vesk_Exception>([&] { static_cast<void>(Vesk_Plausipruefung(leer, datei)); }),
      "Programmierfehler: Namen der Ini-Dateien nicht angegeben !");
  EXPECT_EQ(
      ausnahmeText<Vesk_Exception>([&] { static_cast<void>(Vesk_Plausipruefung(datei, leer)); }),
      "Programmierfehler: Namen der Ini-Dateien nicht angegeben !");
}

TEST_F(Definitionsdateien, MustExistAsFiles) {
  const std::string datei = ordner.schreibe("a.ini", "[A]\nx=1\n");
  const std::string fehlt = ordner.pfad("fehlt.ini");
  std::filesystem::create_directory(ordner.pfad("ordner.ini"));
  const std::string verzeichnis = ordner.pfad("ordner.ini");

  for (const std::string& name : {fehlt, verzeichnis}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ausnahmeText<Vesk_StrukturDateiException>(
                  [&] { static_cast<void>(Vesk_Plausipruefung(name, fehlt)); }),
              "Strukturdatei:Konnte Initialisierungsdatei " + name +
                  " fuer Nachrichtenstruktur nicht oeffnen");
    EXPECT_EQ(ausnahmeText<Vesk_DatensatzDateiException>(
                  [&] { static_cast<void>(Vesk_Plausipruefung(datei, name)); }),
              "Datensatzdatei:Konnte Initialisierungsdatei " + name +
                  " fuer Dateistruktur nicht oeffnen");
  }
}

}  // namespace
