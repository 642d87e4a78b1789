#pragma once
#include "fields/Vesk_Feldart.h"

// A time of digits: "mmss" (minutes and seconds) for 4 digits, "HHmmss" for 6; all blanks is
// the initial value.
class Vesk_FeldartUhrzeit final : public Vesk_Feldart {
 public:
  [[nodiscard]] Befund untersuche(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const override;
  [[nodiscard]] int pruefeGesamt(int status, vesk::MeldungsText daten) const override;
};
