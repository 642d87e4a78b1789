#include "config/Vesk_IniFileException.h"

std::string Vesk_IniFileException::toString() const {
  if (!gruppe) {
    return gibBeschreibung();
  }
  return *gruppe + ":" + gibBeschreibung();
}

void Vesk_IniFileException::setzeGruppe(std::string neueGruppe) {
  gruppe = std::move(neueGruppe);
}

std::string Vesk_IniFileException::mitDatei(const std::string& klassenweit) const {
  const std::string& datei = eigeneDatei ? *eigeneDatei : klassenweit;
  if (!gruppe) {
    return datei + ":" + gibBeschreibung();
  }
  return datei + "," + *gruppe + ":" + gibBeschreibung();
}
