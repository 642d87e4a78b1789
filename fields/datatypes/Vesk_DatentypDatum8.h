#pragma once
#include <string_view>

#include "fields/datatypes/Vesk_DatentypPlatzhalter.h"

// A date of eight digits, held as given: a placeholder that accepts every text, an invalid one
// included.
class Vesk_DatentypDatum8 final : public Vesk_DatentypPlatzhalter {
 public:
  Vesk_DatentypDatum8() : Vesk_DatentypDatum8("") {}
  explicit Vesk_DatentypDatum8(std::string_view wert);
};
