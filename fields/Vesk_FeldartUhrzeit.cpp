#include "fields/Vesk_FeldartUhrzeit.h"

#include <string_view>

#include "fields/Ziffern.h"

namespace {

using vesk::zahlAus;

bool istMinuteSekunde(std::string_view mmss) {
  return zahlAus(mmss.substr(0, 2)) <= 59 && zahlAus(mmss.substr(2, 2)) <= 59;
}

bool istStundeMinuteSekunde(std::string_view hhmmss) {
  return zahlAus(hhmmss.substr(0, 2)) <= 23 && istMinuteSekunde(hhmmss.substr(2));
}

}  // namespace

Vesk_Feldart::Befund Vesk_FeldartUhrzeit::untersuche(std::span<const unsigned char> bytes,
                                                     std::size_t start, std::int32_t anzahlBytes,
                                                     const Vesk_WerteMenge* werteMenge) const {
  return pruefeZiffern(bytes, start, anzahlBytes, werteMenge);
}

int Vesk_FeldartUhrzeit::pruefeGesamt(int status, vesk::MeldungsText daten) const {
  const std::string_view ziffern = daten.roh();
  switch (ziffern.size()) {
    case 0:
      return status;
    case 4:
      return istMinuteSekunde(ziffern) ? GUELTIG : UNGUELTIG;
    case 6:
      return istStundeMinuteSekunde(ziffern) ? GUELTIG : UNGUELTIG;
    default:
      return UNGUELTIG;
  }
}
