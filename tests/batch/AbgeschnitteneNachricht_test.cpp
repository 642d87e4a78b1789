#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Hauptprogramm.h"
#include "driver/NachrichtenDatei.h"
#include "tests/support/TestDateien.h"

// Windows lets nobody cut a mapped file short.
#ifndef _WIN32

namespace {

namespace fs = std::filesystem;

// Cuts every message named "gross*.dat" short as soon as it is mapped, before a byte of it is
// read: the frame walk and the threads of the split check then meet the lost pages.
void schneideAb(const std::string& name) {
  if (fs::path(name).filename().string().starts_with("gross")) {
    fs::resize_file(name, 1000);
  }
}

class AbgeschnitteneNachricht : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path beispiele = fs::path(VESK_QUELLEN) / "examples";
    ordner.kopiereBeispielkonfiguration(beispiele);
    fs::copy_file(beispiele / "nachrichten/schadenmeldung_ok.dat", "ok.dat");
    // Large enough to be mapped and checked on several threads from the start: a header, 20,000
    // records, a trailer that counts them, no room for an attachment.
    const std::string beispiel = vesk::test::leseDatei("ok.dat");
    gross = beispiel.substr(0, 256);
    for (int i = 0; i < 20000; ++i) {
      gross += beispiel.substr(256, 256);
    }
    gross += "499900020000" + std::string(244, ' ');
    NachrichtenDatei::setzeTesthaken(schneideAb);
  }
  void TearDown() override { NachrichtenDatei::setzeTesthaken(nullptr); }

  vesk::test::TestOrdner ordner;
  vesk::test::Arbeitsverzeichnis imOrdner{ordner.wurzel()};
  std::string gross;
};

// A message cut short while it is read is that message's abbruch, on one thread or several;
// the run goes on with the others.
TEST_F(AbgeschnitteneNachricht, IsThatMessagesAbbruchAndTheRunGoesOn) {
  for (const char* jobs : {"1", "2"}) {
    SCOPED_TRACE(jobs);
    for (const char* name : {"gross1.dat", "gross2.dat"}) {
      std::ofstream(name, std::ios::binary) << gross;
    }
    std::ostringstream aus;
    std::ostringstream fehler;
    const std::vector<std::string> argumente = {"pruefen",    "--jobs", jobs,        "plausi.ini",
                                                "gross1.dat", "ok.dat", "gross2.dat"};
    EXPECT_EQ(vesk::cli::hauptprogramm(argumente, aus, fehler), 2);
    EXPECT_EQ(aus.str(),
              "gross1.dat: Abbruch: Fehler beim Auslesen von gross1.dat\n"
              "ok.dat: Schadenmeldung: OK\n"
              "gross2.dat: Abbruch: Fehler beim Auslesen von gross2.dat\n"
              "3 Nachrichten: 1 OK, 0 mit Fehlern, 2 abgebrochen\n");
    EXPECT_EQ(fehler.str(), "");
  }
}

}  // namespace

#endif
