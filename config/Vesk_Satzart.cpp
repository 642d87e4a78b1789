#include "config/Vesk_Satzart.h"

#include <array>

#include "config/Pruefplan.h"
#include "config/Text.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "fields/Vesk_WertemengenFabrik.h"

Vesk_Satzart::Vesk_Satzart(std::string name, std::span<const std::string> definitionen)
    : Vesk_Satzart(std::move(name), definitionen, Vesk_WertemengenFabrik::gibRegister()) {}

Vesk_Satzart::Vesk_Satzart(std::string name, std::span<const std::string> definitionen,
                           const vesk::WertemengenRegister& benannteMengen)
    : bezeichner(std::move(name)) {
  const std::string_view text = bezeichner;
  satzNummer = vesk::leseGanzzahl(text.substr(0, 4));
  teilSatzNummer = 1;
  if (text.size() > 5 && text[4] == '.') {
    teilSatzNummer = vesk::leseGanzzahl(text.substr(5));
  }
  try {
    baueFelder(definitionen, benannteMengen);
    plan = std::make_unique<const vesk::Pruefplan>(datenFelder);
  } catch (Vesk_IniFileException& e) {
    e.setzeGruppe(bezeichner);
    throw;
  }
}

Vesk_Satzart::~Vesk_Satzart() = default;
Vesk_Satzart::Vesk_Satzart(Vesk_Satzart&&) noexcept = default;
Vesk_Satzart& Vesk_Satzart::operator=(Vesk_Satzart&&) noexcept = default;

void Vesk_Satzart::baueFelder(std::span<const std::string> definitionen,
                              const vesk::WertemengenRegister& benannteMengen) {
  std::array<bool, SATZLAENGE> belegt{};
  datenFelder.reserve(definitionen.size());
  for (const std::string& definition : definitionen) {
    const Vesk_DatenFeld& feld = datenFelder.emplace_back(definition, benannteMengen);
    // The field checks keep 0 <= adresse and adresse + anzahlBytes <= 256.
    const auto anfang = static_cast<std::size_t>(feld.gibAdresse());
    const std::int64_t ende = std::int64_t{feld.gibAdresse()} + feld.gibAnzahlBytes();
    for (std::size_t j = anfang; static_cast<std::int64_t>(j) < ende && j < SATZLAENGE; ++j) {
      if (belegt[j]) {
        throw Vesk_DatensatzDateiException("Ueberschneidung von Datenfeldern in Satzart " +
                                           bezeichner + " im Byte " + std::to_string(j));
      }
      belegt[j] = true;
    }
  }
  for (const bool byte : belegt) {
    if (!byte) {
      throw Vesk_DatensatzDateiException(
          "Keine vollstaendige Ueberdeckung mit Datenfeldern in Satzart " + bezeichner);
    }
  }
}

bool Vesk_Satzart::pruefe(std::span<const unsigned char> bytes, std::size_t offset,
                          Vesk_FehlerListe& liste) const {
  bool fehlerfrei = true;
  const auto pruefeVoll = [&](std::size_t i) {
    if (Vesk_DatenFeldFehler* fehler = datenFelder[i].pruefe(bytes, offset, liste)) {
      fehler->setzeFeldNummer(static_cast<std::int32_t>(i));
      fehler->setzeSatzart(bezeichner);
      fehlerfrei = false;
    }
  };
  if (offset <= bytes.size() && bytes.size() - offset >= SATZLAENGE) {
    plan->pruefe(bytes.subspan(offset, SATZLAENGE), pruefeVoll);
  } else {
    for (std::size_t i = 0; i < datenFelder.size(); ++i) {
      pruefeVoll(i);
    }
  }
  return fehlerfrei;
}

const Vesk_DatenFeld* Vesk_Satzart::gibDatenFeld(std::int64_t n) const {
  if (n < 1 || n > static_cast<std::int64_t>(datenFelder.size())) {
    return nullptr;
  }
  return &datenFelder[static_cast<std::size_t>(n - 1)];
}

const Vesk_DatenFeld& Vesk_Satzart::gibBenoetigtesDatenFeld(std::int32_t n) const {
  const Vesk_DatenFeld* feld = gibDatenFeld(n);
  if (feld == nullptr) {
    throw Vesk_DatensatzDateiException(
        "Satzart " + bezeichner + " hat kein Datenfeld " + std::to_string(n), bezeichner);
  }
  return *feld;
}
