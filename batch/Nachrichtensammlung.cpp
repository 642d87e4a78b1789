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

// Adds the messages below `ordner` to `gefunden`; the path below the folder argument begins at
// `relativAb` in each path, or, for the argument itself (nullopt), right after it. Each folder is
// listed on its own, so that a subfolder that cannot be opened or read to its end costs only its
// own entries.
void besuche(const fs::path& ordner, std::optional<std::size_t> relativAb,
             std::vector<GesammelteNachricht>& gefunden) {
  std::error_code fehler;
  fs::directory_iterator eintrag(ordner, fehler);
  for (; !fehler && eintrag != fs::directory_iterator(); eintrag.increment(fehler)) {
    std::string pfad = dateiname(eintrag->path());
    if (!relativAb) {
      relativAb = pfad.size() - dateiname(eintrag->path().filename()).size();
    }
    std::error_code art;
    // The kind comes from the folder listing where the system gives it; only a link is
    // followed, to see whether it names a regular file.
    if (eintrag->is_symlink(art)) {
      if (eintrag->is_regular_file(art)) {
        gefunden.push_back({std::move(pfad), *relativAb, std::nullopt});
      }
    } else if (eintrag->is_directory(art)) {
      besuche(eintrag->path(), relativAb, gefunden);
    } else if (eintrag->is_regular_file(art)) {
      gefunden.push_back({std::move(pfad), *relativAb, std::nullopt});
    }
  }
  if (fehler) {
    std::string pfad = dateiname(ordner);
    const std::size_t ab = std::min(relativAb.value_or(pfad.size()), pfad.size());
    std::string text = "Fehler beim Auslesen des Ordners " + pfad + ": " + grund(fehler);
    gefunden.push_back({std::move(pfad), ab, std::move(text)});
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
      besuche(pfad, std::nullopt, nachrichten);
      std::sort(nachrichten.begin() + static_cast<std::ptrdiff_t>(anfang), nachrichten.end(),
                [](const GesammelteNachricht& a, const GesammelteNachricht& b) {
                  return a.pfad < b.pfad;
                });
    } else {
      nachrichten.push_back(GesammelteNachricht{
          argument, argument.size() - std::min(argument.size(), dateiname(pfad.filename()).size()),
          std::nullopt});
    }
  }
  return nachrichten;
}

}  // namespace vesk
