#include "fields/Vesk_WertemengenFabrik.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/IniFile.h"
#include "config/Text.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WerteMengeIntervall.h"
#include "fields/WertemengenRegister.h"

namespace {

struct Zustand {
  vesk::WertemengenRegister werteMengen;
  bool initialisiert = false;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

// What the walk over a definition's characters found.
struct Zerlegung {
  std::vector<std::string> teile;
  bool intervall = false;
  bool datei = false;
  std::optional<std::string> dateiName;
};

Zerlegung zerlege(std::string_view definition) {
  Zerlegung z;
  std::string token;
  for (const char zeichen : definition) {
    switch (zeichen) {
      case ' ':
      case '\t':
        break;
      case ',':
        z.teile.push_back(std::move(token));
        token.clear();
        break;
      case '-':
        z.teile.push_back(std::move(token));
        token.clear();
        if (z.intervall) {
          throw Vesk_DatensatzDateiException("Doppelte Intervall-Definition nicht erlaubt:" +
                                             std::string(definition));
        }
        z.intervall = true;
        break;
      case '<':
        z.datei = true;
        break;
      case '>':
        if (!z.datei) {
          throw Vesk_DatensatzDateiException("Falsche Dateikennzeichnung fuer Wertemenge:" +
                                             std::string(definition));
        }
        z.dateiName = token;
        break;
      default:
        token.push_back(zeichen);
    }
  }
  z.teile.push_back(std::move(token));
  return z;
}

// An interval bound: decimal digits within 32 signed bits (the minus sign is the separator, so
// no part holds one). A named set reports a bad bound with its group, an inline one without.
std::int32_t leseGrenze(std::string_view teil, std::string_view definition,
                        std::optional<std::string_view> gruppe) {
  if (const auto zahl = vesk::leseGanzzahl(teil)) {
    return *zahl;
  }
  std::string text = "Ungueltiger Wert " + std::string(definition) + " (nur ganze Zahlen erlaubt)";
  if (gruppe) {
    throw Vesk_DatensatzDateiException(std::move(text), std::string(*gruppe));
  }
  throw Vesk_DatensatzDateiException(std::move(text));
}

std::unique_ptr<Vesk_WerteMenge> erzeuge(std::string_view name, std::string_view definition,
                                         std::optional<std::string_view> gruppe) {
  Zerlegung z = zerlege(definition);
  if (z.intervall) {
    if (z.teile.size() > 2) {
      throw Vesk_DatensatzDateiException(
          "Wertemengendefinition: Mischung Intervall und Aufzaehlung nicht erlaubt" +
          std::string(definition));
    }
    const std::int32_t untere = leseGrenze(z.teile[0], definition, gruppe);
    const std::int32_t obere = leseGrenze(z.teile[1], definition, gruppe);
    if (obere < untere) {
      throw Vesk_DatensatzDateiException("Falsche Ingervalldefinition " + std::to_string(untere) +
                                         " > " + std::to_string(obere));
    }
    return std::make_unique<Vesk_WerteMengeIntervall>(std::string(name), untere, obere);
  }
  if (!z.datei) {
    return std::make_unique<Vesk_WerteMengeAufzaehlung>(std::string(name), std::move(z.teile));
  }
  if (!z.dateiName) {
    throw Vesk_DatensatzDateiException("Datei, die Wertemenge enthaelt nicht angegeben");
  }
  return std::make_unique<Vesk_WerteMengeAufzaehlung>(std::string(name), *z.dateiName);
}

}  // namespace

vesk::WertemengenRegister Vesk_WertemengenFabrik::lade(const IniFile& ini) {
  const auto variablen = ini.variablesOf(werteMengenFeldname);
  if (variablen.empty()) {
    throw Vesk_DatensatzDateiException("Gruppe [Wertemengen] fehlt");
  }
  vesk::WertemengenRegister::Mengen mengen;
  for (const std::string& name : variablen) {
    const std::string definition = ini.getValue(werteMengenFeldname, name);
    mengen.insert_or_assign(name, erzeuge(name, definition, werteMengenFeldname));
  }
  return vesk::WertemengenRegister(std::move(mengen));
}

void Vesk_WertemengenFabrik::initialisiere(const IniFile& ini) {
  Zustand& z = zustand();
  if (z.initialisiert) {
    return;
  }
  // Built aside and taken over whole, so a faulty definition leaves no half-filled registry.
  z.werteMengen = lade(ini);
  z.initialisiert = true;
}

std::unique_ptr<Vesk_WerteMenge> Vesk_WertemengenFabrik::erzeugeBenannteWerteMenge(
    std::string_view name, std::string_view definition) {
  return erzeuge(name, definition, werteMengenFeldname);
}

std::unique_ptr<Vesk_WerteMenge> Vesk_WertemengenFabrik::createWerteMenge(
    std::string_view name, std::string_view definition) {
  return erzeuge(name, definition, std::nullopt);
}

const Vesk_WerteMenge* Vesk_WertemengenFabrik::gibWerteMenge(std::string_view name) {
  return zustand().werteMengen.gib(name);
}

const vesk::WertemengenRegister& Vesk_WertemengenFabrik::gibRegister() {
  return zustand().werteMengen;
}

void Vesk_WertemengenFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
