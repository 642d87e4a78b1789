#include "config/Vesk_Exception.h"

std::string Vesk_Exception::toString() const {
  return fehlerString;
}

std::string Vesk_Exception::gibBeschreibung() const {
  return fehlerString;
}
