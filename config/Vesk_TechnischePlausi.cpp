#include "config/Vesk_TechnischePlausi.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

#include "driver/Vesk_Datensatz.h"
#include "driver/Vesk_Meldung.h"
#include "errors/Vesk_Fehler.h"
#include "errors/Vesk_FehlerListe.h"

bool Vesk_TechnischePlausi::pruefeDatensaetze(const Vesk_Meldung& meldung,
                                              Vesk_FehlerListe& liste) const {
  return pruefeDatensaetze(meldung, 0, meldung.gibAnzahl(), liste);
}

bool Vesk_TechnischePlausi::pruefeDatensaetze(const Vesk_Meldung& meldung, std::size_t anfang,
                                              std::size_t ende, Vesk_FehlerListe& liste) const {
  bool fehlerfrei = true;
  meldung.fuerDatensaetze(anfang, ende, [&](std::size_t i, const Vesk_Datensatz& datensatz) {
    const std::size_t vorher = liste.gibGroesse();
    if (!datensatz.pruefe(liste)) {
      fehlerfrei = false;
      // The record's index, which the field findings do not show but located reports do.
      for (std::size_t j = vorher; j < liste.gibGroesse(); ++j) {
        liste.gibFehler(j).setzeDatensatzNummer(static_cast<std::int64_t>(i));
      }
    }
  });
  return fehlerfrei;
}

bool Vesk_TechnischePlausi::pruefeDatensaetze(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste,
                                              unsigned faeden) const {
  const std::size_t anzahl = meldung.gibAnzahl();
  const std::size_t teile =
      std::min<std::size_t>(faeden, std::max<std::size_t>(1, anzahl / SAETZE_FUER_FAEDEN));
  if (teile <= 1) {
    return pruefeDatensaetze(meldung, 0, anzahl, liste);
  }
  std::vector<Vesk_FehlerListe> listen(teile);
  std::vector<std::exception_ptr> ausnahmen(teile);
  std::vector<char> fehlerfreiJeTeil(teile, 1);
  const std::size_t proTeil = (anzahl + teile - 1) / teile;
  const auto pruefeTeil = [&](std::size_t t) {
    try {
      const std::size_t anfang = t * proTeil;
      const std::size_t ende = std::min(anfang + proTeil, anzahl);
      fehlerfreiJeTeil[t] = pruefeDatensaetze(meldung, anfang, ende, listen[t]) ? 1 : 0;
    } catch (...) {
      ausnahmen[t] = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> threads;
    threads.reserve(teile - 1);
    for (std::size_t t = 1; t < teile; ++t) {
      threads.emplace_back(pruefeTeil, t);
    }
    pruefeTeil(0);
  }
  bool fehlerfrei = true;
  for (std::size_t t = 0; t < teile; ++t) {
    if (ausnahmen[t]) {
      std::rethrow_exception(ausnahmen[t]);
    }
    fehlerfrei = fehlerfrei && fehlerfreiJeTeil[t] != 0;
    liste.uebernehmeFehler(std::move(listen[t]));
  }
  return fehlerfrei;
}
