#include "config/Dateien.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "driver/NachrichtenDatei.h"
#include "errors/ProtokollDatei.h"
#include "tests/support/TestDateien.h"

namespace {

struct SchliesseDatei {
  void operator()(std::FILE* datei) const { static_cast<void>(std::fclose(datei)); }
};

// A name outside ASCII reaches the same file through every way the checker opens one: on POSIX
// as the bytes given, on Windows as UTF-8 turned into the system's UTF-16. "Ł" and the CJK
// characters are in no Western ANSI code page.
TEST(Dateien, ANameOutsideAsciiReachesTheSameFileEveryWay) {
  const vesk::test::TestOrdner ordner;
  const std::string basis = vesk::dateiname(ordner.wurzel());
  for (const std::string name : {"Müller_€_Łódź.dat", "\xE6\x97\xA5\xE6\x9C\xAC.dat", "a b.dat"}) {
    SCOPED_TRACE(name);
    const std::string pfad = basis + "/" + name;
    std::ofstream(vesk::dateipfad(pfad), std::ios::binary) << "4001";
    EXPECT_EQ(vesk::dateiname(vesk::dateipfad(pfad)), pfad);
    EXPECT_TRUE(vesk::istDatei(pfad));
    const std::unique_ptr<std::FILE, SchliesseDatei> datei(vesk::oeffneZumLesen(pfad));
    ASSERT_TRUE(datei);
    std::string gelesen(8, '\0');
    gelesen.resize(std::fread(gelesen.data(), 1, gelesen.size(), datei.get()));
    EXPECT_EQ(gelesen, "4001");
    EXPECT_EQ(NachrichtenDatei(pfad).bytes().size(), 4U);
    const std::string protokoll = basis + "/Protokoll_" + name;
    ProtokollDatei(protokoll).schreibe("Struktur ,30,4001,x\r\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(vesk::dateipfad(protokoll)));
  }
}

// A name that is no UTF-8 (Latin-1 from an old definition file, say) is no fault of its own:
// on Windows it names no file (its bytes become U+FFFD), on POSIX the file of exactly those bytes.
TEST(Dateien, ANameThatIsNoUtf8IsJustAName) {
  const vesk::test::TestOrdner ordner;
  const std::string pfad = vesk::dateiname(ordner.wurzel()) + "/M\xFCller.txt";
  EXPECT_FALSE(vesk::istDatei(pfad));
  EXPECT_EQ(vesk::oeffneZumLesen(pfad), nullptr);
#ifndef _WIN32
  std::ofstream(vesk::dateipfad(pfad)) << "x";
  EXPECT_TRUE(vesk::istDatei(pfad));
  EXPECT_EQ(vesk::dateiname(vesk::dateipfad(pfad)), pfad);
#endif
}

}  // namespace
