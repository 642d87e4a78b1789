#include "dienst/Grenzen.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using vesk::dienst::alsDauer;
using vesk::dienst::alsGroesse;
using vesk::dienst::leseDauer;
using vesk::dienst::leseGroesse;

TEST(Grenzen, ReadSizesWithTheirUnitsAndRefuseTheRest) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> bytes;
  } faelle[] = {
      {"0", 0},
      {"1000", 1000},
      {"16KiB", 16384},
      {"16MiB", 16777216},
      {"2GiB", 2147483648ULL},
      {"17179869183GiB", 17179869183ULL << 30},
      {"17179869184GiB", std::nullopt},  // 2^64
      {"18446744073709551616", std::nullopt},
      {"16 MiB", std::nullopt},
      {"16MB", std::nullopt},
      {"16mib", std::nullopt},
      {"-1", std::nullopt},
      {"", std::nullopt},
      {"MiB", std::nullopt},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.text);
    EXPECT_EQ(leseGroesse(fall.text), fall.bytes);
  }
}

TEST(Grenzen, ReadDurationsInMillisecondsOrSecondsUpToADay) {
  const struct {
    const char* text;
    std::optional<std::chrono::milliseconds> dauer;
  } faelle[] = {
      {"10s", 10s},
      {"250ms", 250ms},
      {"86400s", 86400s},
      {"86401s", std::nullopt},
      {"0s", std::nullopt},
      {"10", std::nullopt},
      {"1m", std::nullopt},
      {"s", std::nullopt},
      {"99999999999999999999s", std::nullopt},
  };
  for (const auto& fall : faelle) {
    SCOPED_TRACE(fall.text);
    EXPECT_EQ(leseDauer(fall.text), fall.dauer);
  }
}

TEST(Grenzen, DefaultsPrintAsTheyAreReadBack) {
  const vesk::dienst::Grenzen vorgaben;
  EXPECT_EQ(alsGroesse(vorgaben.maxBytes), "16MiB");
  EXPECT_EQ(alsGroesse(vorgaben.maxKopf), "16KiB");
  EXPECT_EQ(alsDauer(vorgaben.lesefrist), "10s");
  EXPECT_EQ(alsDauer(vorgaben.leerlauf), "30s");
  EXPECT_EQ(alsDauer(250ms), "250ms");
  EXPECT_EQ(alsGroesse(1000), "1000");
  for (const std::uint64_t bytes :
       {std::uint64_t{1}, std::uint64_t{1536}, std::uint64_t{3} << 30}) {
    EXPECT_EQ(leseGroesse(alsGroesse(bytes)), bytes);
  }
}

}  // namespace
