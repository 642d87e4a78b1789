#include "driver/Vesk_Datensatz.h"

#include <string>

#include "config/Text.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"

namespace {

// Names have four or six characters, and every record of a message is built with one: compared
// here rather than by a call to the C library.
bool gleich(std::string_view links, std::string_view rechts) {
  if (links.size() != rechts.size()) {
    return false;
  }
  for (std::size_t i = 0; i < links.size(); ++i) {
    if (links[i] != rechts[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

Vesk_Datensatz::Vesk_Datensatz(std::string_view name, const Vesk_Satzart& typ,
                               std::span<const unsigned char> nachricht, std::size_t anfang)
    : satzart(&typ), satz(nachricht.subspan(anfang, SATZLAENGE).data()) {
  // The record type read its own name's numbers once; a name given otherwise is read here.
  bool lesbar = typ.gibSatzNummer() && typ.gibTeilSatzNummer();
  if (!gleich(name, typ.gibBezeichner())) {
    lesbar = vesk::leseGanzzahl(name.substr(0, 4)) &&
             (name.size() <= 5 || name[4] != '.' || vesk::leseGanzzahl(name.substr(5)));
  }
  if (!lesbar) {
    throw Vesk_Exception("Nummernformat bei der Satzart " + std::string(name) + " nicht korrekt");
  }
}

std::string_view Vesk_Datensatz::gibBezeichner() const {
  return std::string_view(satzart->gibBezeichner()).substr(0, 4);
}

bool Vesk_Datensatz::pruefe(Vesk_FehlerListe& liste) const {
  return satzart->pruefe(gibSatz(), 0, liste);
}
