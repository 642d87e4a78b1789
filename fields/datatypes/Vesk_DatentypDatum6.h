#pragma once
#include <string_view>

#include "fields/datatypes/Vesk_DatentypPlatzhalter.h"

// A date of six digits, held as given: a placeholder that accepts every text, an invalid one
// included.
class Vesk_DatentypDatum6 final : public Vesk_DatentypPlatzhalter {
 public:
  Vesk_DatentypDatum6() : Vesk_DatentypDatum6("") {}
  explicit Vesk_DatentypDatum6(std::string_view wert);
};
