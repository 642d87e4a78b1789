#include "fields/Vesk_WerteMengeAufzaehlung.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "config/Dateien.h"
#include "config/Vesk_DatensatzDateiException.h"

namespace {

// The values of a value-set file, one per line, in file order. A leading UTF-8 byte-order mark is
// skipped, as editors write one that would otherwise spoil the first value.
std::vector<std::string> zerlegeWerteDatei(std::string_view inhalt) {
  constexpr std::string_view bom = "\xEF\xBB\xBF";
  if (inhalt.starts_with(bom)) {
    inhalt.remove_prefix(bom.size());
  }
  std::vector<std::string> werte;
  std::string wert;
  bool kommentar = false;
  for (const char zeichen : inhalt) {
    switch (zeichen) {
      case ' ':
      case '\t':
      case '\r':
        break;
      case '\n':
        if (!wert.empty()) {
          werte.push_back(std::move(wert));
          wert.clear();
        }
        kommentar = false;
        break;
      case ';':
        kommentar = true;
        break;
      default:
        if (!kommentar) {
          wert.push_back(zeichen);
        }
    }
  }
  if (!wert.empty()) {
    werte.push_back(std::move(wert));
  }
  return werte;
}

struct SchliesseDatei {
  void operator()(std::FILE* datei) const noexcept { static_cast<void>(std::fclose(datei)); }
};

// The whole file as bytes, or nullopt when reading or closing it fails. Read through the C
// library, as a stream would not tell a read error from the end of the file.
std::optional<std::string> leseGanz(std::unique_ptr<std::FILE, SchliesseDatei> datei) {
  std::string inhalt;
  std::array<char, 4096> block{};
  std::size_t gelesen = 0;
  while ((gelesen = std::fread(block.data(), 1, block.size(), datei.get())) > 0) {
    inhalt.append(block.data(), gelesen);
  }
  const bool lesefehler = std::ferror(datei.get()) != 0;
  if (std::fclose(datei.release()) != 0 || lesefehler) {
    return std::nullopt;
  }
  return inhalt;
}

}  // namespace

Vesk_WerteMengeAufzaehlung::Vesk_WerteMengeAufzaehlung(std::string name,
                                                       const std::string& dateiName)
    : Vesk_WerteMenge(std::move(name)) {
  if (!vesk::istDatei(dateiName)) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " mit Wertemenge existiert nicht");
  }
  std::unique_ptr<std::FILE, SchliesseDatei> datei(std::fopen(dateiName.c_str(), "rb"));
  if (!datei) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " nicht gefunden");
  }
  const std::optional<std::string> inhalt = leseGanz(std::move(datei));
  if (!inhalt) {
    throw Vesk_DatensatzDateiException("Fehler beim Lesen von " + dateiName + " fuer Wertemenge");
  }
  werteMenge = zerlegeWerteDatei(*inhalt);
  baueIndex();
}

Vesk_WerteMengeAufzaehlung::Vesk_WerteMengeAufzaehlung(std::string name,
                                                       std::vector<std::string> werte)
    : Vesk_WerteMenge(std::move(name)), werteMenge(std::move(werte)) {
  baueIndex();
}

void Vesk_WerteMengeAufzaehlung::baueIndex() {
  index.reserve(werteMenge.size());
  for (const std::string& wert : werteMenge) {
    if (vesk::MeldungsText(wert).istAscii()) {
      index.insert(wert);
    }
  }
}

bool Vesk_WerteMengeAufzaehlung::inDerMenge(vesk::MeldungsText text) const {
  return index.contains(text.roh());
}
