#include "tests/support/TestDateien.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace vesk::test {

TestOrdner::TestOrdner() {
  static std::atomic<unsigned> zaehler{0};
  std::random_device zufall;
  ordner = std::filesystem::temp_directory_path() /
           ("vesk-test-" + std::to_string(zufall()) + "-" + std::to_string(++zaehler));
  std::filesystem::create_directories(ordner);
}

TestOrdner::~TestOrdner() {
  std::error_code ignoriert;
  std::filesystem::remove_all(ordner, ignoriert);
}

void TestOrdner::kopiereBeispielkonfiguration(const std::filesystem::path& beispiele) const {
  for (const char* name : {"plausi.ini", "struktur.ini", "datensaetze.ini", "schadenarten.txt"}) {
    std::filesystem::copy_file(beispiele / name, ordner / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

Arbeitsverzeichnis::Arbeitsverzeichnis(const std::filesystem::path& ordner)
    : vorher(std::filesystem::current_path()) {
  std::filesystem::current_path(ordner);
}

Arbeitsverzeichnis::~Arbeitsverzeichnis() {
  std::error_code ignoriert;
  std::filesystem::current_path(vorher, ignoriert);
}

std::string TestOrdner::schreibe(std::string_view name, std::string_view inhalt) const {
  const auto ziel = ordner / name;
  std::filesystem::create_directories(ziel.parent_path());
  std::ofstream datei(ziel, std::ios::binary | std::ios::trunc);
  datei.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
  return ziel.string();
}

std::string TestOrdner::pfad(std::string_view name) const {
  return (ordner / name).string();
}

std::string leseDatei(const std::string& pfad) {
  std::ifstream datei(pfad, std::ios::binary);
  std::ostringstream inhalt;
  inhalt << datei.rdbuf();
  return inhalt.str();
}

std::string alsBytes(const std::string& utf8) {
  std::string bytes;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto zeichen = static_cast<unsigned char>(utf8[i]);
    if (zeichen < 0x80) {
      bytes += static_cast<char>(zeichen);
    } else {
      const auto folge = static_cast<unsigned char>(utf8[++i]);
      bytes += static_cast<char>(((zeichen & 0x03U) << 6U) | (folge & 0x3FU));
    }
  }
  return bytes;
}

}  // namespace vesk::test
