#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vesk {

// The catalogue entry of `nummer`; the empty text for a number outside the catalogue, which no
// raiser produces.
template <std::size_t N>
[[nodiscard]] std::string_view katalogText(const std::array<std::string_view, N>& katalog,
                                           std::int32_t basis, std::int32_t nummer) noexcept {
  const std::int64_t index = std::int64_t{nummer} - basis;
  if (index < 0 || index >= static_cast<std::int64_t>(N)) {
    return {};
  }
  return katalog[static_cast<std::size_t>(index)];
}

}  // namespace vesk
