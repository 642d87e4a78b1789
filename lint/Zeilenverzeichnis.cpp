#include "lint/Zeilenverzeichnis.h"

#include <vector>

#include "config/IniFile.h"
#include "config/Text.h"

namespace vesk {

Zeilenverzeichnis::Zeilenverzeichnis(const IniFile& ini) {
  // The store keeps every line of the file, trimmed, in order; comments run from ";".
  const std::vector<std::string> zeilen = ini.getLines();
  std::string aktuell;
  for (std::size_t i = 0; i < zeilen.size(); ++i) {
    std::string_view text = zeilen[i];
    text = trimme(text.substr(0, text.find(';')));
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
    if (!name.empty()) {
      variablen.insert_or_assign({aktuell, std::string(name)}, i + 1);
    }
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

}  // namespace vesk
