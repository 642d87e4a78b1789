#include "config/Text.h"

#include <optional>
#include <string_view>

#include <gtest/gtest.h>

namespace {

// Integers of definition files and messages: an optional minus sign and digits within 32 signed
// bits, nothing else; short texts take a path of their own, which must answer the same.
TEST(Ganzzahl, ReadsSignedDecimalsWithin32BitsAndNothingElse) {
  struct Fall {
    std::string_view text;
    std::optional<std::int32_t> zahl;
  };
  const Fall faelle[] = {
      {"0", 0},
      {"007", 7},
      {"123456789", 123456789},
      {"999999999", 999999999},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-12", -12},
      {"2147483648", std::nullopt},
      {"99999999999", std::nullopt},
      {"", std::nullopt},
      {"+1", std::nullopt},
      {" 1", std::nullopt},
      {"1 ", std::nullopt},
      {"12a", std::nullopt},
      {"558096058X", std::nullopt},
      {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF", std::nullopt},
      {"9\xFF", std::nullopt},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.text);
    EXPECT_EQ(vesk::leseGanzzahl(fall.text), fall.zahl);
  }
}

}  // namespace
