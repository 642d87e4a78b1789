#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// Scans of field bytes eight at a time: fields of dozens of digits or a hundred blanks are common,
// and testing each byte on its own is what the check of a large message spends its time on.
namespace achtfach {

inline constexpr std::uint64_t EINS = 0x0101010101010101ULL;

inline constexpr std::uint64_t NULLEN = '0' * EINS;

// The eight bytes from `bytes` on, the first in the lowest byte on every machine.
inline std::uint64_t lade(const char* bytes) noexcept {
  std::uint64_t wert = 0;
  std::memcpy(&wert, bytes, sizeof wert);
  if constexpr (std::endian::native == std::endian::big) {
    wert = __builtin_bswap64(wert);
  }
  return wert;
}

// Whether each of the eight bytes is a digit '0' to '9'. Only when every high half is 3 is the
// second test made, and then adding 6 to a low half of at most 0xF carries into no other byte.
inline bool alleZiffern(std::uint64_t acht) noexcept {
  constexpr std::uint64_t hoch = 0xF0F0F0F0F0F0F0F0ULL;
  return (acht & hoch) == 0x30 * EINS && ((acht + 0x06 * EINS) & hoch) == 0x30 * EINS;
}

// The number written by the `anzahl` (1 to 8) digits in the low bytes of `ziffern`, the first
// digit in the lowest byte; the bytes above them are ignored. Each digit pair, then each
// quadruple, is combined by one multiplication.
inline std::uint32_t zahlAus(std::uint64_t ziffern, std::size_t anzahl) noexcept {
  // Leading zeros in front of the digits make eight of them.
  const std::size_t vorne = 8 - anzahl;
  const std::uint64_t maske = ~std::uint64_t{0} >> (8 * vorne);
  std::uint64_t acht =
      std::rotl((ziffern & maske) | (NULLEN & ~maske), static_cast<int>(8 * vorne));
  acht -= NULLEN;
  acht = acht * 10 + (acht >> 8);
  acht = ((acht & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32)) +
          ((acht >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32))) >>
         32;
  return static_cast<std::uint32_t>(acht);
}

}  // namespace achtfach

// The index of the first byte from `ab` on that is no digit, or text.size().
inline std::size_t ersteNichtZiffer(std::string_view text, std::size_t ab) noexcept {
  std::size_t i = ab;
  while (i + 8 <= text.size() && achtfach::alleZiffern(achtfach::lade(text.data() + i))) {
    i += 8;
  }
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    ++i;
  }
  return i;
}

// The index of the first byte from `ab` on that differs from `zeichen`, or text.size().
inline std::size_t ersteAndere(std::string_view text, std::size_t ab, char zeichen) noexcept {
  const std::uint64_t muster = static_cast<unsigned char>(zeichen) * achtfach::EINS;
  std::size_t i = ab;
  while (i + 8 <= text.size() && achtfach::lade(text.data() + i) == muster) {
    i += 8;
  }
  while (i < text.size() && text[i] == zeichen) {
    ++i;
  }
  return i;
}

}  // namespace vesk
