#include "config/Vesk_TechnischePlausi.h"

#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"

bool Vesk_TechnischePlausi::pruefeDatensaetze(const Vesk_Meldung& meldung,
                                              Vesk_FehlerListe& liste) const {
  bool fehlerfrei = true;
  for (const Vesk_Datensatz& datensatz : meldung.gibDatensaetze()) {
    if (!datensatz.pruefe(liste)) {
      fehlerfrei = false;
    }
  }
  return fehlerfrei;
}
