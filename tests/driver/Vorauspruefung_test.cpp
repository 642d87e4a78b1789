#include "driver/Vorauspruefung.h"

#include <cstddef>
#include <cstdint>

#include <gtest/gtest.h>

namespace {

// Begun early only where its assumption can hold (no room for an attachment: length exactly
// header, trailer and counted records) and where it pays (several threads, a large message).
TEST(Vorauspruefung, IsBegunOnlyForALargeMessageWithoutRoomForAnAttachment) {
  constexpr std::int64_t GROSS = 20000;
  constexpr std::size_t LAENGE = (GROSS + 2) * 256;
  struct Fall {
    const char* name;
    std::size_t laenge;
    std::int64_t anzahl;
    unsigned faeden;
    bool lohnt;
  };
  const Fall faelle[] = {
      {"large, exact length, two threads", LAENGE, GROSS, 2, true},
      {"one thread", LAENGE, GROSS, 1, false},
      {"just below the size for threads", (16383 + 2) * 256, 16383, 2, false},
      {"just at the size for threads", (16384 + 2) * 256, 16384, 8, true},
      {"room for an attachment", LAENGE + 256, GROSS, 2, false},
      {"a length that is no whole number of records", LAENGE + 1, GROSS, 2, false},
      {"fewer bytes than the count needs", LAENGE - 256, GROSS, 2, false},
      {"a negative count", LAENGE, -1, 2, false},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    EXPECT_EQ(vesk::Vorauspruefung::lohnt(fall.laenge, fall.anzahl, fall.faeden), fall.lohnt);
  }
}

}  // namespace
