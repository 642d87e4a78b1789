#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/Konfiguration.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

class Teillesen : public ::testing::Test {
 protected:
  vesk::test::Arbeitsverzeichnis beiDenBeispielen{fs::path(VESK_QUELLEN) / "examples"};

  vesk::test::TestOrdner ordner;
};

std::string mitAnhang(const std::string& ok, std::size_t anhang) {
  std::string anhangsSatz = ok.substr(768, 256);
  const std::string laenge = std::to_string(anhang);
  anhangsSatz.replace(117, 10, std::string(10 - laenge.size(), '0') + laenge);
  return ok.substr(0, 768) + anhangsSatz + std::string(anhang, 'A') + ok.substr(1324, 256);
}

// A file read only as the check asks (as the C library reads it) gives exactly the result of a
// file mapped whole: for messages small and large, with and without attachments, damaged at
// their start, in their middle and at their end.
TEST_F(Teillesen, GivesTheResultOfTheWholeFile) {
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  const std::string ok = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  std::vector<std::string> dateien;
  for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
    if (eintrag.path().extension() == ".dat") {
      dateien.push_back(eintrag.path().string());
    }
  }
  // Attachments past the first mebibyte read: one, and one whose description lies beyond it.
  dateien.push_back(ordner.schreibe("anhang.dat", mitAnhang(ok, 3 << 20)));
  std::string viele = ok.substr(0, 256);
  for (int i = 0; i < 6000; ++i) {
    viele += ok.substr(256, 256);
  }
  dateien.push_back(ordner.schreibe(
      "viele_teil1.dat", viele + ok.substr(768, 256) + std::string(300, 'X') + ok.substr(1324)));
  // Records only, checked ahead of the walk; and the same with a record the walk cannot name.
  std::string saetze = ok.substr(0, 256);
  for (int i = 0; i < 20000; ++i) {
    saetze += ok.substr(i % 2 == 0 ? 256 : 512, 256);
  }
  dateien.push_back(ordner.schreibe("saetze.dat", saetze + "499900020000" + std::string(244, ' ')));
  saetze.replace(256 * 9000, 4, "XXXX");
  dateien.push_back(
      ordner.schreibe("verschoben.dat", saetze + "499900020000" + std::string(244, ' ')));
  // An attachment description that declares more than the file holds.
  dateien.push_back(
      ordner.schreibe("zu_lang.dat", mitAnhang(ok, 2 << 20).substr(0, (2 << 20) - 5000)));
  for (const std::string& datei : dateien) {
    SCOPED_TRACE(datei);
    const auto ganz = vesk::pruefeDatei(*konfiguration, datei);
    const auto inTeilen =
        vesk::pruefeDatei(*konfiguration, datei, NachrichtenDatei::Zugriff::saetze);
    EXPECT_EQ(vesk::alsJsonZeile(inTeilen), vesk::alsJsonZeile(ganz));
  }
}

}  // namespace
