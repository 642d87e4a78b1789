#include "config/SatzartenRegister.h"

#include <vector>

#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Satzart.h"

namespace vesk {

SatzartenRegister::SatzartenRegister(IniFile datei, const WertemengenRegister& mengen)
    : ini(std::move(datei)), werteMengen(mengen) {
  for (std::string& gruppe : ini.getSubjects()) {
    plaetze.try_emplace(std::move(gruppe));
  }
}

SatzartenRegister::~SatzartenRegister() = default;

const Vesk_Satzart& SatzartenRegister::gib(std::string_view name) const {
  const auto platz = plaetze.find(name);
  if (platz == plaetze.end()) {
    throw Vesk_DatensatzDateiException("Satzart " + std::string(name) + " nicht definiert",
                                       std::string(name));
  }
  return baue(platz->first, platz->second);
}

const Vesk_Satzart* SatzartenRegister::suche(std::string_view name) const {
  const auto platz = plaetze.find(name);
  if (platz == plaetze.end()) {
    return nullptr;
  }
  return &baue(platz->first, platz->second);
}

const Vesk_Satzart& SatzartenRegister::baue(std::string_view name,
                                            const EinmalGebaut<Vesk_Satzart>& platz) const {
  return platz.gib(bauen, [&] {
    const auto variablen = ini.variablesOf(name);
    std::vector<std::string> definitionen;
    definitionen.reserve(variablen.size());
    for (const std::string& variable : variablen) {
      definitionen.push_back(ini.getValue(name, variable));
    }
    return std::make_unique<Vesk_Satzart>(std::string(name), definitionen, werteMengen);
  });
}

}  // namespace vesk
