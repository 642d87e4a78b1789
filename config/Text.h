#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// Text helpers shared by every reader of definition files and message values.
namespace vesk {

// Narrows `text` by every leading and trailing character whose code is 0x20 or less (blank and
// all control characters). Bytes 0x80 and above are never trimmed.
[[nodiscard]] std::string_view trimme(std::string_view text) noexcept;

// Reads an optional leading minus sign followed by decimal digits and nothing else, within 32
// signed bits; nullopt for anything else, the empty text included.
[[nodiscard]] std::optional<std::int32_t> leseGanzzahl(std::string_view text) noexcept;

}  // namespace vesk
