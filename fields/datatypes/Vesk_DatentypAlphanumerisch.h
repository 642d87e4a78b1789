#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "fields/datatypes/Vesk_Datentyp.h"

// A text value, kept trimmed, with an optional value set: the list of the allowed texts, compared
// character for character. There is no interval form, and the empty text passes every value set.
//
// Each call of `wertemengeDefinieren` replaces the previous value set entirely.
class Vesk_DatentypAlphanumerisch final : public Vesk_Datentyp {
 public:
  Vesk_DatentypAlphanumerisch();
  explicit Vesk_DatentypAlphanumerisch(std::string_view wert);
  Vesk_DatentypAlphanumerisch(std::string_view wert, std::string_view definition);

  [[nodiscard]] bool wertebereichEingehalten() const override;
  // The empty text removes the value set and sets the status to ok; any other text is split at
  // every ',' into trimmed entries and returns ok without touching the status.
  std::int32_t wertemengeDefinieren(std::string_view definition) override;
  // Returns ok or nichtImWertebereich, never falschesFormat.
  std::int32_t zuweisen(std::string_view text) override;
  [[nodiscard]] bool istInitialwert() const override { return datum.empty(); }
  [[nodiscard]] const std::string& gibDatum() const { return datum; }

  // Exercises the class and prints its results on `out`, one line each; returns 0.
  static int main(std::ostream& out);

 private:
  std::string datum;
  std::optional<std::vector<std::string>> wertemenge;  // none: no value set
};
