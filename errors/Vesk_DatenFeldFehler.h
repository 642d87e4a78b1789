#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "errors/Vesk_Fehler.h"

// A finding of the technical check about one field (numbers 10 to 12).
class Vesk_DatenFeldFehler : public Vesk_Fehler {
 public:
  static constexpr std::int32_t BASIS = 10;
  static constexpr std::int32_t MUSS_FEHLER = 10;
  static constexpr std::int32_t FORMAT_FEHLER = 11;
  static constexpr std::int32_t WERTEBEREICH_FEHLER = 12;

  static constexpr std::array<std::string_view, 3> fehlerBeschreibungen = {
      "Muss-Feld nicht gefuellt",
      "Falsches Format",
      "Nicht in Wertemenge: ",
  };
  static_assert(fehlerBeschreibungen.size() == WERTEBEREICH_FEHLER - BASIS + 1);

  explicit Vesk_DatenFeldFehler(std::int32_t nummer);
  Vesk_DatenFeldFehler(std::int32_t nummer, std::string text);

  // "Technischer Fehler: Satzart: s Feldnummer: n+1; description[  text]"
  [[nodiscard]] std::string gibBeschreibung() const override;
  [[nodiscard]] std::string_view gibFehlerText() const override;
  [[nodiscard]] std::unique_ptr<Vesk_Fehler> kopiere() const override {
    return std::make_unique<Vesk_DatenFeldFehler>(*this);
  }
  [[nodiscard]] std::string_view gibProtokollKennung() const override;
  // The 0-based index of the field in its record type's field list.
  void setzeFeldNummer(std::int32_t nummer) { feldNummer = nummer; }
  [[nodiscard]] std::int32_t gibFeldNummer() const { return feldNummer; }

 private:
  std::int32_t feldNummer = 0;
};
