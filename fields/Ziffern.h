#pragma once
#include <cstdint>
#include <string_view>

namespace vesk {

// The number written by `ziffern`, which holds decimal digits only.
constexpr std::int32_t zahlAus(std::string_view ziffern) noexcept {
  std::int32_t zahl = 0;
  for (const char ziffer : ziffern) {
    zahl = zahl * 10 + (ziffer - '0');
  }
  return zahl;
}

}  // namespace vesk
