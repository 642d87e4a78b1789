#include "config/Vesk_DatensatzDateiException.h"

std::string Vesk_DatensatzDateiException::toString() const {
  const auto& fehlerGruppe = gibGruppe();
  if (!fehlerGruppe) {
    return dateiName + ":" + gibBeschreibung();
  }
  return dateiName + "," + *fehlerGruppe + ":" + gibBeschreibung();
}
