#include "fields/datatypes/Vesk_DatentypDatum8.h"

Vesk_DatentypDatum8::Vesk_DatentypDatum8(std::string_view wert)
    : Vesk_DatentypPlatzhalter("Datum 8-stellig", wert) {}
