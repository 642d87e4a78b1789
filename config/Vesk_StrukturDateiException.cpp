#include "config/Vesk_StrukturDateiException.h"

std::string Vesk_StrukturDateiException::toString() const {
  const auto& fehlerGruppe = gibGruppe();
  if (!fehlerGruppe) {
    return dateiName + ":" + gibBeschreibung();
  }
  return dateiName + "," + *fehlerGruppe + ":" + gibBeschreibung();
}
