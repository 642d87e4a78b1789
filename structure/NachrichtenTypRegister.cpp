#include "structure/NachrichtenTypRegister.h"

#include <memory>
#include <vector>

#include "config/Text.h"
#include "config/Vesk_StrukturDateiException.h"
#include "structure/Vesk_NachrichtenTyp.h"

namespace vesk {

namespace {

constexpr std::string_view NACHRICHTENTYPEN = "Nachrichtentypen";

}  // namespace

NachrichtenTypRegister::NachrichtenTypRegister(IniFile datei, const SatzartenRegister& arten)
    : ini(std::move(datei)), satzArten(arten) {
  for (std::string& gruppe : ini.getSubjects()) {
    plaetze.try_emplace(std::move(gruppe));
  }
}

NachrichtenTypRegister::~NachrichtenTypRegister() = default;

void NachrichtenTypRegister::baueAufgelistete() {
  const std::vector<std::string> typNamen = ini.getVariables(NACHRICHTENTYPEN);
  if (typNamen.empty()) {
    throw Vesk_StrukturDateiException("Gruppe [Nachrichtentypen] fehlt fehlt");
  }
  for (const std::string& name : typNamen) {
    const std::string sendeArt = ini.getValue(NACHRICHTENTYPEN, name);
    const Vesk_NachrichtenTyp& typ = gib(name);
    const std::string_view getrimmt = trimme(sendeArt);
    if (getrimmt.empty()) {
      throw Vesk_StrukturDateiException(name + " : keine Sendeart angegeben");
    }
    nachSendeArt.insert_or_assign(std::string(getrimmt), &typ);
  }
}

const Vesk_NachrichtenTyp& NachrichtenTypRegister::gib(std::string_view name) const {
  const auto platz = plaetze.find(name);
  if (platz == plaetze.end()) {
    throw Vesk_StrukturDateiException("Nachrichtentyp " + std::string(name) + " nicht gefunden");
  }
  return platz->second.gib(bauen, [&] {
    const auto feldNamen = ini.variablesOf(platz->first);
    std::vector<std::string> beschreibungen;
    beschreibungen.reserve(feldNamen.size());
    for (const std::string& feld : feldNamen) {
      beschreibungen.push_back(ini.getValue(platz->first, feld));
    }
    return std::make_unique<Vesk_NachrichtenTyp>(platz->first, feldNamen, beschreibungen,
                                                 &satzArten);
  });
}

const Vesk_NachrichtenTyp& NachrichtenTypRegister::gibSendeArt(MeldungsText sendeArt) const {
  if (sendeArt.istAscii()) {
    const auto treffer = nachSendeArt.find(sendeArt.roh());
    if (treffer != nachSendeArt.end()) {
      return *treffer->second;
    }
  }
  throw Vesk_StrukturDateiException("Nachrichtentyp nach Sendeart " + sendeArt.alsUtf8() +
                                    " nicht definiert");
}

}  // namespace vesk
