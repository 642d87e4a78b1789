#include "errors/Vesk_FehlerListe.h"

#include <fstream>
#include <ostream>

#include "config/Vesk_Exception.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_MussKannFehler.h"
#include "errors/Vesk_StrukturFehler.h"

namespace {

// A copy of `fehler` with the same class and context.
std::unique_ptr<Vesk_Fehler> kopiere(const Vesk_Fehler& fehler) {
  std::unique_ptr<Vesk_Fehler> kopie;
  if (const auto* feld = dynamic_cast<const Vesk_DatenFeldFehler*>(&fehler)) {
    auto neu = std::make_unique<Vesk_DatenFeldFehler>(feld->gibFehlerNummer());
    neu->setzeFeldNummer(feld->gibFeldNummer());
    kopie = std::move(neu);
  } else if (dynamic_cast<const Vesk_MussKannFehler*>(&fehler) != nullptr) {
    kopie = std::make_unique<Vesk_MussKannFehler>(fehler.gibFehlerNummer());
  } else {
    kopie = std::make_unique<Vesk_StrukturFehler>(fehler.gibFehlerNummer());
  }
  if (fehler.gibSatzart()) {
    kopie->setzeSatzart(*fehler.gibSatzart());
  }
  if (fehler.gibErklaerendenText()) {
    kopie->setzeErklaerendenText(*fehler.gibErklaerendenText());
  }
  kopie->setzeDatensatzNummer(fehler.gibDatensatzNummer());
  return kopie;
}

}  // namespace

void Vesk_FehlerListe::hinzufuegenFehlerListe(const Vesk_FehlerListe& andere) {
  if (&andere == this) {
    const std::size_t anzahl = fehlerListe.size();
    for (std::size_t i = 0; i < anzahl; ++i) {
      fehlerListe.push_back(kopiere(*fehlerListe[i]));
    }
    return;
  }
  fehlerListe.reserve(fehlerListe.size() + andere.fehlerListe.size());
  for (const auto& fehler : andere.fehlerListe) {
    fehlerListe.push_back(kopiere(*fehler));
  }
}

std::string Vesk_FehlerListe::protokollZeile(const Vesk_Fehler& fehler) {
  std::string zeile(fehler.gibProtokollKennung());
  zeile += ',';
  zeile += std::to_string(fehler.gibFehlerNummer());
  zeile += ',';
  zeile += fehler.gibSatzart().value_or("    ");
  zeile += ',';
  if (const auto* feld = dynamic_cast<const Vesk_DatenFeldFehler*>(&fehler)) {
    zeile += std::to_string(feld->gibFeldNummer());
    zeile += ',';
  }
  zeile += fehler.gibFehlerText();
  if (fehler.gibErklaerendenText()) {
    zeile += ',';
    zeile += *fehler.gibErklaerendenText();
  }
  return zeile;
}

void Vesk_FehlerListe::schreibeProtokollDatei(const std::string& dateiName) const {
  std::string inhalt;
  for (const auto& fehler : fehlerListe) {
    inhalt += protokollZeile(*fehler);
    inhalt += "\r\n";
  }
  std::ofstream datei(dateiName, std::ios::binary | std::ios::trunc);
  if (datei) {
    datei.write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
    datei.close();
  }
  if (!datei) {
    throw Vesk_Exception("Konnte Protokolldatei " + dateiName + " nicht oeffnen");
  }
}

void Vesk_FehlerListe::ausgeben(std::ostream& aus) const {
  for (const auto& fehler : fehlerListe) {
    aus << fehler->gibBeschreibung() << '\n';
  }
}
