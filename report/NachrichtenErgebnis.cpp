#include "report/NachrichtenErgebnis.h"

#include <new>

#include "config/Vesk_Exception.h"
#include "driver/Konfiguration.h"
#include "driver/NachrichtenDatei.h"
#include "driver/Vesk_Plausipruefung.h"
#include "errors/Vesk_FehlerListe.h"

namespace vesk {

NachrichtenErgebnis abgebrochen(std::string name, std::string text) {
  NachrichtenErgebnis ergebnis;
  ergebnis.nachricht = std::move(name);
  ergebnis.art = NachrichtenErgebnis::Art::abbruch;
  ergebnis.abbruch = std::move(text);
  return ergebnis;
}

namespace {

// Runs `pruefe` and turns what it throws into an abbruch result, with the texts of the
// checker's exception report.
template <class Pruefung>
NachrichtenErgebnis mitAbbruch(const std::string& name, Pruefung&& pruefe) {
  try {
    return pruefe();
  } catch (const Vesk_Exception& e) {
    return abgebrochen(name, e.toString());
  } catch (const std::bad_alloc&) {
    return abgebrochen(name, "Nicht genug Arbeitsspeicher fuer die Pruefung");
  } catch (...) {
    return abgebrochen(name, "Unerwarteter interner Fehler");
  }
}

NachrichtenErgebnis pruefe(const Konfiguration& konfiguration, std::span<const unsigned char> bytes,
                           std::string name, bool mitProtokoll = false,
                           NachrichtenDatei* inTeilen = nullptr) {
  Vesk_Plausipruefung pruefung(konfiguration);
  if (inTeilen != nullptr) {
    pruefung.setzeNachschub([inTeilen](std::size_t bis) { return inTeilen->sichere(bis); });
  }
  const Vesk_FehlerListe liste = pruefung.pruefe(bytes, nullptr);
  NachrichtenErgebnis ergebnis;
  ergebnis.nachricht = std::move(name);
  ergebnis.art =
      liste.gibGroesse() > 0 ? NachrichtenErgebnis::Art::fehler : NachrichtenErgebnis::Art::ok;
  ergebnis.nachrichtenTyp = liste.gibNachrichtenTyp();
  ergebnis.fehler = verorte(liste, bytes, konfiguration.gibSatzarten());
  if (mitProtokoll) {
    ergebnis.protokoll = liste.protokollInhalt();
  }
  return ergebnis;
}

}  // namespace

NachrichtenErgebnis pruefeBytes(const Konfiguration& konfiguration,
                                std::span<const unsigned char> bytes, std::string name) {
  return mitAbbruch(name, [&] {
    // The checker never sees an empty message: it reports an empty file as not found.
    if (bytes.empty()) {
      throw Vesk_Exception("Nachrichtendatei " + name + " nicht gefunden");
    }
    return pruefe(konfiguration, bytes, name);
  });
}

NachrichtenErgebnis pruefeDatei(const Konfiguration& konfiguration, const std::string& pfad,
                                NachrichtenDatei::Zugriff zugriff, bool mitProtokoll) {
  return mitAbbruch(pfad, [&] {
    NachrichtenDatei datei(pfad, zugriff);
    // Whatever bytes that could not be read led to, a finding or a fault, counts for nothing.
    try {
      NachrichtenErgebnis ergebnis =
          pruefe(konfiguration, datei.bytes(), pfad, mitProtokoll,
                 zugriff == NachrichtenDatei::Zugriff::saetze ? &datei : nullptr);
      datei.pruefeUnversehrt();  // also for the bytes the findings carry
      return ergebnis;
    } catch (const Vesk_Exception&) {
      datei.pruefeUnversehrt();
      throw;
    }
  });
}

}  // namespace vesk
