#pragma once
#include <cstdint>
#include <string>

#include "fields/Vesk_WerteMenge.h"

// Every integer from `untereGrenze` to `obereGrenze`, both included.
class Vesk_WerteMengeIntervall final : public Vesk_WerteMenge {
 public:
  // Precondition: untere <= obere (the registry rejects anything else).
  Vesk_WerteMengeIntervall(std::string name, std::int32_t untere, std::int32_t obere)
      : Vesk_WerteMenge(std::move(name)), obereGrenze(obere), untereGrenze(untere) {}

  // True for a text that reads as a 32-bit integer within the bounds.
  [[nodiscard]] bool inDerMenge(vesk::MeldungsText text) const override;
  [[nodiscard]] std::int32_t gibUntereGrenze() const { return untereGrenze; }
  [[nodiscard]] std::int32_t gibObereGrenze() const { return obereGrenze; }

 private:
  std::int32_t obereGrenze;
  std::int32_t untereGrenze;
};
