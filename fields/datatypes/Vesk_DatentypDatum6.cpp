#include "fields/datatypes/Vesk_DatentypDatum6.h"

Vesk_DatentypDatum6::Vesk_DatentypDatum6(std::string_view wert)
    : Vesk_DatentypPlatzhalter("Datum 6-stellig", wert) {}
