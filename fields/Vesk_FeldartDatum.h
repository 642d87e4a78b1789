#pragma once
#include "fields/Vesk_Feldart.h"

// A date of digits: "dd", "yyyy", "MMyyyy" or "ddMMyyyy", chosen by the number of digits after
// dropping leading "0000" or "00"; all blanks is the initial value. Checked in the proleptic
// Gregorian calendar for the years 0001 to 9999.
class Vesk_FeldartDatum final : public Vesk_Feldart {
 public:
  [[nodiscard]] Befund untersuche(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const override;
  [[nodiscard]] int pruefeGesamt(int status, vesk::MeldungsText daten) const override;
};
