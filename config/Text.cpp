#include "config/Text.h"

#include <charconv>

namespace vesk {

namespace {
bool istTrimmbar(char zeichen) noexcept {
  return static_cast<unsigned char>(zeichen) <= 0x20;
}
}  // namespace

std::string_view trimme(std::string_view text) noexcept {
  while (!text.empty() && istTrimmbar(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && istTrimmbar(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<std::int32_t> leseGanzzahl(std::string_view text) noexcept {
  // Up to nine digits cannot overflow: the common case of a field value, read without a call.
  if (!text.empty() && text.size() <= 9) {
    std::int32_t zahl = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      zahl = zahl * 10 + (text[i] - '0');
      ++i;
    }
    if (i == text.size()) {
      return zahl;
    }
  }
  std::int32_t wert = 0;
  const char* ende = text.data() + text.size();
  const auto [rest, fehler] = std::from_chars(text.data(), ende, wert);
  if (text.empty() || fehler != std::errc{} || rest != ende) {
    return std::nullopt;
  }
  return wert;
}

}  // namespace vesk
