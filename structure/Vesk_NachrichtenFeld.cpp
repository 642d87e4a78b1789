#include "structure/Vesk_NachrichtenFeld.h"

#include "config/SatzartenRegister.h"
#include "config/Text.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "config/Vesk_StrukturDateiException.h"

namespace {

// A count: decimal digits within 32 signed bits (signs are separators and never reach `puffer`).
std::int32_t leseAnzahl(std::string_view puffer, std::string_view beschreibung) {
  const auto zahl = vesk::leseGanzzahl(puffer);
  if (!zahl) {
    throw Vesk_StrukturDateiException("Angabe " + std::string(beschreibung) +
                                      " keine gueltige ganze Zahl.");
  }
  return *zahl;
}

}  // namespace

Vesk_NachrichtenFeld::Vesk_NachrichtenFeld(std::string name, std::string_view beschreibung,
                                           const vesk::SatzartenRegister& satzArten)
    : bezeichner(std::move(name)), register_(&satzArten) {
  if (beschreibung.empty()) {
    throw Vesk_StrukturDateiException("Nachrichtenfeld " + bezeichner + " nicht beschrieben");
  }
  parseBeschreibung(beschreibung);
  fuelleSatzarten(satzarten);
}

Vesk_NachrichtenFeld::Vesk_NachrichtenFeld(std::string name, std::string_view beschreibung)
    : bezeichner(std::move(name)) {
  if (beschreibung.empty()) {
    throw Vesk_StrukturDateiException("Nachrichtenfeld " + bezeichner + " nicht beschrieben");
  }
  parseBeschreibung(beschreibung);
  fuelleSatzarten(satzarten);
}

void Vesk_NachrichtenFeld::parseBeschreibung(std::string_view beschreibung) {
  std::string puffer;
  bool trennerGesehen = false;
  for (const char zeichen : beschreibung) {
    switch (zeichen) {
      case ' ':
      case '\t':
        break;
      case '+':
      case '-':
        if (!puffer.empty() && !trennerGesehen) {
          (zeichen == '+' ? mindestens : hoechstens) = true;
          mindestAnzahl = leseAnzahl(puffer, beschreibung);
          puffer.clear();
          trennerGesehen = true;
        }
        break;
      case ',':
        if (!trennerGesehen) {
          mindestAnzahl = leseAnzahl(puffer, beschreibung);
          puffer.clear();
          trennerGesehen = true;
        }
        break;
      default:
        puffer.push_back(zeichen);
    }
  }
  if (!trennerGesehen) {
    if (puffer.empty()) {
      throw Vesk_StrukturDateiException(bezeichner + ": Keine Anzahl fuer Satzarten spezifiziert",
                                        bezeichner);
    }
    mindestAnzahl = leseAnzahl(puffer, beschreibung);
  } else if (!puffer.empty()) {
    anzahlTeilDatensaetze = leseAnzahl(puffer, beschreibung);
  }
}

void Vesk_NachrichtenFeld::fuelleSatzarten(std::vector<const Vesk_Satzart*>& liste) const {
  const auto haengeAn = [&](const std::string& name) {
    const Vesk_Satzart* satzart =
        register_ != nullptr ? register_->suche(name) : Vesk_SatzartenFabrik::sucheSatzart(name);
    if (satzart == nullptr) {
      throw Vesk_StrukturDateiException("Satzart " + bezeichner +
                                        " nicht in der Datensatzdefinitions-Datei definiert");
    }
    liste.push_back(satzart);
  };
  if (anzahlTeilDatensaetze == 1) {
    haengeAn(bezeichner);
    return;
  }
  for (std::int64_t i = 1; i <= anzahlTeilDatensaetze; ++i) {
    haengeAn(bezeichner + "." + std::to_string(i));
  }
}
