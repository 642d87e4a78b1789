#include "batch/Protokollablage.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <system_error>

#include "config/Dateien.h"
#include "config/Vesk_Exception.h"
#include "errors/ProtokollDatei.h"
#include "report/NachrichtenErgebnis.h"

namespace vesk {

namespace {

// Two names that reach the same file: on Windows, names differ in more than case.
std::string vergleichsform(std::string name) {
#ifdef _WIN32
  std::transform(name.begin(), name.end(), name.begin(), [](char zeichen) {
    return zeichen >= 'A' && zeichen <= 'Z' ? static_cast<char>(zeichen - 'A' + 'a') : zeichen;
  });
  std::replace(name.begin(), name.end(), '\\', '/');
#endif
  return name;
}

}  // namespace

std::string Protokollablage::zielFuer(const GesammelteNachricht& nachricht) const {
  return dateiname(dateipfad(ordner) /
                   dateipfad(std::string(nachricht.relativ()).append(".protokoll")));
}

std::optional<std::string> Protokollablage::pruefeEindeutig(
    std::span<const GesammelteNachricht> nachrichten) const {
  std::map<std::string, const GesammelteNachricht*> vergeben;
  for (const GesammelteNachricht& nachricht : nachrichten) {
    if (nachricht.fehler) {
      continue;
    }
    const std::string ziel = zielFuer(nachricht);
    const auto [eintrag, neu] = vergeben.emplace(vergleichsform(ziel), &nachricht);
    if (!neu) {
      return "--protokolle: " + eintrag->second->pfad + " und " + nachricht.pfad +
             " erhielten beide die Protokolldatei " + ziel;
    }
  }
  return std::nullopt;
}

void Protokollablage::lege(NachrichtenErgebnis& ergebnis,
                           const GesammelteNachricht& nachricht) const {
  if (!ergebnis.protokoll) {
    return;
  }
  const std::string ziel = zielFuer(nachricht);
  try {
    std::error_code fehler;  // a folder that cannot be made shows when the file is written
    std::filesystem::create_directories(dateipfad(ziel).parent_path(), fehler);
    ProtokollDatei(ziel).schreibe(*ergebnis.protokoll);
    ergebnis.protokollDatei = ziel;
  } catch (const Vesk_Exception& e) {
    ergebnis.art = NachrichtenErgebnis::Art::abbruch;
    ergebnis.abbruch = e.toString();
  }
}

}  // namespace vesk
