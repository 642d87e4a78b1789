#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "config/Vesk_StrukturDateiException.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"

// Shared set-up of the fuzz targets: silences the checker's console lines, and gives each input
// fresh registries and a scratch folder for the definition files made from it.
namespace vesk::fuzz {

inline void schweige() {
  static std::ostringstream senke;
  std::cout.rdbuf(senke.rdbuf());
  std::cerr.rdbuf(senke.rdbuf());
  senke.str(std::string());
}

inline void setzeRegistrierungenZurueck() {
  Vesk_WertemengenFabrik::zuruecksetzenFuerTests();
  Vesk_FeldartenFabrik::zuruecksetzenFuerTests();
  Vesk_SatzartenFabrik::zuruecksetzenFuerTests();
  Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests();
  Vesk_StrukturDateiException::setzeDateiname("Strukturdatei");
  Vesk_DatensatzDateiException::setzeDateiname("Datensatzdatei");
}

// The folder of the bundled example configuration; the checker's relative file names are
// resolved against it.
inline std::filesystem::path beispielOrdner() {
  return VESK_BEISPIEL_ORDNER;
}

// Runs `aktion` with the example folder as the current directory, then returns to the previous
// one: libFuzzer reads its corpus folders by relative name after the first input has run.
template <class Aktion>
auto imBeispielOrdner(Aktion aktion) {
  const auto vorher = std::filesystem::current_path();
  std::filesystem::current_path(beispielOrdner());
  struct Zurueck {
    std::filesystem::path ordner;
    ~Zurueck() { std::filesystem::current_path(ordner); }
  } zurueck{vorher};
  return aktion();
}

inline std::string_view alsText(const std::uint8_t* daten, std::size_t groesse) {
  return {reinterpret_cast<const char*>(daten), groesse};
}

}  // namespace vesk::fuzz
