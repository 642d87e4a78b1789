#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_Fehler.h"
#include "errors/Vesk_MussKannFehler.h"
#include "errors/Vesk_StrukturFehler.h"

namespace {

struct Zeile {
  std::unique_ptr<Vesk_Fehler> fehler;
  const char* beschreibung;
};

std::unique_ptr<Vesk_Fehler> mitDatensatz(std::unique_ptr<Vesk_Fehler> fehler,
                                          std::int64_t nummer) {
  fehler->setzeDatensatzNummer(nummer);
  return fehler;
}

std::unique_ptr<Vesk_Fehler> ohneSatzart(std::int32_t nummer, const char* text) {
  auto fehler = std::make_unique<Vesk_StrukturFehler>(nummer);
  fehler->setzeErklaerendenText(text);
  return fehler;
}

std::unique_ptr<Vesk_Fehler> feldFehler(std::int32_t nummer, const char* satzart,
                                        std::int32_t feld) {
  auto fehler = std::make_unique<Vesk_DatenFeldFehler>(nummer);
  fehler->setzeSatzart(satzart);
  fehler->setzeFeldNummer(feld);
  return fehler;
}

std::unique_ptr<Vesk_Fehler> mitText(std::unique_ptr<Vesk_Fehler> fehler, const char* text) {
  fehler->setzeErklaerendenText(text);
  return fehler;
}

TEST(Fehler, DescribesItselfInOneConsoleLine) {
  std::vector<Zeile> zeilen;
  zeilen.push_back({std::make_unique<Vesk_StrukturFehler>(30, "4001"),
                    "Strukturfehler: Datensatz: 0 Satzart: 4001; Vorsatz fehlt"});
  zeilen.push_back({ohneSatzart(27, "Nachrichtenl\xC3\xA4nge < 512 Byte"),
                    "Strukturfehler: Datensatz: 0; Nachrichtenlaenge unstimmig  "
                    "Nachrichtenl\xC3\xA4nge < 512 Byte"});
  zeilen.push_back({mitDatensatz(std::make_unique<Vesk_StrukturFehler>(24, ""), 17),
                    "Strukturfehler: Datensatz: 17; Satzart nicht erlaubt"});
  zeilen.push_back({mitDatensatz(std::make_unique<Vesk_StrukturFehler>(22, "4100", "max 2"), 3),
                    "Strukturfehler: Datensatz: 3 Satzart: 4100; Satzart zu haeufig  max 2"});
  zeilen.push_back({std::make_unique<Vesk_StrukturFehler>(21, "4100", ""),
                    "Strukturfehler: Datensatz: 0 Satzart: 4100; Satzart fehlt  "});
  zeilen.push_back({std::make_unique<Vesk_StrukturFehler>(20),
                    "Strukturfehler: Datensatz: 0; Reihenfolge der Datensaetze falsch"});
  zeilen.push_back({feldFehler(11, "4001", 2),
                    "Technischer Fehler: Satzart: 4001 Feldnummer: 3; Falsches Format"});
  zeilen.push_back({feldFehler(10, "", 0),
                    "Technischer Fehler: Satzart:  Feldnummer: 1; Muss-Feld nicht gefuellt"});
  zeilen.push_back({mitText(feldFehler(12, "4100.1", 6), "'Sparten' :7"),
                    "Technischer Fehler: Satzart: 4100.1 Feldnummer: 7; Nicht in Wertemenge:   "
                    "'Sparten' :7"});
  zeilen.push_back({std::make_unique<Vesk_DatenFeldFehler>(11, ""),
                    "Technischer Fehler: Satzart:  Feldnummer: 1; Falsches Format  "});
  zeilen.push_back({std::make_unique<Vesk_MussKannFehler>(51),
                    "Muss-Kann Fehler: Weder VU-Nummer noch Amtl. Kennzeichen gefuellt"});
  // Record type and record number are not part of a rule's line.
  zeilen.push_back({mitDatensatz(mitText(std::make_unique<Vesk_MussKannFehler>(50), "VU 123"), 1),
                    "Muss-Kann Fehler: Versicherung ist nicht zu ermitteln  VU 123"});
  zeilen.push_back({std::make_unique<Vesk_MussKannFehler>(50, ""),
                    "Muss-Kann Fehler: Versicherung ist nicht zu ermitteln  "});
  zeilen.back().fehler->setzeSatzart("4001");
  for (const Zeile& zeile : zeilen) {
    SCOPED_TRACE(zeile.beschreibung);
    EXPECT_EQ(zeile.fehler->gibBeschreibung(), zeile.beschreibung);
  }
}

TEST(Fehler, CataloguesHoldTheDescriptionOfEveryNumber) {
  const std::vector<std::pair<std::int32_t, const char*>> struktur = {
      {20, "Reihenfolge der Datensaetze falsch"},
      {21, "Satzart fehlt"},
      {22, "Satzart zu haeufig"},
      {23, "Satzart zu selten"},
      {24, "Satzart nicht erlaubt"},
      {25, "Teildatensaetze unvollstaendig"},
      {26, "Falsche Teildatensatz Nr"},
      {27, "Nachrichtenlaenge unstimmig"},
      {28, "Nachrichten Typ unbekannt"},
      {29, "Satzanzahl ungueltig"},
      {30, "Vorsatz fehlt"},
      {31, "Nachsatz fehlt"},
      {32, "Anhangbeschreibung ungueltig"},
      {33, "Moegliche Ursache: Datensaetze verschoben oder falsche Anhangsbeschreibung"},
  };
  for (const auto& [nummer, text] : struktur) {
    SCOPED_TRACE(nummer);
    EXPECT_EQ(Vesk_StrukturFehler(nummer, "4001", "x").gibFehlerText(), text);
  }
  EXPECT_EQ(Vesk_DatenFeldFehler(10).gibFehlerText(), "Muss-Feld nicht gefuellt");
  EXPECT_EQ(Vesk_DatenFeldFehler(11).gibFehlerText(), "Falsches Format");
  EXPECT_EQ(Vesk_DatenFeldFehler(12, "x").gibFehlerText(), "Nicht in Wertemenge: ");
  EXPECT_EQ(Vesk_MussKannFehler(50).gibFehlerText(), "Versicherung ist nicht zu ermitteln");
  EXPECT_EQ(Vesk_MussKannFehler(51).gibFehlerText(),
            "Weder VU-Nummer noch Amtl. Kennzeichen gefuellt");
}

}  // namespace
