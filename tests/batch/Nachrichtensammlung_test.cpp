#include "batch/Nachrichtensammlung.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/Hauptprogramm.h"
#include "tests/support/Nutzer.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

struct Erwartet {
  std::string pfad;
  std::string relativ;
  std::string fehler;  // empty: none
};

void vergleiche(const std::vector<vesk::GesammelteNachricht>& gesammelt,
                const std::vector<Erwartet>& erwartet) {
  ASSERT_EQ(gesammelt.size(), erwartet.size());
  for (std::size_t i = 0; i < erwartet.size(); ++i) {
    SCOPED_TRACE(erwartet[i].pfad);
    EXPECT_EQ(gesammelt[i].pfad, erwartet[i].pfad);
    EXPECT_EQ(fs::path(gesammelt[i].relativ()).generic_string(), erwartet[i].relativ);
    EXPECT_EQ(gesammelt[i].fehler.value_or(""), erwartet[i].fehler);
  }
}

// An inbox: messages in and beside subfolders, a link to a message and a link back to the
// folder itself, which must not be followed.
class Eingang : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"ordner/a/1.dat", "ordner/m.dat", "ordner/z_gesperrt/x.dat",
                             "ordner/a/b/2.dat", "einzeln/n.dat"}) {
      ordner.schreibe(name, "4001");
    }
#ifndef _WIN32
    fs::create_symlink("m.dat", "ordner/verweis.dat");
    fs::create_directory_symlink(".", "ordner/schleife");
#endif
  }
  vesk::test::TestOrdner ordner;
  vesk::test::Arbeitsverzeichnis imOrdner{ordner.wurzel()};
};

TEST_F(Eingang, FindsEveryMessageSortedWithItsPathBelowTheArgument) {
  const std::vector<std::string> argumente = {"ordner", "einzeln/n.dat", "fehlt.dat"};
  std::vector<Erwartet> erwartet = {
      {"ordner/a/1.dat", "a/1.dat", ""},
      {"ordner/a/b/2.dat", "a/b/2.dat", ""},
      {"ordner/m.dat", "m.dat", ""},
      {"ordner/verweis.dat", "verweis.dat", ""},
      {"ordner/z_gesperrt/x.dat", "z_gesperrt/x.dat", ""},
      {"einzeln/n.dat", "n.dat", ""},
      {"fehlt.dat", "fehlt.dat", ""},
  };
#ifdef _WIN32
  erwartet.erase(erwartet.begin() + 3);
  for (Erwartet& eintrag : erwartet) {
    if (eintrag.pfad.starts_with("ordner/")) {
      eintrag.pfad = (fs::path("ordner") / fs::path(eintrag.relativ).make_preferred()).string();
    }
  }
#endif
  vergleiche(vesk::sammleNachrichten(argumente), erwartet);
}

#ifndef _WIN32

// A subfolder that cannot be read is one entry at its place in the order; the walk goes on past
// it, so that the messages after it are found. Permissions hold for an ordinary user only.
TEST_F(Eingang, WalksPastAFolderItCannotRead) {
  fs::permissions("ordner/z_gesperrt", fs::perms::none);
  fs::permissions("ordner/a/b", fs::perms::owner_read);  // listed, but not entered
  vesk::test::alsGewoehnlicherNutzer(ordner.wurzel(), [] {
    const std::vector<std::string> argumente = {"ordner"};
    vergleiche(vesk::sammleNachrichten(argumente),
               {
                   {"ordner/a/1.dat", "a/1.dat", ""},
                   {"ordner/a/b", "a/b",
                    "Fehler beim Auslesen des Ordners ordner/a/b: keine Berechtigung"},
                   {"ordner/m.dat", "m.dat", ""},
                   {"ordner/verweis.dat", "verweis.dat", ""},
                   {"ordner/z_gesperrt", "z_gesperrt",
                    "Fehler beim Auslesen des Ordners ordner/z_gesperrt: keine Berechtigung"},
               });
  });
  fs::permissions("ordner/z_gesperrt", fs::perms::owner_all);
  fs::permissions("ordner/a/b", fs::perms::owner_all);
}

TEST_F(Eingang, VeskPruefenChecksEveryReadableMessageAndNamesTheBlockedFolder) {
  ordner.kopiereBeispielkonfiguration(fs::path(VESK_QUELLEN) / "examples");
  const fs::path beispiel = fs::path(VESK_QUELLEN) / "examples/nachrichten/schadenmeldung_ok.dat";
  for (const char* name : {"ordner/a/1.dat", "ordner/m.dat"}) {
    fs::copy_file(beispiel, name, fs::copy_options::overwrite_existing);
  }
  fs::remove("ordner/verweis.dat");
  fs::remove("ordner/a/b/2.dat");
  fs::permissions("ordner/z_gesperrt", fs::perms::none);
  vesk::test::alsGewoehnlicherNutzer(ordner.wurzel(), [] {
    const std::vector<std::string> argumente = {"pruefen", "--jobs", "2", "plausi.ini", "ordner"};
    std::ostringstream aus;
    std::ostringstream fehler;
    EXPECT_EQ(vesk::cli::hauptprogramm(argumente, aus, fehler), 2);
    EXPECT_EQ(aus.str(),
              "ordner/a/1.dat: Schadenmeldung: OK\n"
              "ordner/m.dat: Schadenmeldung: OK\n"
              "ordner/z_gesperrt: Abbruch: Fehler beim Auslesen des Ordners ordner/z_gesperrt: "
              "keine Berechtigung\n"
              "3 Nachrichten: 2 OK, 0 mit Fehlern, 1 abgebrochen\n");
    EXPECT_EQ(fehler.str(), "");
  });
  fs::permissions("ordner/z_gesperrt", fs::perms::owner_all);
}

#endif

}  // namespace
