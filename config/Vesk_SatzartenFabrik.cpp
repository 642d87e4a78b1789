#include "config/Vesk_SatzartenFabrik.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Satzart.h"

namespace {

struct Zustand {
  std::map<std::string, std::unique_ptr<Vesk_Satzart>, std::less<>> satzArten;
  std::optional<IniFile> iniDatei;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

// The bound record-definition file; throws before initialisiere.
const IniFile& datei() {
  const Zustand& z = zustand();
  if (!z.iniDatei) {
    throw Vesk_Exception("Programmierfehler: Satzartenfabrik nicht initialisiert");
  }
  return *z.iniDatei;
}

// The record type stored under `name`, or nullptr.
const Vesk_Satzart* gespeichert(std::string_view name) {
  const auto& arten = zustand().satzArten;
  const auto treffer = arten.find(name);
  return treffer == arten.end() ? nullptr : treffer->second.get();
}

// Builds the record type `name` from its group and stores it; stores nothing when it throws.
const Vesk_Satzart& baue(const IniFile& ini, std::string_view name) {
  const auto variablen = ini.variablesOf(name);
  if (variablen.empty()) {
    throw Vesk_DatensatzDateiException("Satzart " + std::string(name) + " nicht definiert",
                                       std::string(name));
  }
  std::vector<std::string> definitionen;
  definitionen.reserve(variablen.size());
  for (const std::string& variable : variablen) {
    definitionen.push_back(ini.getValue(name, variable));
  }
  auto satzart = std::make_unique<Vesk_Satzart>(std::string(name), definitionen);
  const auto eintrag = zustand().satzArten.emplace(std::string(name), std::move(satzart)).first;
  return *eintrag->second;
}

}  // namespace

void Vesk_SatzartenFabrik::initialisiere(const IniFile& ini) {
  Zustand& z = zustand();
  if (!z.iniDatei) {
    z.iniDatei.emplace(ini);
  }
}

const Vesk_Satzart& Vesk_SatzartenFabrik::gibSatzart(std::string_view name) {
  const IniFile& ini = datei();
  if (const Vesk_Satzart* satzart = gespeichert(name)) {
    return *satzart;
  }
  return baue(ini, name);
}

const Vesk_Satzart* Vesk_SatzartenFabrik::sucheSatzart(std::string_view name) {
  const IniFile& ini = datei();
  if (const Vesk_Satzart* satzart = gespeichert(name)) {
    return satzart;
  }
  if (!ini.hasVariables(name)) {
    return nullptr;
  }
  return &baue(ini, name);
}

void Vesk_SatzartenFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
