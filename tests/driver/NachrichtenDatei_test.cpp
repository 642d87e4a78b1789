#include "driver/NachrichtenDatei.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "tests/support/TestDateien.h"

namespace {

std::string ausnahmeText(const std::string& name) {
  try {
    const NachrichtenDatei datei(name);
  } catch (const Vesk_Exception& e) {
    return e.toString();
  }
  return "no exception";
}

TEST(NachrichtenDatei, HoldsTheBytesOfTheFile) {
  const vesk::test::TestOrdner ordner;
  const std::string inhalt = std::string("4001\0\xFF", 6) + std::string(1000, 'x');
  const NachrichtenDatei datei(ordner.schreibe("n.dat", inhalt));
  const auto bytes = datei.bytes();
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), inhalt);
}

// Nothing that is no regular file with bytes counts as found; a pipe does not block the run.
TEST(NachrichtenDatei, IsNotFoundWhenMissingEmptyADirectoryOrAPipe) {
  const vesk::test::TestOrdner ordner;
  std::vector<std::string> namen = {ordner.pfad("fehlt.dat"), ordner.pfad("fehlt/auch.dat"),
                                    ordner.schreibe("leer.dat", ""), ordner.wurzel().string()};
#ifndef _WIN32
  namen.push_back(ordner.pfad("rohr"));
  ASSERT_EQ(::mkfifo(namen.back().c_str(), 0600), 0);
#endif
  for (const std::string& name : namen) {
    EXPECT_EQ(ausnahmeText(name), "Nachrichtendatei " + name + " nicht gefunden");
  }
}

// A mapped file cut short by someone else while it is read: the bytes it lost read as zeros,
// in whichever thread touches them, and the file then tells that it was not read whole. No
// crash; a file that stays whole, mapped after or beside it, is not taken for cut. (Windows lets
// nobody cut a mapped file.)
#ifndef _WIN32
TEST(NachrichtenDatei, CutShortWhileMappedReadsZerosAndTellsTheReadFailure) {
  const vesk::test::TestOrdner ordner;
  const std::string name = ordner.schreibe("kurz.dat", std::string(256 * 1024, 'x'));
  const std::string ganz = ordner.schreibe("ganz.dat", std::string(128 * 1024, 'y'));
  const NachrichtenDatei unversehrt(ganz);
  for (const bool imFaden : {false, true}) {
    SCOPED_TRACE(imFaden ? "touched by another thread" : "touched by this thread");
    ordner.schreibe("kurz.dat", std::string(256 * 1024, 'x'));
    const NachrichtenDatei datei(name);
    std::filesystem::resize_file(name, 1000);
    unsigned summe = 0;
    const auto lies = [&] {
      for (std::size_t i = 4096; i < datei.bytes().size(); i += 4096) {
        summe += datei.bytes()[i];
      }
    };
    if (imFaden) {
      std::thread(lies).join();
    } else {
      lies();
    }
    EXPECT_EQ(summe, 0U);
    EXPECT_EQ(datei.bytes()[0], 0U);  // all of the mapping reads as zeros once a part is lost
    try {
      datei.pruefeUnversehrt();
      ADD_FAILURE() << "no exception";
    } catch (const Vesk_Exception& e) {
      EXPECT_EQ(e.toString(), "Fehler beim Auslesen von " + name);
    }
    EXPECT_NO_THROW(unversehrt.pruefeUnversehrt());
    EXPECT_EQ(unversehrt.bytes()[100000], 'y');
  }
  const NachrichtenDatei spaeter(ganz);
  EXPECT_NO_THROW(spaeter.pruefeUnversehrt());
}
#endif

}  // namespace
