#include "batch/Protokollablage.h"

#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Hauptprogramm.h"
#include "driver/Vesk_Plausipruefer.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

struct Lauf {
  int status;
  std::string aus;
  std::string fehler;
};

Lauf vesk(const std::vector<std::string>& argumente) {
  std::ostringstream aus;
  std::ostringstream fehler;
  const int status = vesk::cli::hauptprogramm(argumente, aus, fehler);
  return {status, aus.str(), fehler.str()};
}

// The protocol file the checker itself writes for `nachricht`, or "" when it writes none.
std::string protokollDesPruefers(const std::string& nachricht) {
  const std::string ziel = "vergleich.protokoll";
  fs::remove(ziel);
  std::ostringstream verworfen;
  auto* vorher = std::cout.rdbuf(verworfen.rdbuf());
  const std::vector<std::string_view> argumente = {"plausi.ini", nachricht, ziel};
  static_cast<void>(Vesk_Plausipruefer::main(argumente));
  std::cout.rdbuf(vorher);
  return fs::exists(ziel) ? vesk::test::leseDatei(ziel) : "";
}

// The example configuration and its messages, some in a subfolder of the inbox, one on its own.
class Protokolle : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path beispiele = fs::path(VESK_QUELLEN) / "examples";
    ordner.kopiereBeispielkonfiguration(beispiele);
    fs::create_directories("eingang/alt");
    fs::create_directories("einzeln");
    for (const auto& eintrag : fs::directory_iterator(beispiele / "nachrichten")) {
      if (eintrag.path().extension() == ".dat") {
        const std::string name = eintrag.path().filename().string();
        fs::copy_file(eintrag.path(),
                      (name.find("ok") != std::string::npos ? "eingang/alt/" : "eingang/") + name);
      }
    }
    fs::copy_file(beispiele / "nachrichten/schadenmeldung_feldfehler.dat", "einzeln/feld.dat");
  }
  vesk::test::TestOrdner ordner;
  vesk::test::Arbeitsverzeichnis imOrdner{ordner.wurzel()};
};

TEST_F(Protokolle, EachIsByteForByteTheCheckersUnderTheMessagesPath) {
  const Lauf lauf = vesk({"pruefen", "--protokolle", "ablage/heute", "plausi.ini", "eingang",
                          "einzeln/feld.dat", "fehlt.dat"});
  EXPECT_EQ(lauf.status, 2);  // fehlt.dat
  std::vector<std::string> geprueft;
  for (const auto& eintrag : fs::recursive_directory_iterator("eingang")) {
    if (eintrag.is_regular_file()) {
      geprueft.push_back(eintrag.path().generic_string());
    }
  }
  ASSERT_EQ(geprueft.size(), 6U);
  geprueft.push_back("einzeln/feld.dat");
  std::size_t mitFehlern = 0;
  for (const std::string& nachricht : geprueft) {
    SCOPED_TRACE(nachricht);
    const std::string relativ =
        nachricht.starts_with("eingang/") ? nachricht.substr(8) : "feld.dat";
    const fs::path ziel = fs::path("ablage/heute") / (relativ + ".protokoll");
    ASSERT_TRUE(fs::is_regular_file(ziel));
    const std::string erwartet = protokollDesPruefers(nachricht);
    EXPECT_EQ(vesk::test::leseDatei(ziel.string()), erwartet);
    mitFehlern += erwartet.empty() ? 0U : 1U;
  }
  EXPECT_EQ(mitFehlern, 6U);  // all but the clean example
  EXPECT_FALSE(fs::exists("ablage/heute/fehlt.dat.protokoll"));
  // Nothing else, and no temporary file, is left in the folder.
  std::size_t dateien = 0;
  for (const auto& eintrag : fs::recursive_directory_iterator("ablage")) {
    dateien += eintrag.is_regular_file() ? 1U : 0U;
  }
  EXPECT_EQ(dateien, geprueft.size());
}

TEST_F(Protokolle, TheJsonOfEachMessageNamesItsFile) {
  const Lauf lauf = vesk({"pruefen", "--json", "--protokolle", "ablage", "plausi.ini",
                          "einzeln/feld.dat", "fehlt.dat"});
  std::istringstream zeilen(lauf.aus);
  std::string zeile;
  ASSERT_TRUE(std::getline(zeilen, zeile));
  EXPECT_EQ(nlohmann::json::parse(zeile)["protokoll"],
            (fs::path("ablage") / "feld.dat.protokoll").string());
  ASSERT_TRUE(std::getline(zeilen, zeile));
  EXPECT_FALSE(nlohmann::json::parse(zeile).contains("protokoll"));
}

TEST_F(Protokolle, TwoMessagesWithOneProtocolNameAreAUsageErrorBeforeAnyCheck) {
  fs::copy_file("einzeln/feld.dat", "eingang/feld.dat");
  const Lauf lauf =
      vesk({"pruefen", "--protokolle", "ablage", "plausi.ini", "einzeln/feld.dat", "eingang"});
  EXPECT_EQ(lauf.status, 2);
  EXPECT_EQ(lauf.aus, "");
  const std::string ziel = (fs::path("ablage") / "feld.dat.protokoll").string();
  EXPECT_EQ(lauf.fehler, "vesk: --protokolle: einzeln/feld.dat und " +
                             (fs::path("eingang") / "feld.dat").string() +
                             " erhielten beide die Protokolldatei " + ziel +
                             "\nMehr mit: vesk pruefen --help\n");
  EXPECT_FALSE(fs::exists("ablage"));
}

// A file in the way that is no protocol is left as it is; that message's findings are reported
// and then the failure, as the checker does, and the run goes on.
TEST_F(Protokolle, AFileThatIsNoProtocolIsKeptAndItsMessageEndsInAnAbbruch) {
  fs::create_directory("ablage");
  ordner.schreibe("ablage/feld.dat.protokoll", "Kundendaten\n");
  const Lauf lauf = vesk({"pruefen", "--protokolle", "ablage", "plausi.ini", "einzeln/feld.dat",
                          "eingang/alt/schadenmeldung_ok.dat"});
  EXPECT_EQ(lauf.status, 2);
  const std::string ziel = (fs::path("ablage") / "feld.dat.protokoll").string();
  EXPECT_NE(lauf.aus.find("einzeln/feld.dat:1:305: Technischer Fehler"), std::string::npos);
  EXPECT_NE(lauf.aus.find("einzeln/feld.dat: Abbruch: Protokolldatei " + ziel +
                          " ist keine Protokolldatei und wird nicht ueberschrieben\n"),
            std::string::npos);
  EXPECT_NE(lauf.aus.find("eingang/alt/schadenmeldung_ok.dat: Schadenmeldung: OK\n"),
            std::string::npos);
  EXPECT_EQ(vesk::test::leseDatei(ziel), "Kundendaten\n");
  EXPECT_EQ(vesk::test::leseDatei("ablage/schadenmeldung_ok.dat.protokoll"), "");
  EXPECT_TRUE(fs::exists("ablage/schadenmeldung_ok.dat.protokoll"));
}

}  // namespace
