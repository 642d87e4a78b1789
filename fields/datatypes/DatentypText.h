#pragma once
#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

// Text helpers of the stand-alone data types. The family shares no code with the checker, so it
// keeps its own copies of these small readers.
namespace vesk::datentyp {

// Narrows `text` by every leading and trailing character whose code is 0x20 or less (blank and
// all control characters). Bytes 0x80 and above are never trimmed.
[[nodiscard]] inline std::string_view trimme(std::string_view text) noexcept {
  const auto istTrimmbar = [](char zeichen) { return static_cast<unsigned char>(zeichen) <= 0x20; };
  while (!text.empty() && istTrimmbar(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && istTrimmbar(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Reads an optional leading minus sign followed by decimal digits and nothing else, within 32
// signed bits; nullopt for anything else, the empty text included.
[[nodiscard]] inline std::optional<std::int32_t> leseGanzzahl(std::string_view text) noexcept {
  if (text.empty()) {
    return std::nullopt;
  }
  std::int32_t wert = 0;
  const char* ende = text.data() + text.size();
  const auto [rest, fehler] = std::from_chars(text.data(), ende, wert);
  if (fehler != std::errc{} || rest != ende) {
    return std::nullopt;
  }
  return wert;
}

// Splits `text` at every ',' into trimmed pieces, empty ones included; a text without ',' gives
// one piece. The pieces point into `text`.
[[nodiscard]] inline std::vector<std::string_view> teileAmKomma(std::string_view text) {
  std::vector<std::string_view> teile;
  for (;;) {
    const std::size_t komma = text.find(',');
    teile.push_back(trimme(text.substr(0, komma)));
    if (komma == std::string_view::npos) {
      return teile;
    }
    text.remove_prefix(komma + 1);
  }
}

}  // namespace vesk::datentyp
