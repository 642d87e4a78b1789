#include "driver/NachrichtenDatei.h"

#include <filesystem>
#include <string>
#include <sys/stat.h>
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

// A mapped file cut short by someone else while it is checked ends the run with the report of a
// read failure and exit status 2, not with a crash. (Windows lets nobody cut a mapped file.)
#ifndef _WIN32
TEST(NachrichtenDateiDeathTest, CutShortWhileMappedEndsWithTheReadFailureReport) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const vesk::test::TestOrdner ordner;
  const std::string name = ordner.schreibe("kurz.dat", std::string(64 * 1024, 'x'));
  EXPECT_EXIT(
      {
        const NachrichtenDatei datei(name);
        std::filesystem::resize_file(name, 0);
        volatile unsigned char byte = datei.bytes()[40000];
        static_cast<void>(byte);
      },
      ::testing::ExitedWithCode(2),
      "Ausnahmefehler aufgetreten:\nFehler beim Auslesen von .*kurz.dat\nProgrammabbruch.");
}
#endif

}  // namespace
