#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace vesk::test {

// A fresh scratch folder under the system's temp folder, removed with the object. Tests write
// definition files, value-set files and messages into it from raw strings.
class TestOrdner {
 public:
  TestOrdner();
  ~TestOrdner();
  TestOrdner(const TestOrdner&) = delete;
  TestOrdner& operator=(const TestOrdner&) = delete;

  // Writes `inhalt` byte for byte to `name` (relative to the folder) and returns the full path.
  std::string schreibe(std::string_view name, std::string_view inhalt) const;
  [[nodiscard]] std::string pfad(std::string_view name) const;
  [[nodiscard]] const std::filesystem::path& wurzel() const { return ordner; }
  // Copies the example configuration from `beispiele` (the repository's examples/): the main
  // INI file, both definition files and the value-set file they name.
  void kopiereBeispielkonfiguration(const std::filesystem::path& beispiele) const;

 private:
  std::filesystem::path ordner;
};

// The current folder is `ordner` while the object lives, then the one before: the example
// configuration names its files relative to it. Declared after the folder it enters, so that it
// is left before the folder is removed (a folder in use cannot be removed everywhere).
class Arbeitsverzeichnis {
 public:
  explicit Arbeitsverzeichnis(const std::filesystem::path& ordner);
  ~Arbeitsverzeichnis();
  Arbeitsverzeichnis(const Arbeitsverzeichnis&) = delete;
  Arbeitsverzeichnis& operator=(const Arbeitsverzeichnis&) = delete;

 private:
  std::filesystem::path vorher;
};

// Reads a whole file as bytes; the empty string when it cannot be read.
std::string leseDatei(const std::string& pfad);
// The characters of a JSON `wert` back as the bytes they stand for, one byte per character.
std::string alsBytes(const std::string& utf8);

}  // namespace vesk::test
