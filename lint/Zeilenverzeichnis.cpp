#include "lint/Zeilenverzeichnis.h"

#include "config/IniFile.h"
#include "config/Text.h"

namespace vesk {

namespace {

// The text of a line without its comment, which runs from ";", trimmed.
std::string_view ohneKommentar(std::string_view zeile) {
  return trimme(zeile.substr(0, zeile.find(';')));
}

// The value of an assignment line, trimmed. Precondition: `text` holds "=".
std::string wertVon(std::string_view text) {
  return std::string(trimme(text.substr(text.find('=') + 1)));
}

}  // namespace

Zeilenverzeichnis::Zeilenverzeichnis(const IniFile& ini) {
  // The store keeps every line of the file, trimmed, in order.
  const std::vector<std::string> zeilen = ini.getLines();
  std::string aktuell;
  for (std::size_t i = 0; i < zeilen.size(); ++i) {
    const std::string_view text = ohneKommentar(zeilen[i]);
    if (ini.isaSubject(text)) {
      aktuell = std::string(text.substr(1, text.size() - 2));
      gruppen.try_emplace(aktuell, i + 1);
      continue;
    }
    const std::size_t gleich = text.find('=');
    if (aktuell.empty() || gleich == std::string_view::npos) {
      continue;
    }
    const std::string_view name = trimme(text.substr(0, gleich));
    if (name.empty()) {
      continue;
    }
    const auto [platz, neu] = variablen.try_emplace({aktuell, std::string(name)}, i + 1);
    if (neu) {
      continue;
    }
    // Assigned again: the store keeps this value and drops the earlier ones.
    std::vector<Zuweisung>& zuweisungen = mehrfach[aktuell][std::string(name)];
    if (zuweisungen.empty()) {
      const std::size_t erste = platz->second;
      zuweisungen.push_back({erste, wertVon(ohneKommentar(zeilen[erste - 1]))});
    }
    zuweisungen.push_back({i + 1, wertVon(text)});
    platz->second = i + 1;
  }
}

std::size_t Zeilenverzeichnis::gruppe(std::string_view name) const {
  const auto treffer = gruppen.find(name);
  return treffer == gruppen.end() ? 1 : treffer->second;
}

std::size_t Zeilenverzeichnis::variable(std::string_view gruppenName, std::string_view name) const {
  const auto treffer = variablen.find(std::pair<std::string, std::string>(gruppenName, name));
  return treffer == variablen.end() ? gruppe(gruppenName) : treffer->second;
}

const Zeilenverzeichnis::Mehrfache& Zeilenverzeichnis::mehrfache(
    std::string_view gruppenName) const {
  static const Mehrfache KEINE;
  const auto treffer = mehrfach.find(gruppenName);
  return treffer == mehrfach.end() ? KEINE : treffer->second;
}

}  // namespace vesk
