#include "config/Vesk_DatensatzDateiException.h"

std::string Vesk_DatensatzDateiException::toString() const {
  return mitDatei(dateiName);
}
