#include "structure/Vesk_StrukturPlausi.h"

#include <iostream>
#include <memory>
#include <string>

#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_FehlerListe.h"
#include "errors/Vesk_StrukturFehler.h"
#include "structure/Vesk_NachrichtenTyp.h"

Vesk_StrukturPlausi::Vesk_StrukturPlausi(const Vesk_NachrichtenTyp& typ)
    : Vesk_StrukturPlausi(typ, &std::cout) {}

Vesk_StrukturPlausi::Vesk_StrukturPlausi(const Vesk_NachrichtenTyp& typ, std::ostream* ausgabe)
    : fortschritt(ausgabe) {
  feldSchablonen.reserve(static_cast<std::size_t>(typ.gibAnzahlFelder()));
  for (std::int32_t i = 0; i < typ.gibAnzahlFelder(); ++i) {
    feldSchablonen.emplace_back(*typ.gibFeldNr(i));
  }
  letzterSatz.assign(feldSchablonen.size(), -1);
}

bool Vesk_StrukturPlausi::pruefeStruktur(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) {
  if (!reihenfolgePlausi(meldung, liste)) {
    return false;
  }
  melde("Reihenfolge OK\n");
  if (!nachrichtenTypPlausi(meldung, liste)) {
    return false;
  }
  melde("Struktur OK\n");
  return true;
}

bool Vesk_StrukturPlausi::reihenfolgePlausi(const Vesk_Meldung& meldung,
                                            Vesk_FehlerListe& liste) const {
  const auto& datensaetze = meldung.gibDatensaetze();
  for (std::size_t i = 1; i < datensaetze.size(); ++i) {
    const Vesk_Datensatz& satz = datensaetze[i];
    const Vesk_Datensatz& vorgaenger = datensaetze[i - 1];
    if (!satz.istGroesserGleich(vorgaenger)) {
      auto fehler = std::make_unique<Vesk_StrukturFehler>(
          Vesk_StrukturFehler::REIHENFOLGE_FEHLER, std::string(satz.gibBezeichner()),
          std::string(satz.gibBezeichner()) + " nicht erlaubt nach " +
              std::string(vorgaenger.gibBezeichner()));
      fehler->setzeDatensatzNummer(static_cast<std::int64_t>(i));
      liste.hinzufuegenFehler(std::move(fehler));
      return false;
    }
  }
  return true;
}

bool Vesk_StrukturPlausi::nachrichtenTypPlausi(const Vesk_Meldung& meldung,
                                               Vesk_FehlerListe& liste) {
  if (!fuelleMitMeldung(meldung, liste)) {
    return false;
  }
  bool plausibel = true;
  for (std::size_t j = 0; j < feldSchablonen.size(); ++j) {
    const std::size_t vorher = liste.gibGroesse();
    if (!feldSchablonen[j].plausibel(liste)) {
      if (liste.gibGroesse() > vorher) {
        // The console shows the record type's place in the message type; the finding is about
        // records that are missing, or about the last one of an incomplete set of parts.
        Vesk_Fehler& fehler = liste.gibLetztenFehler();
        fehler.setzeDatensatzNummer(static_cast<std::int64_t>(j));
        if (fehler.gibFehlerNummer() == Vesk_StrukturFehler::TEILDATENSAETZE_UNVOLLSTAENDIG &&
            letzterSatz[j] >= 0) {
          fehler.verorteBeiSatz(letzterSatz[j]);
        } else {
          fehler.verorteInDerNachricht();
        }
      }
      plausibel = false;
    }
  }
  return plausibel;
}

bool Vesk_StrukturPlausi::fuelleMitMeldung(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) {
  bool zugeordnet = true;
  const auto& datensaetze = meldung.gibDatensaetze();
  for (std::size_t i = 0; i < datensaetze.size(); ++i) {
    if (!datensatzHinzufuegen(datensaetze[i], i, liste)) {
      zugeordnet = false;
    }
  }
  return zugeordnet;
}

bool Vesk_StrukturPlausi::datensatzHinzufuegen(const Vesk_Datensatz& datensatz,
                                               std::size_t position, Vesk_FehlerListe& liste) {
  // Consecutive records mostly share their record type, and with it their template.
  if (&datensatz.gibSatzart() != letzteSatzart) {
    letzteSatzart = &datensatz.gibSatzart();
    letzteSchablone = sucheSchablone(datensatz.gibBezeichner());
  }
  Vesk_NachrichtenFeldSchablone* schablone = letzteSchablone;
  if (schablone == nullptr) {
    auto fehler = std::make_unique<Vesk_StrukturFehler>(Vesk_StrukturFehler::SATZART_NICHT_ERLAUBT,
                                                        std::string(datensatz.gibBezeichner()));
    fehler->setzeDatensatzNummer(static_cast<std::int64_t>(position));
    liste.hinzufuegenFehler(std::move(fehler));
    return false;
  }
  const std::size_t vorher = liste.gibGroesse();
  if (!schablone->hinzufuegen(datensatz, liste)) {
    // Too many of the type, or a part out of turn: this record is the one.
    if (liste.gibGroesse() > vorher) {
      liste.gibLetztenFehler().verorteBeiSatz(static_cast<std::int64_t>(position));
    }
    return false;
  }
  letzterSatz[static_cast<std::size_t>(schablone - feldSchablonen.data())] =
      static_cast<std::int64_t>(position);
  return true;
}

Vesk_NachrichtenFeldSchablone* Vesk_StrukturPlausi::sucheSchablone(std::string_view name) {
  for (auto& schablone : feldSchablonen) {
    if (schablone.gibBezeichner() == name) {
      return &schablone;
    }
  }
  return nullptr;
}

void Vesk_StrukturPlausi::melde(const char* fortschrittsZeile) const {
  if (fortschritt != nullptr) {
    *fortschritt << fortschrittsZeile;
  }
}
