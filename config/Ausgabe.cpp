#include "config/Ausgabe.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <iostream>

namespace vesk {

namespace {

constexpr int ABBRUCH = 2;
constexpr unsigned char UTF8_C1_ANFANG = 0xC2;  // lead byte of U+0080-U+00BF

bool istFolgebyte(unsigned char byte) {
  return (static_cast<unsigned>(byte) & 0xC0U) == 0x80U;
}

bool istC1(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F;
}

}  // namespace

std::size_t utf8Folge(std::string_view text, std::size_t i) noexcept {
  const auto byte = [&](std::size_t k) {
    return i + k < text.size() ? static_cast<unsigned char>(text[i + k])
                               : static_cast<unsigned char>(0);
  };
  const unsigned char erstes = byte(0);
  if (erstes < 0x80) {
    return 1;
  }
  // The range of the second byte excludes overlong forms, surrogates and codes above U+10FFFF.
  std::size_t laenge = 0;
  unsigned char zweitesAb = 0x80;
  unsigned char zweitesBis = 0xBF;
  if (erstes >= 0xC2 && erstes <= 0xDF) {
    laenge = 2;
  } else if (erstes >= 0xE0 && erstes <= 0xEF) {
    laenge = 3;
    zweitesAb = erstes == 0xE0 ? 0xA0 : 0x80;
    zweitesBis = erstes == 0xED ? 0x9F : 0xBF;
  } else if (erstes >= 0xF0 && erstes <= 0xF4) {
    laenge = 4;
    zweitesAb = erstes == 0xF0 ? 0x90 : 0x80;
    zweitesBis = erstes == 0xF4 ? 0x8F : 0xBF;
  } else {
    return 0;
  }
  if (byte(1) < zweitesAb || byte(1) > zweitesBis) {
    return 0;
  }
  for (std::size_t k = 2; k < laenge; ++k) {
    if (!istFolgebyte(byte(k))) {
      return 0;
    }
  }
  return laenge;
}

bool istUtf8(std::string_view text) noexcept {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t laenge = utf8Folge(text, i);
    if (laenge == 0) {
      return false;
    }
    i += laenge;
  }
  return true;
}

namespace {

// Position of the next byte at or after `ab` that starts a control character, or npos: a C0
// byte or DEL, the UTF-8 form of U+0080-U+009F, or a byte 0x80-0x9F outside any valid UTF-8
// sequence (the 8-bit form of a terminal control). Valid sequences are stepped over whole, so
// that their continuation bytes are never taken for controls.
std::size_t naechstesSteuerzeichen(std::string_view text, std::size_t ab) noexcept {
  for (std::size_t i = ab; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
      return i;
    }
    if (byte < 0x80) {
      continue;
    }
    const std::size_t laenge = utf8Folge(text, i);
    if (laenge == 0) {
      if (istC1(byte)) {
        return i;
      }
      continue;
    }
    if (byte == UTF8_C1_ANFANG && istC1(static_cast<unsigned char>(text[i + 1]))) {
      return i;
    }
    i += laenge - 1;
  }
  return std::string_view::npos;
}

}  // namespace

void haengeHexAn(std::string& ziel, unsigned char byte) {
  static constexpr std::string_view HEX = "0123456789ABCDEF";
  ziel += "\\x";
  ziel += HEX[byte >> 4U];
  ziel += HEX[byte & 0x0FU];
}

void haengeMaskiertAn(std::string& ziel, std::string_view text) {
  std::size_t ab = 0;
  for (std::size_t i = naechstesSteuerzeichen(text, 0); i != std::string_view::npos;
       i = naechstesSteuerzeichen(text, ab)) {
    ziel.append(text.substr(ab, i - ab));
    // A pair C2 80-9F is always valid UTF-8; any other byte found here stands alone.
    const bool c1 = static_cast<unsigned char>(text[i]) == UTF8_C1_ANFANG;
    haengeHexAn(ziel, static_cast<unsigned char>(text[c1 ? i + 1 : i]));
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
