#include "fields/datatypes/Vesk_DatentypUhrzeit6.h"

Vesk_DatentypUhrzeit6::Vesk_DatentypUhrzeit6(std::string_view wert)
    : Vesk_DatentypPlatzhalter("Uhrzeit 6-stellig", wert) {}
