#include "driver/Vesk_Plausipruefer.h"

#include <iostream>
#include <memory>
#include <new>
#include <string>

#include "config/Ausgabe.h"
#include "config/Vesk_Exception.h"
#include "driver/Konfiguration.h"
#include "driver/NachrichtenDatei.h"
#include "driver/Vesk_Plausipruefung.h"
#include "errors/Vesk_FehlerListe.h"

namespace {

constexpr int OK = 0;
constexpr int FEHLER_GEFUNDEN = 1;
constexpr int ABBRUCH = 2;

void berichte(const Vesk_FehlerListe& liste) {
  vesk::schreibeZeile(std::cout,
                      "Nachrichtentyp: " + liste.gibNachrichtenTyp().value_or("nicht erkannt"));
  std::cout << "Anzahl der Fehler:" << liste.gibGroesse() << '\n';
  if (liste.gibGroesse() > 0) {
    liste.ausgeben(std::cout);
  } else {
    std::cout << "Nachricht OK !\n";
  }
}

int pruefe(std::span<const std::string_view> argumente) {
  // The message file comes first: nothing else is opened when it cannot be read.
  const NachrichtenDatei nachricht{std::string(argumente[1])};
  const auto definitionen = vesk::Konfiguration::leseHauptdatei(std::string(argumente[0]));
  const Vesk_Plausipruefung pruefung(definitionen.struktur, definitionen.datensaetze);
  // Whatever bytes that could not be read led to, a finding or a fault, counts for nothing.
  const Vesk_FehlerListe liste = [&] {
    try {
      return pruefung.pruefe(nachricht.bytes());
    } catch (const Vesk_Exception&) {
      nachricht.pruefeUnversehrt();
      throw;
    }
  }();
  nachricht.pruefeUnversehrt();
  berichte(liste);
  // A protocol beside a report that never arrived would pass for a completed run.
  if (!vesk::standardausgabeGeschrieben()) {
    throw Vesk_Exception(std::string(vesk::STANDARDAUSGABE_FEHLER));
  }
  if (argumente.size() == 3) {
    liste.schreibeProtokollDatei(std::string(argumente[2]));
  }
  return liste.gibGroesse() > 0 ? FEHLER_GEFUNDEN : OK;
}

int brichAb(std::string_view text) {
  vesk::berichteAbbruch(text);
  return ABBRUCH;
}

}  // namespace

int Vesk_Plausipruefer::main(std::span<const std::string_view> argumente) {
  if (argumente.size() < 2 || argumente.size() > 3) {
    std::cout << "usage: Vesk_Plausipruefer <Ini-Datei> <Nachrichten-Datei> [<Protokoll-Datei>]\n";
    return vesk::beende(ABBRUCH);
  }
  try {
    return pruefe(argumente);
  } catch (const Vesk_Exception& e) {
    return brichAb(e.toString());
  } catch (const std::bad_alloc&) {
    return brichAb("Nicht genug Arbeitsspeicher fuer die Pruefung");
  } catch (...) {
    return brichAb("Unerwarteter interner Fehler");
  }
}
