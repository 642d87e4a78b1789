#pragma once
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "fields/datatypes/Vesk_Datentyp.h"

// A signed 32-bit integer value with an optional value set: a list "1,2,3" or an interval "1-3".
// The value 0 is the initial value and passes every value set.
//
// A value-set definition is all or nothing: each call of `wertemengeDefinieren` replaces the
// previous value set entirely, and a definition that is rejected (mixed, or with a number that
// does not convert) leaves no value set behind.
class Vesk_DatentypNumerisch final : public Vesk_Datentyp {
 public:
  Vesk_DatentypNumerisch();
  explicit Vesk_DatentypNumerisch(std::string_view wert);
  // Assigns `wert` only if the definition did not leave the status at wertemengeFalschDefiniert.
  Vesk_DatentypNumerisch(std::string_view wert, std::string_view definition);

  [[nodiscard]] bool wertebereichEingehalten() const override;
  // The empty text removes the value set and sets the status to ok. A definition holding both
  // ',' and '-' returns and keeps wertemengeFalschDefiniert. A number that does not convert
  // returns falschesFormat without touching the status, so a following assignment still runs.
  std::int32_t wertemengeDefinieren(std::string_view definition) override;
  // On a text that is no number, keeps the previous value and reports falschesFormat, unless the
  // kept value lies outside the value set: then nichtImWertebereich.
  std::int32_t zuweisen(std::string_view text) override;
  [[nodiscard]] bool istInitialwert() const override { return datum == 0; }
  [[nodiscard]] std::int32_t gibDatum() const { return datum; }

  // Exercises the class and prints its results on `out`, one line each; returns 0.
  static int main(std::ostream& out);

 private:
  std::int32_t datum = 0;
  // None: no value set. A list holds its numbers here; an interval leaves it empty and keeps its
  // bounds in untereGrenze and obereGrenze, which are not compared with each other.
  std::optional<std::vector<std::int32_t>> wertemenge;
  bool istListe = false;
  std::int32_t untereGrenze = 0;
  std::int32_t obereGrenze = 0;
};
