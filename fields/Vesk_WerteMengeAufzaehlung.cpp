#include "fields/Vesk_WerteMengeAufzaehlung.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "config/Dateien.h"
#include "config/Vesk_DatensatzDateiException.h"

namespace {

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

}  // namespace

Vesk_WerteMengeAufzaehlung::Vesk_WerteMengeAufzaehlung(std::string name,
                                                       const std::string& dateiName)
    : Vesk_WerteMenge(std::move(name)) {
  if (!vesk::istDatei(dateiName)) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " mit Wertemenge existiert nicht");
  }
  std::ifstream datei(dateiName, std::ios::binary);
  if (!datei) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " nicht gefunden");
  }
  const std::string inhalt{std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>()};
  if (datei.bad()) {
    throw Vesk_DatensatzDateiException("Fehler beim Lesen von " + dateiName + " fuer Wertemenge");
  }
  werteMenge = zerlegeWerteDatei(inhalt);
}

bool Vesk_WerteMengeAufzaehlung::inDerMenge(vesk::MeldungsText text) const {
  return std::any_of(werteMenge.begin(), werteMenge.end(),
                     [text](const std::string& wert) { return text.gleicht(wert); });
}
