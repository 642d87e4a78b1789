#include "batch/Nachrichtensammlung.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "config/Dateien.h"

namespace vesk {

namespace {

namespace fs = std::filesystem;

std::string grund(const std::error_code& fehler) {
  if (fehler == std::errc::permission_denied || fehler == std::errc::operation_not_permitted) {
    return "keine Berechtigung";
  }
  if (fehler == std::errc::no_such_file_or_directory || fehler == std::errc::not_a_directory) {
    return "nicht mehr vorhanden";
  }
  if (fehler == std::errc::too_many_symbolic_link_levels) {
    return "zu viele symbolische Verweise";
  }
  return fehler.message();
}

// Adds the messages below `ordner`, found at `relativ` below the folder argument, to
// `gefunden`. Each folder is listed on its own, so that a subfolder that cannot be opened or read
// to its end costs only its own entries.
void besuche(const fs::path& ordner, const std::string& relativ,
             std::vector<GesammelteNachricht>& gefunden) {
  std::error_code fehler;
  fs::directory_iterator eintrag(ordner, fehler);
  for (; !fehler && eintrag != fs::directory_iterator(); eintrag.increment(fehler)) {
    const std::string name = dateiname(eintrag->path().filename());
    std::string unten = relativ.empty() ? name : relativ + '/' + name;
    std::error_code art;
    // The kind comes from the folder listing where the system gives it; only a link is
    // followed, to see whether it names a regular file.
    if (eintrag->is_symlink(art)) {
      if (eintrag->is_regular_file(art)) {
        gefunden.push_back({dateiname(eintrag->path()), std::move(unten), std::nullopt});
      }
    } else if (eintrag->is_directory(art)) {
      besuche(eintrag->path(), unten, gefunden);
    } else if (eintrag->is_regular_file(art)) {
      gefunden.push_back({dateiname(eintrag->path()), std::move(unten), std::nullopt});
    }
  }
  if (fehler) {
    gefunden.push_back(
        {dateiname(ordner), relativ,
         "Fehler beim Auslesen des Ordners " + dateiname(ordner) + ": " + grund(fehler)});
  }
}

}  // namespace

std::vector<GesammelteNachricht> sammleNachrichten(std::span<const std::string> argumente) {
  std::vector<GesammelteNachricht> nachrichten;
  for (const std::string& argument : argumente) {
    std::error_code fehler;
    const fs::path pfad = dateipfad(argument);
    if (fs::is_directory(pfad, fehler)) {
      const std::size_t anfang = nachrichten.size();
      besuche(pfad, std::string(), nachrichten);
      std::sort(nachrichten.begin() + static_cast<std::ptrdiff_t>(anfang), nachrichten.end(),
                [](const GesammelteNachricht& a, const GesammelteNachricht& b) {
                  return a.pfad < b.pfad;
                });
    } else {
      nachrichten.push_back(
          GesammelteNachricht{argument, dateiname(pfad.filename()), std::nullopt});
    }
  }
  return nachrichten;
}

}  // namespace vesk
