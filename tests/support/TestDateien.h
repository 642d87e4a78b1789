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

 private:
  std::filesystem::path ordner;
};

// Reads a whole file as bytes; the empty string when it cannot be read.
std::string leseDatei(const std::string& pfad);
// The characters of a JSON `wert` back as the bytes they stand for, one byte per character.
std::string alsBytes(const std::string& utf8);

}  // namespace vesk::test
