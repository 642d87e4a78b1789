#include "structure/Vesk_NachrichtenTypFabrik.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/IniFile.h"
#include "config/Text.h"
#include "config/Vesk_StrukturDateiException.h"
#include "structure/Vesk_NachrichtenTyp.h"

namespace {

constexpr std::string_view NACHRICHTENTYPEN = "Nachrichtentypen";

struct Zustand {
  std::map<std::string, std::unique_ptr<Vesk_NachrichtenTyp>, std::less<>> nachrichtenTypen;
  std::map<std::string, const Vesk_NachrichtenTyp*, std::less<>> nachrichtenTypenSendeArt;
  std::optional<IniFile> iniDatei;
  bool initialisiert = false;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

Zustand& initialisierterZustand() {
  Zustand& z = zustand();
  if (!z.initialisiert) {
    throw Vesk_Exception("Programmierfehler: NachrichtenTypFabrik nicht initialisiert");
  }
  return z;
}

// Builds the type `name` from its group and stores it under its name.
const Vesk_NachrichtenTyp& baue(Zustand& z, std::string_view name) {
  const IniFile& ini = *z.iniDatei;
  const auto feldNamen = ini.variablesOf(name);
  if (feldNamen.empty()) {
    throw Vesk_StrukturDateiException("Nachrichtentyp " + std::string(name) + " nicht gefunden");
  }
  std::vector<std::string> beschreibungen;
  beschreibungen.reserve(feldNamen.size());
  for (const std::string& feld : feldNamen) {
    beschreibungen.push_back(ini.getValue(name, feld));
  }
  auto typ = std::make_unique<Vesk_NachrichtenTyp>(std::string(name), feldNamen, beschreibungen);
  const Vesk_NachrichtenTyp& ergebnis = *typ;
  z.nachrichtenTypen.insert_or_assign(std::string(name), std::move(typ));
  return ergebnis;
}

}  // namespace

void Vesk_NachrichtenTypFabrik::initialisiere(const IniFile& ini) {
  Zustand& z = zustand();
  if (z.initialisiert) {
    return;
  }
  z.iniDatei.emplace(ini);
  z.initialisiert = true;
  const std::vector<std::string> typNamen = z.iniDatei->getVariables(NACHRICHTENTYPEN);
  if (typNamen.empty()) {
    throw Vesk_StrukturDateiException("Gruppe [Nachrichtentypen] fehlt fehlt");
  }
  for (const std::string& name : typNamen) {
    const std::string sendeArt = z.iniDatei->getValue(NACHRICHTENTYPEN, name);
    const Vesk_NachrichtenTyp& typ = baue(z, name);
    const std::string_view getrimmt = vesk::trimme(sendeArt);
    if (getrimmt.empty()) {
      throw Vesk_StrukturDateiException(name + " : keine Sendeart angegeben");
    }
    z.nachrichtenTypenSendeArt.insert_or_assign(std::string(getrimmt), &typ);
  }
}

const Vesk_NachrichtenTyp& Vesk_NachrichtenTypFabrik::gibNachrichtenTyp(std::string_view name) {
  Zustand& z = initialisierterZustand();
  if (const auto treffer = z.nachrichtenTypen.find(name); treffer != z.nachrichtenTypen.end()) {
    return *treffer->second;
  }
  return baue(z, name);
}

const Vesk_NachrichtenTyp& Vesk_NachrichtenTypFabrik::gibNachrichtenTypSendeArt(
    vesk::MeldungsText sendeArt) {
  const Zustand& z = initialisierterZustand();
  if (sendeArt.istAscii()) {
    const auto treffer = z.nachrichtenTypenSendeArt.find(sendeArt.roh());
    if (treffer != z.nachrichtenTypenSendeArt.end()) {
      return *treffer->second;
    }
  }
  throw Vesk_StrukturDateiException("Nachrichtentyp nach Sendeart " + sendeArt.alsUtf8() +
                                    " nicht definiert");
}

void Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
