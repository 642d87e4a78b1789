#pragma once
#include <cstdint>
#include <string_view>

#include "fields/Vesk_Feldart.h"

namespace vesk {

// The step table shared by the date and the time kind: all blanks (the initial value) or all
// digits.
struct ZiffernFeld {
  static constexpr int UNGUELTIG = Vesk_Feldart::UNGUELTIG;
  static constexpr int GUELTIG = Vesk_Feldart::GUELTIG;
  static constexpr int INITIALWERT = Vesk_Feldart::INITIALWERT;

  template <class Schritt>
  static constexpr Schritt schritt(unsigned char zeichen, int status) noexcept {
    const bool ziffer = zeichen >= '0' && zeichen <= '9';
    if (status == Vesk_Feldart::UNDEFINIERT) {
      if (zeichen == ' ') {
        return {INITIALWERT, false};
      }
      return ziffer ? Schritt{GUELTIG, true} : Schritt{UNGUELTIG, false};
    }
    if (status == GUELTIG && ziffer) {
      return {GUELTIG, true};
    }
    if (status == INITIALWERT && zeichen == ' ') {
      return {INITIALWERT, false};
    }
    return {UNGUELTIG, false};
  }
};

// The number written by `ziffern`, which holds decimal digits only.
constexpr std::int32_t zahlAus(std::string_view ziffern) noexcept {
  std::int32_t zahl = 0;
  for (const char ziffer : ziffern) {
    zahl = zahl * 10 + (ziffer - '0');
  }
  return zahl;
}

}  // namespace vesk
