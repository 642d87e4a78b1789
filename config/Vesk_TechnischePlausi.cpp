#include "config/Vesk_TechnischePlausi.h"

#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_Fehler.h"
#include "errors/Vesk_FehlerListe.h"

bool Vesk_TechnischePlausi::pruefeDatensaetze(const Vesk_Meldung& meldung,
                                              Vesk_FehlerListe& liste) const {
  bool fehlerfrei = true;
  const auto datensaetze = meldung.gibDatensaetze();
  for (std::size_t index = 0; index < datensaetze.size(); ++index) {
    const std::size_t vorher = liste.gibGroesse();
    if (!datensaetze[index].pruefe(liste)) {
      fehlerfrei = false;
      // The record's index, which the field findings do not show but located reports do.
      for (std::size_t i = vorher; i < liste.gibGroesse(); ++i) {
        liste.gibFehler(i).setzeDatensatzNummer(static_cast<std::int64_t>(index));
      }
    }
  }
  return fehlerfrei;
}
