#pragma once
#include "fields/Vesk_Feldart.h"

// Digits only; all zeros is the initial value, and leading zeros are not collected.
class Vesk_FeldartNumerisch final : public Vesk_Feldart {
 public:
  [[nodiscard]] int pruefe(std::span<const unsigned char> bytes, std::size_t start,
                           std::int32_t anzahlBytes,
                           const Vesk_WerteMenge* werteMenge) const override;
  // The step table of the kind.
  static constexpr Schritt anfuegen(unsigned char zeichen, int status) noexcept {
    if (zeichen == '0') {
      return status == GUELTIG ? Schritt{GUELTIG, true} : Schritt{INITIALWERT, false};
    }
    if (zeichen >= '1' && zeichen <= '9') {
      return {GUELTIG, true};
    }
    return {UNGUELTIG, false};
  }
};
