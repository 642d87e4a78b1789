#include "structure/Vesk_NachrichtenTyp.h"

#include <algorithm>

#include "config/Vesk_StrukturDateiException.h"

Vesk_NachrichtenTyp::Vesk_NachrichtenTyp(std::string name, std::span<const std::string> feldNamen,
                                         std::span<const std::string> beschreibungen)
    : Vesk_NachrichtenTyp(std::move(name), feldNamen, beschreibungen, nullptr) {}

Vesk_NachrichtenTyp::Vesk_NachrichtenTyp(std::string name, std::span<const std::string> feldNamen,
                                         std::span<const std::string> beschreibungen,
                                         const vesk::SatzartenRegister* satzArten)
    : bezeichner(std::move(name)) {
  const std::size_t anzahl = std::min(feldNamen.size(), beschreibungen.size());
  nachrichtenFelder.reserve(anzahl);
  try {
    for (std::size_t i = 0; i < anzahl; ++i) {
      if (satzArten != nullptr) {
        nachrichtenFelder.emplace_back(feldNamen[i], beschreibungen[i], *satzArten);
      } else {
        nachrichtenFelder.emplace_back(feldNamen[i], beschreibungen[i]);
      }
    }
  } catch (Vesk_StrukturDateiException& e) {
    e.setzeGruppe(bezeichner);
    throw;
  }
}

const Vesk_NachrichtenFeld* Vesk_NachrichtenTyp::gibFeldNr(std::int64_t i) const {
  if (i < 0 || i >= static_cast<std::int64_t>(nachrichtenFelder.size())) {
    return nullptr;
  }
  return &nachrichtenFelder[static_cast<std::size_t>(i)];
}
