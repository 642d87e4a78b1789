#pragma once
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The parsed form of one INI-syntax file: subjects (groups), their variables and values in the
// order of first appearance, and the file's trimmed text lines beside them. Parsed once when
// constructed; the editing operations keep `lines` in step with the parsed data but never write
// a file. Names are compared exactly (case-sensitive, no trimming at lookup time).
class IniFile {
 public:
  // Loads and parses `fileName`. A file that cannot be opened or read leaves an empty (or
  // partial) store after printing "IniFile load failed: ..." on standard output; nothing throws.
  explicit IniFile(std::string fileName);
  IniFile(std::string fileName, bool flag);
  virtual ~IniFile() = default;
  IniFile(const IniFile&) = default;
  IniFile& operator=(const IniFile&) = default;
  IniFile(IniFile&&) = default;
  IniFile& operator=(IniFile&&) = default;

  virtual void loadFile();
  virtual void parseLines();
  // Precondition: `line` contains "=". False when the name before the first "=" is empty.
  virtual bool addAssignment(std::string_view subject, std::string_view line);
  virtual bool setValue(std::string_view subject, std::string_view variable,
                        std::string_view value);
  virtual bool addValue(std::string_view subject, std::string_view variable, std::string_view value,
                        bool flag);
  [[nodiscard]] virtual bool isaSubject(std::string_view line) const;
  virtual void setLine(std::string_view subject, std::string_view variable, std::string_view value);
  // Indices into `lines`; -1 when not found.
  [[nodiscard]] virtual long findAssignmentLine(std::string_view subject,
                                                std::string_view variable) const;
  [[nodiscard]] virtual long findAssignmentBetween(std::string_view variable, long start,
                                                   long end) const;
  virtual void addSubjectLine(std::string_view subject);
  [[nodiscard]] virtual long findSubjectLine(std::string_view subject) const;
  [[nodiscard]] virtual long endOfSubject(long start) const;
  [[nodiscard]] virtual bool isanAssignment(std::string_view line) const;
  [[nodiscard]] virtual std::vector<std::string> getLines() const;
  // Empty when the subject is absent.
  [[nodiscard]] virtual std::vector<std::string> getVariables(std::string_view subject) const;
  [[nodiscard]] virtual std::vector<std::string> getSubjects() const;
  // "" when the subject or the variable is absent.
  [[nodiscard]] virtual std::string getValue(std::string_view subject,
                                             std::string_view variable) const;
  virtual void deleteValue(std::string_view subject, std::string_view variable);
  virtual void deleteSubject(std::string_view subject);

  // Reading without copies, for the registries: the variable names of a subject (empty when
  // absent) and whether the subject has any. Views stay valid until the store is edited.
  [[nodiscard]] std::span<const std::string> variablesOf(std::string_view subject) const;
  [[nodiscard]] bool hasVariables(std::string_view subject) const;

  // A store parsed from `text` as if it were the content of the file `fileName`, which is not
  // read. For tests and fuzz targets, which would otherwise write a file for every input.
  [[nodiscard]] static IniFile ausText(std::string fileName, std::string_view text);

  // The stand-alone command: prints each subject and its "  name = value" lines to `out`.
  // Returns the exit status (always 0).
  static int main(std::span<const std::string_view> arguments, std::ostream& out,
                  std::ostream& err);

 private:
  // Loads like the public constructors but reports a load failure to the given streams.
  IniFile(std::string fileName, std::ostream& meldungsStrom, std::ostream& spurStrom);
  struct OhneDatei {};
  IniFile(OhneDatei, std::string fileName, std::string_view text);

  [[nodiscard]] std::optional<std::size_t> subjectIndex(std::string_view subject) const;
  [[nodiscard]] std::optional<std::size_t> variableIndex(std::size_t subject,
                                                         std::string_view variable) const;
  // Returns the position of `subject`, appending it with empty lists when it is new.
  std::size_t ensureSubject(std::string_view subject);
  // Stores `value` under the variable; a known variable keeps its position.
  void storeValue(std::size_t subject, std::string_view variable, std::string_view value);
  // Renumbers the index entries from `from` on after an erase shifted the lists.
  void reindexSubjects(std::size_t from);
  void reindexVariables(std::size_t subject, std::size_t from);

  std::vector<std::string> lines;
  std::vector<std::string> subjects;
  std::vector<std::vector<std::string>> variables;
  std::vector<std::vector<std::string>> values;
  std::string fileName;
  // Where a load failure is reported: the failure line, and the diagnostic trace. Never null.
  std::ostream* meldungen;
  std::ostream* spuren;

  // Lookup indexes over the lists above, so that files with many groups load in linear time.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>{}(s);
    }
  };
  using Index = std::unordered_map<std::string, std::size_t, Hash, std::equal_to<>>;
  Index subjectIndexes;                // subject name -> position in `subjects`
  std::vector<Index> variableIndexes;  // parallel to `variables`: name -> position
};
