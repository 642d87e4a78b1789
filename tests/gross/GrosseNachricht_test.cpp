// A message file larger than 2 GiB: a header, one attachment description declaring
// 2147483647 bytes, the attachment and the trailer, written as a sparse file. The checker maps
// it, never reads the attachment and finds it consistent. Needs about 2 GiB of free address
// space but hardly any disk; labelled "gross" so that it can be left out with ctest -LE gross.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "driver/NachrichtenDatei.h"
#include "driver/Vesk_Plausipruefung.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

using vesk::test::SatzBauer;

constexpr std::string_view DATENSAETZE = R"([Wertemengen]
Ziffern = 0-9
[4001]
Satzart  = m, n, 1, 4
Sendeart = m, an, 5, 2
Rest     =  , an, 7, 250
[4900]
Satzart = m, n, 1, 4
F2  = , an, 5, 1
F3  = , an, 6, 1
F4  = , an, 7, 1
F5  = , an, 8, 1
F6  = , an, 9, 1
F7  = , an, 10, 1
F8  = , an, 11, 1
F9  = , an, 12, 1
F10 = , an, 13, 1
F11 = , an, 14, 1
Laenge = m, n, 15, 10
Rest    =  , an, 25, 232
[4999]
Satzart = m, n, 1, 4
Anzahl  = m, n, 5, 10
Rest    =  , an, 15, 242
)";

constexpr std::string_view STRUKTUR = R"([Nachrichtentypen]
Schadenmeldung = 01
[Schadenmeldung]
4001 = 1
4900 = 1
4999 = 1
[muss-kann-Plausis]
Regel1 = aus
Regel2 = aus
)";

class GrosseNachricht : public vesk::test::RegistryTest {};

// The file of a message with an attachment of `anhang` bytes (2 GiB), sparse, whose trailer
// counts `anzahl` records.
std::string schreibeGrosseNachricht(const std::string& datei, std::int64_t anhang = 2147483647,
                                    const std::string& anzahl = "0000000001") {
  const std::int64_t laenge = 3 * 256 + anhang;
  {
    std::ofstream aus(datei, std::ios::binary);
    aus << SatzBauer("4001").setze(5, "01").bytes()
        << SatzBauer("4900").setze(15, std::to_string(anhang)).bytes();
  }
  std::filesystem::resize_file(datei, static_cast<std::uintmax_t>(laenge));
  {
    std::fstream aus(datei, std::ios::binary | std::ios::in | std::ios::out);
    aus.seekp(laenge - 256);
    aus << SatzBauer("4999").setze(5, anzahl).bytes();
  }
  return datei;
}

TEST_F(GrosseNachricht, OfMoreThanTwoGibibytesIsCheckedWithoutReadingTheAttachment) {
  const std::string datei = schreibeGrosseNachricht(ordner.pfad("gross.dat"));
  ASSERT_GT(std::filesystem::file_size(datei), std::uintmax_t{1} << 31);

  const Vesk_Plausipruefung pruefung(ordner.schreibe("struktur.ini", STRUKTUR),
                                     ordner.schreibe("datensaetze.ini", DATENSAETZE));
  const NachrichtenDatei nachricht(datei);
  std::ostringstream stumm;
  auto* alt = std::cout.rdbuf(stumm.rdbuf());
  const auto liste = pruefung.pruefe(nachricht.bytes());
  std::cout.rdbuf(alt);
  EXPECT_EQ(liste.gibGroesse(), 0U) << liste.gibFehler(0).gibBeschreibung();
  EXPECT_EQ(stumm.str(), "Reihenfolge OK\nStruktur OK\nMussKann Plausi OK\n");
}

#ifndef _WIN32

// What reading a message in part may add to the peak memory: the records and a mebibyte of
// reading ahead within 8 MiB, as promised. Under a sanitizer its own allocator and shadow memory
// come on top, so the bound there only tells reading the records from reading the file.
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define VESK_MIT_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(VESK_MIT_SANITIZER)
constexpr std::int64_t SPIELRAUM = std::int64_t{64} << 20;
#else
constexpr std::int64_t SPIELRAUM = std::int64_t{8} << 20;
#endif

// The peak of the memory the process holds, in bytes.
std::int64_t hoechsterSpeicher() {
  rusage nutzung{};
  ::getrusage(RUSAGE_SELF, &nutzung);
  return std::int64_t{nutzung.ru_maxrss} * 1024;
}

// The findings of `datei` read as the C library reads it, and how much that raised the peak
// memory.
struct InTeilenGeprueft {
  Vesk_FehlerListe liste;
  std::int64_t zuwachs;
};

InTeilenGeprueft pruefeInTeilen(const vesk::test::TestOrdner& ordner, const std::string& datei) {
  Vesk_Plausipruefung pruefung(ordner.schreibe("struktur.ini", STRUKTUR),
                               ordner.schreibe("datensaetze.ini", DATENSAETZE));
  const std::int64_t vorher = hoechsterSpeicher();
  NachrichtenDatei nachricht(datei, NachrichtenDatei::Zugriff::saetze);
  pruefung.setzeNachschub([&](std::size_t bis) { return nachricht.sichere(bis); });
  Vesk_FehlerListe liste = pruefung.pruefe(nachricht.bytes(), nullptr);
  return {std::move(liste), hoechsterSpeicher() - vorher};
}

// Read as the C library reads it, only the records are read: the memory it takes follows them,
// not the file.
TEST_F(GrosseNachricht, ReadAsTheCheckAsksTakesTheMemoryOfItsRecordsOnly) {
  const auto [liste, zuwachs] =
      pruefeInTeilen(ordner, schreibeGrosseNachricht(ordner.pfad("gross.dat")));
  EXPECT_EQ(liste.gibGroesse(), 0U) << liste.gibFehler(0).gibBeschreibung();
  EXPECT_LT(zuwachs, SPIELRAUM);
}

// A trailer that counts as many records as the length holds would have the records checked
// ahead of the walk, over all of the file; read in part, the walk alone decides what is read.
TEST_F(GrosseNachricht, ReadAsTheCheckAsksIsNotReadWholeForATrailersCount) {
  constexpr std::int64_t anhang = 2147483648 - 256;
  const auto [liste, zuwachs] = pruefeInTeilen(
      ordner,
      schreibeGrosseNachricht(ordner.pfad("gross.dat"), anhang, std::to_string(1 + anhang / 256)));
  ASSERT_GT(liste.gibGroesse(), 0U);
  EXPECT_EQ(liste.gibFehler(0).gibFehlerNummer(), 29);  // the count
  EXPECT_LT(zuwachs, SPIELRAUM);
}

#endif

}  // namespace
