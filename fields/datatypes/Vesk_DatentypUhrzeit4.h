#pragma once
#include <string_view>

#include "fields/datatypes/Vesk_DatentypPlatzhalter.h"

// A time of four digits, held as given: a placeholder that accepts every text, an invalid one
// included.
class Vesk_DatentypUhrzeit4 final : public Vesk_DatentypPlatzhalter {
 public:
  Vesk_DatentypUhrzeit4() : Vesk_DatentypUhrzeit4("") {}
  explicit Vesk_DatentypUhrzeit4(std::string_view wert);
};
