#include "config/Vesk_StrukturDateiException.h"

std::string Vesk_StrukturDateiException::toString() const {
  return mitDatei(dateiName);
}
