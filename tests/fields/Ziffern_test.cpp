#include "fields/Ziffern.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

// The digits of a text as one word read from memory, the first digit in the lowest byte.
std::uint64_t wortAus(const std::string& text) {
  std::string acht = text;
  acht.resize(8, 'x');  // bytes above the digits, which must not count
  return vesk::achtfach::lade(acht.data());
}

// Eight digits at a time give the number that digit by digit gives, at every length, with
// leading zeros, at the largest number of each length, and with any bytes above the digits.
TEST(Ziffern, ANumberOfUpToEightDigitsIsReadFromOneWord) {
  const char* const faelle[] = {"0",       "7",        "42",       "09",       "999",
                                "1000",    "12345",    "00100",    "999999",   "0000001",
                                "7654321", "12345678", "00000000", "99999999", "10000000"};
  for (const std::string ziffern : faelle) {
    SCOPED_TRACE(ziffern);
    EXPECT_EQ(static_cast<std::int32_t>(vesk::achtfach::zahlAus(wortAus(ziffern), ziffern.size())),
              vesk::zahlAus(ziffern));
  }
}

}  // namespace
