#include "rules/Vesk_MussKannPlausi.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_StrukturDateiException.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

// 1-based first bytes of the fields of 4001 (field 3: insurer number, field 9: registration)
// and of 4100.1 (fields 2 to 15 four bytes each, from byte 5 on).
constexpr std::array<std::size_t, 10> VORSATZ = {1, 5, 7, 12, 17, 22, 27, 32, 37, 47};
constexpr std::array<std::size_t, 16> TEILSATZ = {1,  5,  9,  13, 17, 21, 25, 29,
                                                  33, 37, 41, 45, 49, 53, 57, 61};

// A record type of the first `anzahl` fields of `anfaenge`, the last one reaching byte 256.
std::string satzart(std::string_view name, std::span<const std::size_t> anfaenge,
                    std::size_t anzahl) {
  std::string text = "[" + std::string(name) + "]\n";
  for (std::size_t i = 0; i < anzahl; ++i) {
    const std::size_t ende = i + 1 < anzahl ? anfaenge[i + 1] : 257;
    text += "F" + std::to_string(i + 1) + " = ,an," + std::to_string(anfaenge[i]) + "," +
            std::to_string(ende - anfaenge[i]) + "\n";
  }
  return text;
}

// Record definitions with 4001 of `vorsatzFelder` fields and 4100.1 of `teilsatzFelder` fields
// (none when absent).
std::string datensaetze(std::size_t vorsatzFelder = VORSATZ.size(),
                        std::optional<std::size_t> teilsatzFelder = TEILSATZ.size()) {
  std::string text = "[Wertemengen]\nZiffern = 1-9\n[4200]\nF = ,an,1,256\n[4999]\nF = ,an,1,256\n";
  text += satzart("4001", VORSATZ, vorsatzFelder);
  if (teilsatzFelder) {
    text += satzart("4100.1", TEILSATZ, *teilsatzFelder);
  }
  return text;
}

std::string schalter(std::string_view regel1, std::string_view regel2) {
  return "[muss-kann-Plausis]\nRegel1 = " + std::string(regel1) +
         "\nRegel2 = " + std::string(regel2) + "\n";
}

// A record whose listed fields (numbers counting from 1) hold text from their first byte on.
vesk::test::SatzBauer satz(std::string_view name, std::span<const std::size_t> anfaenge,
                           const std::vector<std::size_t>& gefuellt) {
  vesk::test::SatzBauer bauer(name);
  for (const std::size_t feld : gefuellt) {
    bauer.setze(anfaenge[feld - 1], "X" + std::to_string(feld));
  }
  return bauer;
}

// Header, the given records, trailer.
std::vector<unsigned char> nachricht(const std::vector<std::size_t>& vorsatz,
                                     const std::vector<vesk::test::SatzBauer>& daten) {
  vesk::test::NachrichtenBauer bauer;
  bauer.satz(satz("4001", VORSATZ, vorsatz));
  for (const auto& datensatz : daten) {
    bauer.satz(datensatz);
  }
  bauer.satz(vesk::test::SatzBauer("4999"));
  return bauer.alsBytes();
}

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

// Captures standard output from construction until `text`, also when a check throws.
class Mitschnitt {
 public:
  Mitschnitt() { testing::internal::CaptureStdout(); }
  Mitschnitt(const Mitschnitt&) = delete;
  Mitschnitt& operator=(const Mitschnitt&) = delete;
  ~Mitschnitt() {
    if (!fertig) {
      static_cast<void>(testing::internal::GetCapturedStdout());
    }
  }
  std::string text() {
    fertig = true;
    return testing::internal::GetCapturedStdout();
  }

 private:
  bool fertig = false;
};

struct Ergebnis {
  bool bestanden;
  std::vector<std::int32_t> nummern;
  std::string ausgabe;
};

class MussKannPlausi : public vesk::test::RegistryTest {
 protected:
  IniFile struktur(std::string_view text) const {
    return IniFile(ordner.schreibe("struktur.ini", text));
  }

  Ergebnis pruefe(std::string_view strukturText, std::span<const unsigned char> bytes) const {
    const Vesk_MussKannPlausi plausi(struktur(strukturText));
    Vesk_FehlerListe liste;
    Mitschnitt mitschnitt;
    const bool bestanden = plausi.pruefeMussKann(bytes, liste);
    Ergebnis ergebnis{bestanden, {}, mitschnitt.text()};
    for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
      const Vesk_Fehler& fehler = liste.gibFehler(i);
      ergebnis.nummern.push_back(fehler.gibFehlerNummer());
      EXPECT_FALSE(fehler.gibSatzart().has_value());
      EXPECT_EQ(fehler.gibDatensatzNummer(), 0);
      EXPECT_FALSE(fehler.gibErklaerendenText().has_value());
    }
    return ergebnis;
  }
};

struct Fall {
  const char* regel1;
  const char* regel2;
  std::vector<std::size_t> vorsatz;  // filled fields of the header
  std::vector<std::size_t> zweiter;  // filled fields of the record after it
  std::vector<std::int32_t> nummern;
};

TEST_F(MussKannPlausi, AppliesTheSwitchedOnRulesToHeaderAndSecondRecord) {
  vesk::test::ladeDefinitionen(ordner, datensaetze());
  const std::vector<std::size_t> kombinationB = {8, 12, 13, 14, 15};
  const std::vector<Fall> faelle = {
      {"aus", "aus", {}, {}, {}},
      {"", "", {}, {}, {}},
      // The switch is "ein", exactly.
      {"Ein", "EIN", {}, {}, {}},
      // Rule 1: header field 9 with fields 3 and 4, or fields 8, 12, 13, 14 and 15.
      {"ein", "aus", {9}, {3, 4}, {}},
      {"ein", "aus", {}, kombinationB, {}},
      {"ein", "aus", {9, 3}, {3, 8, 12, 14, 15}, {50}},
      {"ein", "aus", {3}, {3, 4}, {50}},
      {"ein", "aus", {9}, {3, 8, 12, 13, 14}, {50}},
      {"ein", "aus", {9}, {4, 12, 13, 14, 15}, {50}},
      // Rule 2: header field 3 or field 9.
      {"aus", "ein", {}, {}, {51}},
      {"aus", "ein", {9}, {}, {}},
      {"aus", "ein", {3}, {}, {}},
      // A failed rule 1 ends the check: at most one entry.
      {"ein", "ein", {}, {}, {50}},
      {"ein", "ein", {}, kombinationB, {51}},
      {"ein", "ein", {9}, {3, 4}, {}},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(std::string("Regel1=") + fall.regel1 + " Regel2=" + fall.regel2 +
                 " Vorsatz:" + ::testing::PrintToString(fall.vorsatz) +
                 " Zweiter:" + ::testing::PrintToString(fall.zweiter));
    const auto bytes = nachricht(fall.vorsatz, {satz("4100", TEILSATZ, fall.zweiter)});
    const Ergebnis ergebnis = pruefe(schalter(fall.regel1, fall.regel2), bytes);
    EXPECT_EQ(ergebnis.nummern, fall.nummern);
    EXPECT_EQ(ergebnis.bestanden, fall.nummern.empty());
    EXPECT_EQ(ergebnis.ausgabe, fall.nummern.empty() ? "MussKann Plausi OK\n" : "");
  }
}

TEST_F(MussKannPlausi, TreatsFieldsOfBlanksOrControlCharactersAsEmpty) {
  vesk::test::ladeDefinitionen(ordner, datensaetze());
  vesk::test::SatzBauer vorsatz("4001");
  vorsatz.setze(VORSATZ[2], "     ").setze(VORSATZ[8], std::string(10, '\0'));
  const auto bytes =
      vesk::test::NachrichtenBauer().satz(vorsatz).satz(vesk::test::SatzBauer("4999")).alsBytes();
  EXPECT_EQ(pruefe(schalter("aus", "ein"), bytes).nummern, std::vector<std::int32_t>{51});
}

TEST_F(MussKannPlausi, ReadsTheRecordAfterTheHeaderWithThePartialRecordLayout) {
  vesk::test::ladeDefinitionen(ordner, datensaetze());
  const std::vector<std::size_t> kombinationB = {8, 12, 13, 14, 15};
  const auto fremderSatz = nachricht({}, {satz("4200", TEILSATZ, kombinationB)});
  EXPECT_TRUE(pruefe(schalter("ein", "aus"), fremderSatz).bestanden);
  // Only the record at offset 256 counts, not the first 4100 record further on.
  const auto spaeterSatz =
      nachricht({}, {satz("4200", TEILSATZ, {}), satz("4100", TEILSATZ, kombinationB)});
  EXPECT_EQ(pruefe(schalter("ein", "aus"), spaeterSatz).nummern, std::vector<std::int32_t>{50});
}

TEST_F(MussKannPlausi, NeedsExactlyTwoVariablesInItsGroup) {
  vesk::test::ladeDefinitionen(ordner, datensaetze());
  const char* const fehlt = "Struktur|Strukturdatei:Muss Kann Plausis Feld fehlt";
  const std::vector<std::string> falsch = {
      "[Nachrichtentypen]\nA = 01\n",
      "[muss-kann-Plausis]\nRegel1 = ein\n",
      "[muss-kann-Plausis]\nRegel1 = ein\nRegel2 = ein\nRegel3 = ein\n",
  };
  for (const std::string& text : falsch) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ausnahme([&] { static_cast<void>(Vesk_MussKannPlausi(struktur(text))); }), fehlt);
  }
  // Two variables without Regel2: rule 2 is off, so an empty header passes.
  const auto leer = nachricht({}, {satz("4100", TEILSATZ, {})});
  EXPECT_TRUE(pruefe("[muss-kann-Plausis]\nRegel1 = aus\nRegel3 = ein\n", leer).bestanden);
}

TEST_F(MussKannPlausi, ReportsAMissingFieldOfASwitchedOnRuleInReadingOrder) {
  struct Definition {
    std::size_t vorsatzFelder;
    std::optional<std::size_t> teilsatzFelder;
    const char* regel1;
    const char* regel2;
    std::vector<std::size_t> vorsatz;
    const char* erwartet;
  };
  const std::vector<Definition> faelle = {
      {8, 16, "ein", "aus", {}, "Datensatz|Datensatzdatei,4001:Satzart 4001 hat kein Datenfeld 9"},
      {10,
       3,
       "ein",
       "aus",
       {},
       "Datensatz|Datensatzdatei,4100.1:Satzart 4100.1 hat kein Datenfeld 4"},
      {10,
       14,
       "ein",
       "aus",
       {},
       "Datensatz|Datensatzdatei,4100.1:Satzart 4100.1 hat kein Datenfeld 15"},
      // Rule 1 looks up both record types before it takes any field.
      {8,
       std::nullopt,
       "ein",
       "aus",
       {},
       "Datensatz|Datensatzdatei,4100.1:Satzart 4100.1 nicht definiert"},
      {8, 3, "ein", "aus", {}, "Datensatz|Datensatzdatei,4001:Satzart 4001 hat kein Datenfeld 9"},
      {2, 16, "aus", "ein", {}, "Datensatz|Datensatzdatei,4001:Satzart 4001 hat kein Datenfeld 3"},
      // Rule 2 takes both fields before it looks at field 3.
      {8, 16, "aus", "ein", {3}, "Datensatz|Datensatzdatei,4001:Satzart 4001 hat kein Datenfeld 9"},
      // Rules that are off need nothing.
      {2, std::nullopt, "aus", "aus", {}, "keine Ausnahme"},
  };
  for (const Definition& fall : faelle) {
    SCOPED_TRACE(fall.erwartet);
    vesk::test::setzeRegistrysZurueck();
    vesk::test::ladeDefinitionen(ordner, datensaetze(fall.vorsatzFelder, fall.teilsatzFelder));
    vesk::test::SatzBauer vorsatz("4001");
    for (const std::size_t feld : fall.vorsatz) {
      vorsatz.setze(VORSATZ[feld - 1], "X");
    }
    const auto bytes = vesk::test::NachrichtenBauer()
                           .satz(vorsatz)
                           .satz(vesk::test::SatzBauer("4200"))
                           .satz(vesk::test::SatzBauer("4999"))
                           .alsBytes();
    EXPECT_EQ(
        ausnahme([&] { static_cast<void>(pruefe(schalter(fall.regel1, fall.regel2), bytes)); }),
        fall.erwartet);
  }
}

}  // namespace
