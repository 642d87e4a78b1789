#include "structure/Vesk_NachrichtenFeldSchablone.h"

#include <memory>
#include <string>

#include "driver/Vesk_Datensatz.h"
#include "errors/Vesk_FehlerListe.h"
#include "errors/Vesk_StrukturFehler.h"

namespace {

void melde(Vesk_FehlerListe& liste, std::int32_t nummer, const std::string& satzart) {
  liste.hinzufuegenFehler(std::make_unique<Vesk_StrukturFehler>(nummer, satzart));
}

void meldeFalscheNummer(Vesk_FehlerListe& liste, const std::string& satzart, std::int64_t erlaubt,
                        std::int32_t tatsaechlich) {
  liste.hinzufuegenFehler(std::make_unique<Vesk_StrukturFehler>(
      Vesk_StrukturFehler::FALSCHE_TEILDATENSATZ_NR, satzart,
      "Erlaubt :" + std::to_string(erlaubt) + " Tatsaechlich:" + std::to_string(tatsaechlich)));
}

}  // namespace

bool Vesk_NachrichtenFeldSchablone::hinzufuegen(const Vesk_Datensatz& datensatz,
                                                Vesk_FehlerListe& liste) {
  if (gibAnzahlTeilDatensaetze() > 1) {
    return hinzufuegenTeilDatensatz(datensatz, liste);
  }
  if (anzahlDatensaetze < gibMindestAnzahl() || gibMindestens()) {
    if (anzahlDatensaetze < INT32_MAX) {
      ++anzahlDatensaetze;
    }
    return true;
  }
  melde(liste, Vesk_StrukturFehler::SATZART_ZU_HAEUFIG, gibBezeichner());
  return false;
}

bool Vesk_NachrichtenFeldSchablone::hinzufuegenTeilDatensatz(const Vesk_Datensatz& datensatz,
                                                             Vesk_FehlerListe& liste) {
  const std::int32_t teil = datensatz.gibTeilSatzNummer();
  if (aktuellerTeilDatensatz == gibAnzahlTeilDatensaetze()) {
    if (teil != 1) {
      meldeFalscheNummer(liste, gibBezeichner(), 1, teil);
      return false;
    }
    if (anzahlDatensaetze >= gibMindestAnzahl() && !gibMindestens()) {
      melde(liste, Vesk_StrukturFehler::SATZART_ZU_HAEUFIG, gibBezeichner());
      return false;
    }
    aktuellerTeilDatensatz = 1;
    if (anzahlDatensaetze < INT32_MAX) {
      ++anzahlDatensaetze;
    }
    return true;
  }
  if (teil != std::int64_t{aktuellerTeilDatensatz} + 1) {
    meldeFalscheNummer(liste, gibBezeichner(), std::int64_t{aktuellerTeilDatensatz} + 1, teil);
    return false;
  }
  if (aktuellerTeilDatensatz == 0) {
    anzahlDatensaetze = 1;
  }
  ++aktuellerTeilDatensatz;
  return true;
}

bool Vesk_NachrichtenFeldSchablone::plausibel(Vesk_FehlerListe& liste) {
  const std::int32_t anzahl = anzahlDatensaetze;
  const std::int32_t soll = gibMindestAnzahl();
  if (anzahl > soll && !gibMindestens()) {
    melde(liste, Vesk_StrukturFehler::SATZART_ZU_HAEUFIG, gibBezeichner());
  } else if (anzahl < soll && !gibHoechstens()) {
    melde(liste,
          anzahl == 0 ? Vesk_StrukturFehler::SATZART_FEHLT : Vesk_StrukturFehler::SATZART_ZU_SELTEN,
          gibBezeichner());
  } else if (gibAnzahlTeilDatensaetze() > 1 && anzahl != 0 &&
             aktuellerTeilDatensatz != gibAnzahlTeilDatensaetze()) {
    melde(liste, Vesk_StrukturFehler::TEILDATENSAETZE_UNVOLLSTAENDIG, gibBezeichner());
  } else {
    return true;
  }
  return false;
}
