#pragma once
#include "fields/Vesk_Feldart.h"
#include "fields/ZiffernFeld.h"

// A time of digits: "mmss" (minutes and seconds) for 4 digits, "HHmmss" for 6; all blanks is
// the initial value.
class Vesk_FeldartUhrzeit final : public Vesk_Feldart {
 public:
  [[nodiscard]] int pruefe(std::span<const unsigned char> bytes, std::size_t start,
                           std::int32_t anzahlBytes,
                           const Vesk_WerteMenge* werteMenge) const override;
  [[nodiscard]] int pruefeGesamt(int status) const override;
  // The step table of the kind.
  static constexpr Schritt anfuegen(unsigned char zeichen, int status) noexcept {
    return vesk::ZiffernFeld::schritt<Schritt>(zeichen, status);
  }
};
