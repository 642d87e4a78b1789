#include "fields/datatypes/Vesk_Datentyp.h"

#include <utility>

Vesk_Datentyp::~Vesk_Datentyp() = default;

std::int32_t Vesk_Datentyp::gibStatus() const {
  return status;
}

const std::string& Vesk_Datentyp::gibTyp() const {
  return datentyp;
}

void Vesk_Datentyp::setzeTyp(std::string typ) {
  datentyp = std::move(typ);
}
