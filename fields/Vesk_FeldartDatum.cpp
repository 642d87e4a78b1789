#include "fields/Vesk_FeldartDatum.h"

#include <chrono>
#include <string_view>

#include "fields/Ziffern.h"

namespace {

using vesk::zahlAus;

bool istTag(std::string_view dd) {
  return zahlAus(dd) >= 1 && zahlAus(dd) <= 31;
}
bool istMonat(std::string_view mm) {
  return zahlAus(mm) >= 1 && zahlAus(mm) <= 12;
}
bool istJahr(std::string_view yyyy) {
  return zahlAus(yyyy) >= 1;
}

bool istKalendertag(std::string_view ddMMyyyy) {
  const std::chrono::year_month_day datum{
      std::chrono::year{zahlAus(ddMMyyyy.substr(4, 4))},
      std::chrono::month{static_cast<unsigned>(zahlAus(ddMMyyyy.substr(2, 2)))},
      std::chrono::day{static_cast<unsigned>(zahlAus(ddMMyyyy.substr(0, 2)))}};
  return istJahr(ddMMyyyy.substr(4, 4)) && datum.ok();
}

// Whether the digits name a date that reads back as the same digits by their pattern.
bool istDatum(std::string_view ziffern) {
  switch (ziffern.size()) {
    case 2:
      return istTag(ziffern);
    case 4:
      return istJahr(ziffern);
    case 6:
      return istMonat(ziffern.substr(0, 2)) && istJahr(ziffern.substr(2, 4));
    case 8:
      return istKalendertag(ziffern);
    default:
      return false;
  }
}

}  // namespace

Vesk_Feldart::Befund Vesk_FeldartDatum::untersuche(std::span<const unsigned char> bytes,
                                                   std::size_t start, std::int32_t anzahlBytes,
                                                   const Vesk_WerteMenge* werteMenge) const {
  return pruefeZiffern(bytes, start, anzahlBytes, werteMenge);
}

int Vesk_FeldartDatum::pruefeGesamt(int status, vesk::MeldungsText daten) const {
  std::string_view ziffern = daten.roh();
  if (ziffern.empty()) {
    return status;
  }
  if (ziffern.size() > 4 && ziffern.starts_with("0000")) {
    ziffern.remove_prefix(4);
  } else if (ziffern.size() > 2 && ziffern.starts_with("00")) {
    ziffern.remove_prefix(2);
  }
  return istDatum(ziffern) ? GUELTIG : UNGUELTIG;
}
