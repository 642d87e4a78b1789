#include "config/Ausgabe.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <iostream>

namespace vesk {

namespace {

constexpr int ABBRUCH = 2;
constexpr unsigned char UTF8_C1_ANFANG = 0xC2;  // lead byte of U+0080-U+00BF

bool istC1Folgebyte(char zeichen) {
  const auto byte = static_cast<unsigned char>(zeichen);
  return byte >= 0x80 && byte <= 0x9F;
}

// Position of the next byte at or after `ab` that starts a control character, or npos. 0xC2 is
// never a continuation byte, so a pair C2 80-9F is U+0080-U+009F wherever it stands.
std::size_t naechstesSteuerzeichen(std::string_view text, std::size_t ab) noexcept {
  for (std::size_t i = ab; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
      return i;
    }
    if (byte == UTF8_C1_ANFANG && i + 1 < text.size() && istC1Folgebyte(text[i + 1])) {
      return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace

void haengeMaskiertAn(std::string& ziel, std::string_view text) {
  static constexpr std::string_view HEX = "0123456789ABCDEF";
  std::size_t ab = 0;
  for (std::size_t i = naechstesSteuerzeichen(text, 0); i != std::string_view::npos;
       i = naechstesSteuerzeichen(text, ab)) {
    ziel.append(text.substr(ab, i - ab));
    const bool c1 = static_cast<unsigned char>(text[i]) == UTF8_C1_ANFANG;
    const std::size_t code = static_cast<unsigned char>(text[c1 ? i + 1 : i]);
    ziel += "\\x";
    ziel += HEX[code >> 4];
    ziel += HEX[code & 0x0F];
    ab = i + (c1 ? 2 : 1);
  }
  ziel.append(text.substr(ab));
}

std::string maskiert(std::string_view text) {
  std::string ergebnis;
  ergebnis.reserve(text.size());
  haengeMaskiertAn(ergebnis, text);
  return ergebnis;
}

void schreibeZeile(std::ostream& aus, std::string_view zeile) {
  if (naechstesSteuerzeichen(zeile, 0) == std::string_view::npos) {
    aus << zeile << '\n';
  } else {
    aus << maskiert(zeile) << '\n';
  }
}

void schreibeZeilen(std::ostream& aus, std::string_view text) {
  while (!text.empty()) {
    const std::size_t ende = text.find('\n');
    if (ende == std::string_view::npos) {
      aus << maskiert(text);
      return;
    }
    schreibeZeile(aus, text.substr(0, ende));
    text.remove_prefix(ende + 1);
  }
}

bool standardausgabeGeschrieben() {
  std::cout.flush();
  // Output that bypassed the stream went to the C stream, whose error flag keeps a lost write.
  const bool cGeschrieben = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
  return cGeschrieben && !std::cout.fail();
}

void berichteAbbruch(std::string_view text) {
  std::cout.flush();
  std::cerr << "Ausnahmefehler aufgetreten:\n";
  schreibeZeile(std::cerr, text);
  std::cerr << "Programmabbruch.\n";
}

int beende(int status) {
  if (standardausgabeGeschrieben()) {
    return status;
  }
  berichteAbbruch(STANDARDAUSGABE_FEHLER);
  return ABBRUCH;
}

}  // namespace vesk
