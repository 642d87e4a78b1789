#include "fields/datatypes/Vesk_DatentypUhrzeit4.h"

Vesk_DatentypUhrzeit4::Vesk_DatentypUhrzeit4(std::string_view wert)
    : Vesk_DatentypPlatzhalter("Uhrzeit 4-stellig", wert) {}
