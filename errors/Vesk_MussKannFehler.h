#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "errors/Vesk_Fehler.h"

// A finding of the Muss-Kann rules (numbers 50 and 51).
class Vesk_MussKannFehler : public Vesk_Fehler {
 public:
  static constexpr std::int32_t BASIS = 50;
  static constexpr std::int32_t REGEL1 = 50;
  static constexpr std::int32_t REGEL2 = 51;

  static constexpr std::array<std::string_view, 2> fehlerBeschreibungen = {
      "Versicherung ist nicht zu ermitteln",
      "Weder VU-Nummer noch Amtl. Kennzeichen gefuellt",
  };
  static_assert(fehlerBeschreibungen.size() == REGEL2 - BASIS + 1);

  explicit Vesk_MussKannFehler(std::int32_t nummer);
  Vesk_MussKannFehler(std::int32_t nummer, std::string text);

  // "Muss-Kann Fehler: description[  text]"
  [[nodiscard]] std::string gibBeschreibung() const override;
  [[nodiscard]] std::string_view gibFehlerText() const override;
  [[nodiscard]] std::unique_ptr<Vesk_Fehler> kopiere() const override {
    return std::make_unique<Vesk_MussKannFehler>(*this);
  }
  [[nodiscard]] std::string_view gibProtokollKennung() const override { return "MussKann "; }
};
