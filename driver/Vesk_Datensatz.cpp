#include "driver/Vesk_Datensatz.h"

#include <string>

#include "config/Text.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"

Vesk_Datensatz::Vesk_Datensatz(std::string_view name, const Vesk_Satzart& typ,
                               std::span<const unsigned char> nachricht, std::size_t anfang)
    : satzart(&typ), satz(nachricht.subspan(anfang, SATZLAENGE).data()) {
  const auto nummer = vesk::leseGanzzahl(name.substr(0, 4));
  std::optional<std::int32_t> teilNummer = 1;
  if (name.size() > 5 && name[4] == '.') {
    teilNummer = vesk::leseGanzzahl(name.substr(5));
  }
  if (!nummer || !teilNummer) {
    throw Vesk_Exception("Nummernformat bei der Satzart " + std::string(name) + " nicht korrekt");
  }
  satzNummer = *nummer;
  teilSatzNummer = *teilNummer;
}

std::string_view Vesk_Datensatz::gibBezeichner() const {
  return std::string_view(satzart->gibBezeichner()).substr(0, 4);
}

bool Vesk_Datensatz::pruefe(Vesk_FehlerListe& liste) const {
  return satzart->pruefe(gibSatz(), 0, liste);
}
