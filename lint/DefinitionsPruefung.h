#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

class IniFile;

namespace vesk {

// One line of the lint's report: a fault as the checker would report it, a hint that details the
// fault before it, or a warning about what is legal but almost surely a slip.
struct Definitionsbefund {
  enum class Art { fehler, hinweis, warnung };
  std::string datei;
  std::size_t zeile = 1;  // from 1
  Art art = Art::fehler;
  std::string text;
};

// The 256 bytes of a record type as its fields cover them.
struct Satzkarte {
  std::string satzart;
  std::vector<std::string> feldnamen;  // in field order
  std::array<int, 256> feld{};         // the index into feldnamen per byte; -1 for none
};

// The lint of a configuration: builds everything its two definition files hold (every named
// value set, every record type, every listed message type, the Muss-Kann group and the fields
// the frame and the rules read) and reports every fault at once, each with its file and line
// and the text the checker gives when it meets that fault, and the faults the checker passes
// over (two message types with one Sendeart, a negative field length). Writes nothing itself.
class DefinitionsPruefung {
 public:
  // Reads the main INI file `hauptDatei` and lints the two files it names. Throws Vesk_Exception
  // with the checker's text when the main INI file cannot be used.
  // `mitKarten`: keep a map of each record type (a kilobyte each, so only when asked for).
  [[nodiscard]] static DefinitionsPruefung ausHauptdatei(const std::string& hauptDatei,
                                                         bool mitKarten = true);
  // Lints the two files, named `strukturName` and `datensatzName` in reports.
  DefinitionsPruefung(const IniFile& struktur, const IniFile& datensaetze,
                      const std::string& strukturName, const std::string& datensatzName,
                      bool mitKarten = true);

  // Sorted by file (the record-definition file first) and line; hints follow their fault.
  [[nodiscard]] const std::vector<Definitionsbefund>& gibBefunde() const { return befunde; }
  [[nodiscard]] std::size_t gibAnzahlFehler() const;
  // One map per record type that builds, in the order of the file; none without `mitKarten`.
  [[nodiscard]] const std::vector<Satzkarte>& gibKarten() const { return karten; }

 private:
  DefinitionsPruefung() = default;

  std::vector<Definitionsbefund> befunde;
  std::vector<Satzkarte> karten;
};

// "<file>:<line>: Fehler: <text>" (Hinweis, Warnung), without the line end.
[[nodiscard]] std::string alsZeile(const Definitionsbefund& befund);
// The map of one record type for an 80-column terminal: four rows of 64 bytes, one character per
// byte naming its field, "." for a byte no field covers, then the fields with their bytes.
[[nodiscard]] std::string alsText(const Satzkarte& karte);

}  // namespace vesk
