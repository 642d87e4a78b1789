#include "report/VerorteterFehler.h"

#include "config/SatzartenRegister.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "errors/Vesk_DatenFeldFehler.h"
#include "errors/Vesk_FehlerListe.h"
#include "errors/Vesk_MussKannFehler.h"

namespace vesk {

namespace {

std::string ohneAuffuellung(std::string_view kennung) {
  const std::size_t ende = kennung.find_last_not_of(' ');
  return std::string(kennung.substr(0, ende == std::string_view::npos ? 0 : ende + 1));
}

// Adds name, place, length and bytes of the field a field finding names, when the record type
// and the field can still be found and the field lies within the message.
void verorteFeld(VerorteterFehler& gefunden, const Vesk_DatenFeldFehler& fehler,
                 std::span<const unsigned char> nachricht, const SatzartenRegister& satzArten) {
  gefunden.feldnummer = fehler.gibFeldNummer() + 1;
  if (!fehler.gibSatzart()) {
    return;
  }
  const std::string& name = *fehler.gibSatzart();
  const Vesk_Satzart* satzart = satzArten.suche(name);
  const Vesk_DatenFeld* feld = satzart ? satzart->gibDatenFeld(*gefunden.feldnummer) : nullptr;
  if (feld == nullptr) {
    return;
  }
  const auto variablen = satzArten.gibDatei().variablesOf(name);
  if (static_cast<std::size_t>(fehler.gibFeldNummer()) < variablen.size()) {
    gefunden.feldname = variablen[static_cast<std::size_t>(fehler.gibFeldNummer())];
  }
  gefunden.laenge = feld->gibAnzahlBytes();
  if (!gefunden.offset) {
    return;
  }
  const std::int64_t anfang = *gefunden.offset + feld->gibAdresse();
  gefunden.offset = anfang;
  const auto laenge = static_cast<std::size_t>(feld->gibAnzahlBytes());
  if (static_cast<std::size_t>(anfang) + laenge <= nachricht.size()) {
    const auto bytes = nachricht.subspan(static_cast<std::size_t>(anfang), laenge);
    gefunden.wert.emplace(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
}

}  // namespace

std::vector<VerorteterFehler> verorte(const Vesk_FehlerListe& liste,
                                      std::span<const unsigned char> nachricht,
                                      const SatzartenRegister& satzArten) {
  std::vector<VerorteterFehler> ergebnis;
  ergebnis.reserve(liste.gibGroesse());
  for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
    const Vesk_Fehler& fehler = liste.gibFehler(i);
    VerorteterFehler& gefunden = ergebnis.emplace_back();
    gefunden.art = ohneAuffuellung(fehler.gibProtokollKennung());
    gefunden.nummer = fehler.gibFehlerNummer();
    gefunden.beschreibung = fehler.gibFehlerText();
    gefunden.konsolenZeile = fehler.gibBeschreibung();
    gefunden.text = fehler.gibErklaerendenText();
    gefunden.satzart = fehler.gibSatzart();
    // The rules' findings lie in no single record, nor do those about the whole message; index
    // and offset always name the same record.
    if (dynamic_cast<const Vesk_MussKannFehler*>(&fehler) == nullptr && fehler.gibOrtsSatz()) {
      gefunden.datensatz = fehler.gibOrtsSatz();
      gefunden.offset = fehler.gibSatzOffset();
    }
    if (const auto* feld = dynamic_cast<const Vesk_DatenFeldFehler*>(&fehler)) {
      verorteFeld(gefunden, *feld, nachricht, satzArten);
    }
  }
  return ergebnis;
}

}  // namespace vesk
