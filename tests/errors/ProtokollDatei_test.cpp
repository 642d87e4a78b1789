#include "errors/ProtokollDatei.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

const std::string ALT = "Struktur ,30,4001,Vorsatz fehlt\r\nMussKann ,51,    ,Weder\r\n";

std::size_t anzahlDateien(const fs::path& ordner) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(ordner), fs::directory_iterator()));
}

TEST(ProtokollDatei, RecognisesOnlyLinesWithATagACommaAndCrLf) {
  struct Fall {
    std::string inhalt;
    bool protokoll;
  };
  const Fall faelle[] = {
      {"", true},
      {ALT, true},
      {"Muss     ,10,4001,2,x\r\nTechnisch,11,4100.1,0,y\r\n", true},
      {"Struktur ,\r\n", true},
      {"Technisch," + std::string(200000, 'x') + "\r\n", true},  // beyond one read block
      {"Struktur ,30\n", false},
      {"Struktur ,30\r\nStruktur ,30", false},
      {"Struktur ,30\r\n\r\n", false},
      {"Struktur \r\n", false},
      {"Unbekannt,99,    ,Fremder Fehler\r\n", false},
      {"struktur ,30\r\n", false},
      {"4001" + std::string(252, ' '), false},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.inhalt.substr(0, 40));
    std::istringstream eingabe(fall.inhalt);
    EXPECT_EQ(ProtokollDatei::istProtokoll(eingabe), fall.protokoll);
  }
}

// A kill during the write is a write that stops after some bytes; the old file must survive it.
TEST(ProtokollDatei, WriteStoppingPartWayLeavesTheOldFileAndNoTemporaryFile) {
  const vesk::test::TestOrdner ordner;
  const std::string pfad = ordner.schreibe("protokoll.txt", ALT);
  const std::string neu(100000, 'x');
  for (const std::size_t grenze : {std::size_t{0}, std::size_t{1}, std::size_t{99999}}) {
    SCOPED_TRACE(grenze);
    std::size_t geschrieben = 0;
    const ProtokollDatei datei(pfad, [&](int fd, const char* daten, std::size_t laenge) {
      if (geschrieben == grenze) {
        errno = ENOSPC;
        return ssize_t{-1};
      }
      const std::size_t anzahl = std::min(laenge, grenze - geschrieben);
#ifdef _WIN32
      const auto stueck = static_cast<ssize_t>(::_write(fd, daten, static_cast<unsigned>(anzahl)));
#else
      const ssize_t stueck = ::write(fd, daten, anzahl);
#endif
      geschrieben += static_cast<std::size_t>(stueck);
      return stueck;
    });
    try {
      datei.schreibe(neu);
      ADD_FAILURE() << "no exception";
    } catch (const Vesk_Exception& e) {
      EXPECT_EQ(e.toString(), "Konnte Protokolldatei " + pfad + " nicht oeffnen");
    }
    EXPECT_EQ(vesk::test::leseDatei(pfad), ALT);
    EXPECT_EQ(anzahlDateien(ordner.wurzel()), 1U);
  }
}

#ifdef _WIN32
// std::filesystem of mingw-w64 neither makes nor sees links; the system does. Wine reports
// success for CreateSymbolicLinkW but makes nothing, and Windows without developer mode refuses
// it: there the test is skipped (the command-line test of links covers wine).
bool istVerweis(const fs::path& pfad) {
  const DWORD merkmale = ::GetFileAttributesW(pfad.c_str());
  return merkmale != INVALID_FILE_ATTRIBUTES && (merkmale & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
bool verweise(const fs::path& verweis, const fs::path& ziel) {
  return ::CreateSymbolicLinkW(verweis.c_str(), ziel.c_str(),
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != 0 &&
         istVerweis(verweis);
}
#else
bool istVerweis(const fs::path& pfad) {
  return fs::is_symlink(fs::symlink_status(pfad));
}
bool verweise(const fs::path& verweis, const fs::path& ziel) {
  std::error_code fehler;
  fs::create_symlink(ziel, verweis, fehler);
  return !fehler;
}
#endif

TEST(ProtokollDatei, ReplacesTheFileALinkNamesAndKeepsTheLink) {
  const vesk::test::TestOrdner ordner;
  const std::string ziel = ordner.schreibe("ziel/protokoll.txt", ALT);
#ifndef _WIN32
  ASSERT_EQ(::chmod(ziel.c_str(), 0640), 0);
#endif
  const fs::path verweis = ordner.wurzel() / "verweis.txt";
  if (!verweise(verweis, fs::path("ziel") / "protokoll.txt")) {
    GTEST_SKIP() << "this system makes no symbolic links here";
  }

  ProtokollDatei(verweis.string()).schreibe("Technisch,11,4200,0,Falsches Format\r\n");

  EXPECT_TRUE(istVerweis(verweis));
  EXPECT_EQ(vesk::test::leseDatei(ziel), "Technisch,11,4200,0,Falsches Format\r\n");
  EXPECT_EQ(anzahlDateien(ordner.wurzel() / "ziel"), 1U);
#ifndef _WIN32
  // Windows knows no permission bits to keep.
  EXPECT_EQ(fs::status(ziel).permissions(), static_cast<fs::perms>(0640));
#endif
}

// Named pipes as POSIX has them.
#ifndef _WIN32

TEST(ProtokollDatei, WritesIntoAPipeWithoutReadingOrReplacingIt) {
  const vesk::test::TestOrdner ordner;
  const std::string pfad = ordner.pfad("rohr");
  ASSERT_EQ(::mkfifo(pfad.c_str(), 0600), 0);
  std::string gelesen;
  std::thread leser([&] { gelesen = vesk::test::leseDatei(pfad); });
  ProtokollDatei(pfad).schreibe(ALT);
  leser.join();
  EXPECT_EQ(gelesen, ALT);
  EXPECT_EQ(fs::status(pfad).type(), fs::file_type::fifo);
}
#endif

}  // namespace
