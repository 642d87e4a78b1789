#pragma once
#include <string_view>

#include "fields/datatypes/Vesk_DatentypPlatzhalter.h"

// A time of six digits, held as given: a placeholder that accepts every text, an invalid one
// included.
class Vesk_DatentypUhrzeit6 final : public Vesk_DatentypPlatzhalter {
 public:
  Vesk_DatentypUhrzeit6() : Vesk_DatentypUhrzeit6("") {}
  explicit Vesk_DatentypUhrzeit6(std::string_view wert);
};
