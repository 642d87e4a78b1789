#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/Konfiguration.h"
#include "report/NachrichtenErgebnis.h"
#include "report/Nachrichtenansicht.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

// The clean example message in parts: header, two partial records, an attachment description,
// its 300 bytes, the trailer.
struct Teile {
  std::string vorsatz, teil1, teil2, anhang, bytes, nachsatz;
};

Teile beispiel() {
  const std::string ok = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  return {ok.substr(0, 256),   ok.substr(256, 256),  ok.substr(512, 256),
          ok.substr(768, 256), ok.substr(1024, 300), ok.substr(1324, 256)};
}

std::string mitAnzahl(std::string nachsatz, const std::string& anzahl) {
  return nachsatz.replace(4, 8, anzahl);
}

std::string ueberschrieben(std::string satz, std::size_t ab, const std::string& text) {
  return satz.replace(ab, text.size(), text);
}

struct Fall {
  const char* name;
  std::int32_t nummer;
  std::string nachricht;
  std::optional<std::int64_t> datensatz;  // nullopt: the finding lies in no single record
  const char* konsole;                    // the console's line, as the checker prints it
};

class Verortung : public ::testing::Test {
 protected:
  vesk::test::Arbeitsverzeichnis beiDenBeispielen{fs::path(VESK_QUELLEN) / "examples"};
};

// Each frame and structure finding is located at the record it is about, index and offset
// naming the same record, while its console line keeps the number the checker prints. 23 has a
// test of its own below; 28 never arises, as an unknown Sendeart ends the check instead.
TEST_F(Verortung, EveryFrameAndStructureFindingLiesAtItsRecord) {
  const Teile t = beispiel();
  const std::string satz4300 = "4300" + std::string(252, ' ');
  const Fall faelle[] = {
      {"shorter than header and trailer", 27, t.vorsatz.substr(0, 300), std::nullopt,
       "Strukturfehler: Datensatz: 0; Nachrichtenlaenge unstimmig  Nachrichtenl\xC3\xA4nge < 512 "
       "Byte"},
      {"no header", 30,
       ueberschrieben(t.vorsatz, 0, "XXXX") + t.teil1 + t.teil2 + t.anhang + t.bytes + t.nachsatz,
       0, "Strukturfehler: Datensatz: 0 Satzart: 4001; Vorsatz fehlt"},
      {"no trailer", 31,
       t.vorsatz + t.teil1 + t.teil2 + t.anhang + t.bytes + ueberschrieben(t.nachsatz, 0, "XXXX"),
       4, "Strukturfehler: Datensatz: 0 Satzart: 4999; Nachsatz fehlt"},
      {"a count of 0", 29,
       t.vorsatz + t.teil1 + t.teil2 + t.anhang + t.bytes + mitAnzahl(t.nachsatz, "00000000"), 4,
       "Strukturfehler: Datensatz: 0 Satzart: 4999; Satzanzahl ungueltig"},
      {"a count the records do not match", 29,
       t.vorsatz + t.teil1 + t.teil2 + t.anhang + t.bytes + mitAnzahl(t.nachsatz, "00000004"), 4,
       "Strukturfehler: Datensatz: 0; Satzanzahl ungueltig  Gelesene Datensatzzahl: 3, "
       "Datensaetze laut Nachsatz:4"},
      {"a length the attachments do not match", 27,
       t.vorsatz + t.teil1 + t.teil2 + ueberschrieben(t.anhang, 117, "0000000299") + t.bytes +
           t.nachsatz,
       std::nullopt,
       "Strukturfehler: Datensatz: 0; Nachrichtenlaenge unstimmig  Tatsaechliche "
       "Nachrichtenlaenge: 1580, Erwarete Nachrichtenlaenge: 1579"},
      {"an attachment length that is no number", 32,
       t.vorsatz + t.teil1 + t.teil2 + ueberschrieben(t.anhang, 117, "ABCDEFGHIJ") + t.bytes +
           t.nachsatz,
       3,
       "Strukturfehler: Datensatz: 0; Anhangbeschreibung ungueltig  Datenformat der Anhanglaenge "
       "ungueltig"},
      {"an unknown record type", 33,
       t.vorsatz + t.teil1 + ueberschrieben(t.teil2, 0, "XXXX") + t.anhang + t.bytes + t.nachsatz,
       2,
       "Strukturfehler: Datensatz: 2; Moegliche Ursache: Datensaetze verschoben oder falsche "
       "Anhangsbeschreibung   Unbekannte Satzart: XXXX.2"},
      {"a record out of order", 20, t.vorsatz + t.anhang + t.teil1 + t.teil2 + t.bytes + t.nachsatz,
       2,
       "Strukturfehler: Datensatz: 2 Satzart: 4100; Reihenfolge der Datensaetze falsch  4100 "
       "nicht erlaubt nach 4900"},
      {"a record type the message type does not allow", 24,
       t.vorsatz + t.teil1 + t.teil2 + satz4300 + t.anhang + t.bytes +
           mitAnzahl(t.nachsatz, "00000004"),
       3, "Strukturfehler: Datensatz: 3 Satzart: 4300; Satzart nicht erlaubt"},
      {"a record type once too often", 22,
       t.vorsatz + t.teil1 + t.teil2 + t.teil1 + t.teil2 + t.anhang + t.bytes +
           mitAnzahl(t.nachsatz, "00000005"),
       3, "Strukturfehler: Datensatz: 0 Satzart: 4100; Satzart zu haeufig"},
      {"a partial record out of turn", 26,
       t.vorsatz + t.teil1 + t.teil1 + t.anhang + t.bytes + t.nachsatz, 2,
       "Strukturfehler: Datensatz: 0 Satzart: 4100; Falsche Teildatensatz Nr  Erlaubt :2 "
       "Tatsaechlich:1"},
      {"partial records left incomplete", 25,
       t.vorsatz + t.teil1 + t.anhang + t.bytes + mitAnzahl(t.nachsatz, "00000002"), 1,
       "Strukturfehler: Datensatz: 1 Satzart: 4100; Teildatensaetze unvollstaendig"},
      {"a record type missing", 21,
       t.vorsatz + t.anhang + t.bytes + mitAnzahl(t.nachsatz, "00000001"), std::nullopt,
       "Strukturfehler: Datensatz: 1 Satzart: 4100; Satzart fehlt"},
  };
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const std::span<const unsigned char> bytes(
        reinterpret_cast<const unsigned char*>(fall.nachricht.data()), fall.nachricht.size());
    const vesk::NachrichtenErgebnis ergebnis = vesk::pruefeBytes(*konfiguration, bytes, "n");
    ASSERT_FALSE(ergebnis.fehler.empty());
    const vesk::VerorteterFehler& fehler = ergebnis.fehler.front();
    EXPECT_EQ(fehler.nummer, fall.nummer);
    EXPECT_EQ(fehler.konsolenZeile, fall.konsole);
    EXPECT_EQ(fehler.datensatz, fall.datensatz);
    if (!fall.datensatz) {
      EXPECT_FALSE(fehler.offset);
      continue;
    }
    // The offset is that of the record the frame walk finds at that index.
    const vesk::Nachrichtenansicht ansicht = vesk::zeigeBytes(*konfiguration, bytes, "n");
    const auto index = static_cast<std::size_t>(*fall.datensatz);
    ASSERT_LT(index, ansicht.datensaetze.size());
    EXPECT_EQ(fehler.offset, ansicht.datensaetze[index].offset);
  }
}

// A record type that appears, but less often than its message type asks, lies in no single
// record either: the example's claim report, asking for two vehicle records, with one.
TEST_F(Verortung, ARecordTypeTooRareLiesInNoRecord) {
  const vesk::test::TestOrdner ordner;
  ordner.kopiereBeispielkonfiguration(".");
  std::string struktur = vesk::test::leseDatei("struktur.ini");
  const std::size_t stelle = struktur.find("4200 = 0+");
  ASSERT_NE(stelle, std::string::npos);
  ordner.schreibe("struktur.ini", struktur.replace(stelle, 9, "4200 = 2 "));
  const Teile t = beispiel();
  const std::string nachricht = t.vorsatz + t.teil1 + t.teil2 + "4200" + std::string(252, ' ') +
                                t.anhang + t.bytes + mitAnzahl(t.nachsatz, "00000004");
  const vesk::test::Arbeitsverzeichnis imOrdner(ordner.wurzel());
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  const vesk::NachrichtenErgebnis ergebnis = vesk::pruefeBytes(
      *konfiguration,
      std::span(reinterpret_cast<const unsigned char*>(nachricht.data()), nachricht.size()), "n");
  ASSERT_EQ(ergebnis.fehler.size(), 1U);
  EXPECT_EQ(ergebnis.fehler[0].nummer, 23);
  EXPECT_EQ(ergebnis.fehler[0].konsolenZeile,
            "Strukturfehler: Datensatz: 2 Satzart: 4200; Satzart zu selten");
  EXPECT_FALSE(ergebnis.fehler[0].datensatz);
  EXPECT_FALSE(ergebnis.fehler[0].offset);
}

}  // namespace
