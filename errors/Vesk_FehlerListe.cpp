#include "errors/Vesk_FehlerListe.h"

#include <ostream>

#include "config/Ausgabe.h"
#include "errors/ProtokollDatei.h"
#include "errors/Vesk_DatenFeldFehler.h"

void Vesk_FehlerListe::hinzufuegenFehlerListe(const Vesk_FehlerListe& andere) {
  // Counted first, so that adding a list to itself copies each entry once.
  const std::size_t anzahl = andere.fehlerListe.size();
  fehlerListe.reserve(fehlerListe.size() + anzahl);
  for (std::size_t i = 0; i < anzahl; ++i) {
    fehlerListe.push_back(andere.fehlerListe[i]->kopiere());
  }
}

void Vesk_FehlerListe::uebernehmeFehler(Vesk_FehlerListe&& andere) {
  fehlerListe.reserve(fehlerListe.size() + andere.fehlerListe.size());
  for (auto& fehler : andere.fehlerListe) {
    fehlerListe.push_back(std::move(fehler));
  }
  andere.fehlerListe.clear();
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

std::string Vesk_FehlerListe::protokollInhalt() const {
  std::string inhalt;
  for (const auto& fehler : fehlerListe) {
    vesk::haengeMaskiertAn(inhalt, protokollZeile(*fehler));
    inhalt += "\r\n";
  }
  return inhalt;
}

void Vesk_FehlerListe::schreibeProtokollDatei(const std::string& dateiName) const {
  ProtokollDatei(dateiName).schreibe(protokollInhalt());
}

void Vesk_FehlerListe::ausgeben(std::ostream& aus) const {
  for (const auto& fehler : fehlerListe) {
    vesk::schreibeZeile(aus, fehler->gibBeschreibung());
  }
}
