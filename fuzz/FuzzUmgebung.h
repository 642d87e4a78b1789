#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
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
inline std::filesystem::path beispielOrdner() { return VESK_BEISPIEL_ORDNER; }

inline std::filesystem::path arbeitsOrdner() {
  static const std::filesystem::path ordner = [] {
    auto pfad = std::filesystem::temp_directory_path() /
                ("vesk-fuzz-" + std::to_string(std::filesystem::hash_value(
                                    std::filesystem::current_path())));
    std::filesystem::create_directories(pfad);
    return pfad;
  }();
  return ordner;
}

inline std::string schreibe(std::string_view name, const std::uint8_t* daten, std::size_t groesse) {
  const auto pfad = arbeitsOrdner() / name;
  std::ofstream datei(pfad, std::ios::binary | std::ios::trunc);
  datei.write(reinterpret_cast<const char*>(daten), static_cast<std::streamsize>(groesse));
  return pfad.string();
}

}  // namespace vesk::fuzz
