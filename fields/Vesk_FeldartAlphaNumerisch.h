#pragma once
#include "fields/Vesk_Feldart.h"

// Left-aligned text; all blanks is the initial value, a leading blank before text is invalid.
// Every byte other than the blank counts as text, control characters and 0x80-0xFF included.
class Vesk_FeldartAlphaNumerisch final : public Vesk_Feldart {
 public:
  [[nodiscard]] Befund untersuche(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const override;
};
