#include "batch/Nachrichtensammlung.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "config/Dateien.h"

namespace vesk {

namespace {

namespace fs = std::filesystem;

void sammleOrdner(const fs::path& ordner, std::vector<std::string>& nachrichten) {
  std::vector<std::string> gefunden;
  std::error_code fehler;
  fs::recursive_directory_iterator eintrag(ordner, fehler);
  if (fehler) {
    nachrichten.push_back(dateiname(ordner));
    return;
  }
  for (; eintrag != fs::recursive_directory_iterator(); eintrag.increment(fehler)) {
    std::error_code art;
    if (eintrag->is_regular_file(art)) {
      gefunden.push_back(dateiname(eintrag->path()));
    }
  }
  // A part of the folder that could not be read stands as the folder itself, whose check then
  // reports it, so that its messages are not silently left out.
  if (fehler) {
    gefunden.push_back(dateiname(ordner));
  }
  std::sort(gefunden.begin(), gefunden.end());
  nachrichten.insert(nachrichten.end(), std::make_move_iterator(gefunden.begin()),
                     std::make_move_iterator(gefunden.end()));
}

}  // namespace

std::vector<std::string> sammleNachrichten(std::span<const std::string> argumente) {
  std::vector<std::string> nachrichten;
  for (const std::string& argument : argumente) {
    std::error_code fehler;
    const fs::path pfad = dateipfad(argument);
    if (fs::is_directory(pfad, fehler)) {
      sammleOrdner(pfad, nachrichten);
    } else {
      nachrichten.push_back(argument);
    }
  }
  return nachrichten;
}

}  // namespace vesk
