#pragma once
#include "fields/Vesk_Feldart.h"

// Digits only; all zeros is the initial value, and leading zeros are not collected.
class Vesk_FeldartNumerisch final : public Vesk_Feldart {
 public:
  [[nodiscard]] Befund untersuche(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const override;
};
