#include "driver/Vorauspruefung.h"

#include <cstddef>
#include <cstdint>

#include <gtest/gtest.h>

namespace {

// Begun early only where its assumption can hold (no room for an attachment: length exactly
// header, trailer and counted records) and where it pays (a large message), on any number of
// threads.
TEST(Vorauspruefung, IsBegunOnlyForALargeMessageWithoutRoomForAnAttachment) {
  constexpr std::int64_t GROSS = 20000;
  constexpr std::size_t LAENGE = (GROSS + 2) * 256;
  struct Fall {
    const char* name;
    std::size_t laenge;
    std::int64_t anzahl;
    bool lohnt;
  };
  const Fall faelle[] = {
      {"large, exact length", LAENGE, GROSS, true},
      {"just below the size for threads", (16383 + 2) * 256, 16383, false},
      {"just at the size for threads", (16384 + 2) * 256, 16384, true},
      {"room for an attachment", LAENGE + 256, GROSS, false},
      {"a length that is no whole number of records", LAENGE + 1, GROSS, false},
      {"fewer bytes than the count needs", LAENGE - 256, GROSS, false},
      {"a negative count", LAENGE, -1, false},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    EXPECT_EQ(vesk::Vorauspruefung::lohnt(fall.laenge, fall.anzahl), fall.lohnt);
  }
}

}  // namespace
