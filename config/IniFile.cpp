#include "config/IniFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>
#include <utility>

#include "config/Ausgabe.h"
#include "config/Dateien.h"
#include "config/Text.h"

namespace {

// Editors on Windows start UTF-8 files with it; it would otherwise spoil the first line.
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Line indices are `long` at the interface (-1: not found); the callers check the range first.
long alsIndex(std::size_t stelle) {
  return static_cast<long>(stelle);
}
std::size_t alsStelle(long index) {
  return static_cast<std::size_t>(index);
}

std::string grund(int fehlerNummer, std::string_view ersatz) {
  if (fehlerNummer == 0) {
    return std::string(ersatz);
  }
  return std::generic_category().message(fehlerNummer);
}

// Appends the whole file to `inhalt`, also when reading stops early. Returns the reason of a
// failure, or nullopt.
std::optional<std::string> leseBytes(const std::string& name, std::string& inhalt) {
  std::error_code ignoriert;
  const std::filesystem::path pfad = vesk::dateipfad(name);
  if (std::filesystem::is_directory(pfad, ignoriert)) {
    return std::make_error_code(std::errc::is_a_directory).message();
  }
  // A device or a pipe could be read without end, or block for ever.
  if (std::filesystem::exists(pfad, ignoriert) && !vesk::istDatei(name)) {
    return std::string("not a regular file");
  }
  errno = 0;
  std::ifstream datei(pfad, std::ios::binary);
  if (!datei.is_open()) {
    return grund(errno, "cannot be opened");
  }
  // Left uninitialised: filling 64 KiB per file would cost more than reading a small file.
  std::array<char, 1 << 16> puffer;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  do {
    datei.read(puffer.data(), std::ssize(puffer));
    inhalt.append(puffer.data(), static_cast<std::size_t>(datei.gcount()));
  } while (datei);
  if (datei.bad()) {
    return grund(errno, "cannot be read");
  }
  return std::nullopt;
}

std::size_t zaehleZeilen(std::string_view text) {
  std::size_t anzahl = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
      ++anzahl;
    }
  }
  return text.empty() || text.back() == '\n' || text.back() == '\r' ? anzahl : anzahl + 1;
}

// Lines end at LF, CR or CR LF; a last line without a line end counts, an empty text has none.
void zerlegeInZeilen(std::string_view text, std::vector<std::string>& zeilen) {
  if (text.starts_with(BYTE_ORDER_MARK)) {
    text.remove_prefix(BYTE_ORDER_MARK.size());
  }
  // Sized once: a file of nothing but line ends would otherwise peak at twice its final memory.
  zeilen.reserve(zeilen.size() + zaehleZeilen(text));
  while (!text.empty()) {
    const auto zeilenende =
        std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
    const std::size_t ende = zeilenende == text.end()
                                 ? std::string_view::npos
                                 : static_cast<std::size_t>(zeilenende - text.begin());
    if (ende == std::string_view::npos) {
      zeilen.emplace_back(vesk::trimme(text));
      return;
    }
    zeilen.emplace_back(vesk::trimme(text.substr(0, ende)));
    const bool crLf = text[ende] == '\r' && ende + 1 < text.size() && text[ende + 1] == '\n';
    text.remove_prefix(ende + (crLf ? 2 : 1));
  }
}

// A comment runs from the first ";" to the end of the line; there is no quoting.
std::string_view ohneKommentar(std::string_view zeile) {
  const std::size_t semikolon = zeile.find(';');
  return semikolon == std::string_view::npos ? zeile : vesk::trimme(zeile.substr(0, semikolon));
}

struct Zuweisung {
  std::string_view name;
  std::string_view wert;
};

// Splits at the first "=": the value may hold further "=". Precondition: `zeile` holds "=".
Zuweisung zerlegeZuweisung(std::string_view zeile) {
  const std::size_t gleich = zeile.find('=');
  return {vesk::trimme(zeile.substr(0, gleich)), vesk::trimme(zeile.substr(gleich + 1))};
}

}  // namespace

IniFile::IniFile(std::string name) : IniFile(std::move(name), false) {}

IniFile::IniFile(std::string name, bool /*flag*/)
    : IniFile(std::move(name), std::cout, std::cerr) {}

IniFile::IniFile(std::string name, std::ostream& meldungsStrom, std::ostream& spurStrom)
    : fileName(std::move(name)), meldungen(&meldungsStrom), spuren(&spurStrom) {
  IniFile::loadFile();
  IniFile::parseLines();
}

IniFile::IniFile(OhneDatei, std::string name, std::string_view text)
    : fileName(std::move(name)), meldungen(&std::cout), spuren(&std::cerr) {
  zerlegeInZeilen(text, lines);
  IniFile::parseLines();
}

IniFile IniFile::ausText(std::string name, std::string_view text) {
  return IniFile(OhneDatei{}, std::move(name), text);
}

void IniFile::loadFile() {
  lines = {};
  subjects = {};
  variables = {};
  values = {};
  subjectIndexes = {};
  variableIndexes = {};
  std::string inhalt;
  const std::optional<std::string> fehler = leseBytes(fileName, inhalt);
  zerlegeInZeilen(inhalt, lines);
  if (fehler) {
    vesk::schreibeZeile(*meldungen, "IniFile load failed: " + fileName + " (" + *fehler + ")");
    vesk::schreibeZeile(*spuren, "  at IniFile::loadFile(\"" + fileName + "\"): " + *fehler);
  }
}

// Resolves the current subject once per section rather than once per assignment, so that a
// very long subject name is not hashed again for every line below it.
void IniFile::parseLines() {
  std::string_view aktuell;     // empty before the first subject line and after "[]"
  bool nachgeschlagen = false;  // whether `position` holds the place of `aktuell` yet
  std::size_t position = 0;
  for (const std::string& zeile : lines) {
    const std::string_view text = ohneKommentar(zeile);
    if (isaSubject(text)) {
      aktuell = text.substr(1, text.size() - 2);
      nachgeschlagen = false;
      continue;
    }
    if (aktuell.empty() || !isanAssignment(text)) {
      continue;
    }
    const Zuweisung zuweisung = zerlegeZuweisung(text);
    if (zuweisung.name.empty()) {
      continue;
    }
    if (!nachgeschlagen) {
      position = ensureSubject(aktuell);
      nachgeschlagen = true;
    }
    storeValue(position, zuweisung.name, zuweisung.wert);
  }
}

bool IniFile::addAssignment(std::string_view subject, std::string_view line) {
  if (line.find('=') == std::string_view::npos) {
    return false;
  }
  const Zuweisung zuweisung = zerlegeZuweisung(line);
  if (zuweisung.name.empty()) {
    return false;
  }
  return addValue(subject, zuweisung.name, zuweisung.wert, false);
}

bool IniFile::setValue(std::string_view subject, std::string_view variable,
                       std::string_view value) {
  return addValue(subject, variable, value, true);
}

bool IniFile::addValue(std::string_view subject, std::string_view variable, std::string_view value,
                       bool flag) {
  if (subject.empty() || variable.empty()) {
    return false;
  }
  // Copies, as the views may point into the lists that grow below (from `variablesOf`).
  const std::string subjekt(subject);
  const std::string name(variable);
  const std::string wert(value);
  storeValue(ensureSubject(subjekt), name, wert);
  if (flag) {
    setLine(subjekt, name, wert);
  }
  return true;
}

bool IniFile::isaSubject(std::string_view line) const {
  return line.starts_with('[') && line.ends_with(']');
}

void IniFile::setLine(std::string_view subject, std::string_view variable, std::string_view value) {
  long start = findSubjectLine(subject);
  if (start < 0) {
    addSubjectLine(subject);
    start = alsIndex(lines.size() - 1);
  }
  const long ende = endOfSubject(start);
  // The search starts below the subject line: the line [a=b] must not pass for the
  // assignment of a variable named [a and be overwritten.
  const long position = findAssignmentBetween(variable, start + 1, ende);
  std::string zeile;
  zeile.reserve(variable.size() + 1 + value.size());
  zeile.append(variable).append("=").append(value);
  if (position < 0) {
    lines.insert(std::next(lines.begin(), ende), std::move(zeile));
  } else {
    lines[alsStelle(position)] = std::move(zeile);
  }
}

long IniFile::findAssignmentLine(std::string_view subject, std::string_view variable) const {
  const long start = findSubjectLine(subject);
  if (start < 0) {
    return -1;
  }
  return findAssignmentBetween(variable, start + 1, endOfSubject(start));
}

long IniFile::findAssignmentBetween(std::string_view variable, long start, long end) const {
  const long von = std::max(start, 0L);
  const long bis = std::min(end, alsIndex(lines.size()));
  std::string anfang;
  anfang.reserve(variable.size() + 1);
  anfang.append(variable).append("=");
  for (long i = von; i < bis; ++i) {
    if (lines[alsStelle(i)].starts_with(anfang)) {
      return i;
    }
  }
  return -1;
}

void IniFile::addSubjectLine(std::string_view subject) {
  std::string zeile;
  zeile.reserve(subject.size() + 2);
  zeile.append("[").append(subject).append("]");
  lines.push_back(std::move(zeile));
}

long IniFile::findSubjectLine(std::string_view subject) const {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view zeile = lines[i];
    if (zeile.size() == subject.size() + 2 && isaSubject(zeile) &&
        zeile.substr(1, subject.size()) == subject) {
      return alsIndex(i);
    }
  }
  return -1;
}

// The stored lines still hold their comments, so "[A] ; x" ends no section and "x ; a=b" counts
// as an assignment; a line that is both a subject line and holds "=" ends the section, as the
// parser reads it as a subject line.
long IniFile::endOfSubject(long start) const {
  const long anzahl = alsIndex(lines.size());
  if (start < 0) {
    return -1;
  }
  if (start >= anzahl) {
    return anzahl;
  }
  long ende = start + 1;
  for (long i = start + 1; i < anzahl; ++i) {
    const std::string& zeile = lines[alsStelle(i)];
    if (isaSubject(zeile)) {
      break;
    }
    if (isanAssignment(zeile)) {
      ende = i + 1;
    }
  }
  return ende;
}

bool IniFile::isanAssignment(std::string_view line) const {
  return line.find('=') != std::string_view::npos && !line.starts_with(';');
}

std::vector<std::string> IniFile::getLines() const {
  return lines;
}

std::vector<std::string> IniFile::getVariables(std::string_view subject) const {
  const std::span<const std::string> namen = variablesOf(subject);
  return {namen.begin(), namen.end()};
}

std::vector<std::string> IniFile::getSubjects() const {
  return subjects;
}

std::string IniFile::getValue(std::string_view subject, std::string_view variable) const {
  const std::optional<std::size_t> k = subjectIndex(subject);
  if (!k) {
    return {};
  }
  const std::optional<std::size_t> j = variableIndex(*k, variable);
  return j ? values[*k][*j] : std::string();
}

void IniFile::deleteValue(std::string_view subject, std::string_view variable) {
  const std::optional<std::size_t> k = subjectIndex(subject);
  if (!k) {
    return;
  }
  const std::optional<std::size_t> j = variableIndex(*k, variable);
  if (!j) {
    return;
  }
  // Copies, as `variable` may be a view of the name erased below.
  const std::string subjekt(subject);
  const std::string name(variable);
  const auto stelle = static_cast<std::ptrdiff_t>(*j);
  variables[*k].erase(std::next(variables[*k].begin(), stelle));
  values[*k].erase(std::next(values[*k].begin(), stelle));
  variableIndexes[*k].erase(name);
  reindexVariables(*k, *j);
  const long zeile = findAssignmentLine(subjekt, name);
  if (zeile >= 0) {
    lines.erase(std::next(lines.begin(), zeile));
  }
  if (variables[*k].empty()) {
    deleteSubject(subjekt);
  }
}

void IniFile::deleteSubject(std::string_view subject) {
  const std::optional<std::size_t> k = subjectIndex(subject);
  if (!k) {
    return;
  }
  const std::string subjekt(subject);
  const auto stelle = static_cast<std::ptrdiff_t>(*k);
  subjects.erase(std::next(subjects.begin(), stelle));
  variables.erase(std::next(variables.begin(), stelle));
  values.erase(std::next(values.begin(), stelle));
  variableIndexes.erase(std::next(variableIndexes.begin(), stelle));
  subjectIndexes.erase(subjekt);
  reindexSubjects(*k);
  const long start = findSubjectLine(subjekt);
  if (start >= 0) {
    lines.erase(std::next(lines.begin(), start), std::next(lines.begin(), endOfSubject(start)));
  }
}

std::span<const std::string> IniFile::variablesOf(std::string_view subject) const {
  const std::optional<std::size_t> k = subjectIndex(subject);
  if (!k) {
    return {};
  }
  return variables[*k];
}

bool IniFile::hasVariables(std::string_view subject) const {
  return !variablesOf(subject).empty();
}

int IniFile::main(std::span<const std::string_view> arguments, std::ostream& out,
                  std::ostream& err) {
  if (arguments.size() != 1) {
    out << "IniFile <filename>\n";
    return 0;
  }
  const IniFile datei(std::string(arguments.front()), out, err);
  for (std::size_t k = 0; k < datei.subjects.size(); ++k) {
    vesk::schreibeZeile(out, datei.subjects[k]);
    for (std::size_t j = 0; j < datei.variables[k].size(); ++j) {
      vesk::schreibeZeile(out, "  " + datei.variables[k][j] + " = " + datei.values[k][j]);
    }
  }
  return 0;
}

std::optional<std::size_t> IniFile::subjectIndex(std::string_view subject) const {
  const auto eintrag = subjectIndexes.find(subject);
  if (eintrag == subjectIndexes.end()) {
    return std::nullopt;
  }
  return eintrag->second;
}

std::optional<std::size_t> IniFile::variableIndex(std::size_t subject,
                                                  std::string_view variable) const {
  const Index& index = variableIndexes[subject];
  const auto eintrag = index.find(variable);
  if (eintrag == index.end()) {
    return std::nullopt;
  }
  return eintrag->second;
}

std::size_t IniFile::ensureSubject(std::string_view subject) {
  if (const std::optional<std::size_t> k = subjectIndex(subject)) {
    return *k;
  }
  const std::size_t k = subjects.size();
  subjects.emplace_back(subject);
  variables.emplace_back();
  values.emplace_back();
  variableIndexes.emplace_back();
  subjectIndexes.emplace(subjects.back(), k);
  return k;
}

void IniFile::storeValue(std::size_t subject, std::string_view variable, std::string_view value) {
  if (const std::optional<std::size_t> j = variableIndex(subject, variable)) {
    values[subject][*j] = value;
    return;
  }
  std::vector<std::string>& namen = variables[subject];
  namen.emplace_back(variable);
  values[subject].emplace_back(value);
  variableIndexes[subject].emplace(namen.back(), namen.size() - 1);
}

void IniFile::reindexSubjects(std::size_t from) {
  for (std::size_t k = from; k < subjects.size(); ++k) {
    subjectIndexes.insert_or_assign(subjects[k], k);
  }
}

void IniFile::reindexVariables(std::size_t subject, std::size_t from) {
  const std::vector<std::string>& namen = variables[subject];
  for (std::size_t j = from; j < namen.size(); ++j) {
    variableIndexes[subject].insert_or_assign(namen[j], j);
  }
}
