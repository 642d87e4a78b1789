#include "fields/MeldungsText.h"

#include <algorithm>

#include "config/Text.h"

namespace vesk {

namespace {
constexpr bool istAsciiByte(char zeichen) noexcept {
  return static_cast<unsigned char>(zeichen) < 0x80;
}
}  // namespace

bool MeldungsText::gleicht(std::string_view dateiText) const noexcept {
  return inhalt == dateiText && istAscii();
}

bool MeldungsText::istAscii() const noexcept {
  return std::all_of(inhalt.begin(), inhalt.end(), istAsciiByte);
}

MeldungsText MeldungsText::getrimmt() const noexcept {
  return MeldungsText(trimme(inhalt));
}

std::optional<std::int32_t> MeldungsText::alsGanzzahl() const noexcept {
  return leseGanzzahl(inhalt);
}

std::string MeldungsText::alsUtf8() const {
  std::string text;
  text.reserve(inhalt.size());
  for (const char zeichen : inhalt) {
    const auto byte = static_cast<unsigned char>(zeichen);
    if (byte < 0x80) {
      text.push_back(zeichen);
    } else {
      text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return text;
}

}  // namespace vesk
