#include "report/TextBericht.h"

#include "config/Ausgabe.h"
#include "fields/MeldungsText.h"
#include "report/NachrichtenErgebnis.h"

namespace vesk {

namespace {

// Appends one line, its control characters escaped: a message's bytes, its path and the texts
// of its definitions may hold a line end or an escape sequence.
void schreibeZeile(std::string& aus, const std::string& zeile) {
  haengeMaskiertAn(aus, zeile);
  aus += '\n';
}

std::string fehlerZeile(const std::string& nachricht, const VerorteterFehler& fehler) {
  std::string zeile = nachricht;
  if (fehler.datensatz) {
    zeile += ':' + std::to_string(*fehler.datensatz);
  }
  if (fehler.offset) {
    zeile += ':' + std::to_string(*fehler.offset);
  }
  zeile += ": ";
  zeile += fehler.konsolenZeile;
  if (fehler.feldname) {
    zeile += " | " + *fehler.feldname;
    if (fehler.wert) {
      zeile += " = \"" + MeldungsText(*fehler.wert).alsUtf8() + '"';
    }
  }
  return zeile;
}

std::string zusammenfassung(const NachrichtenErgebnis& ergebnis) {
  std::string zeile = ergebnis.nachricht + ": ";
  switch (ergebnis.art) {
    case NachrichtenErgebnis::Art::abbruch:
      return zeile + "Abbruch: " + ergebnis.abbruch;
    case NachrichtenErgebnis::Art::ok:
      return zeile + ergebnis.nachrichtenTyp.value_or("nicht erkannt") + ": OK";
    case NachrichtenErgebnis::Art::fehler:
      break;
  }
  return zeile + ergebnis.nachrichtenTyp.value_or("nicht erkannt") + ": " +
         std::to_string(ergebnis.fehler.size()) + " Fehler";
}

}  // namespace

std::string alsText(const NachrichtenErgebnis& ergebnis) {
  std::string aus;
  for (const VerorteterFehler& fehler : ergebnis.fehler) {
    schreibeZeile(aus, fehlerZeile(ergebnis.nachricht, fehler));
  }
  schreibeZeile(aus, zusammenfassung(ergebnis));
  return aus;
}

void Laufbilanz::zaehle(NachrichtenErgebnis::Art art) {
  switch (art) {
    case NachrichtenErgebnis::Art::ok:
      ++ok;
      break;
    case NachrichtenErgebnis::Art::fehler:
      ++fehler;
      break;
    case NachrichtenErgebnis::Art::abbruch:
      ++abbruch;
      break;
  }
}

std::string Laufbilanz::alsText() const {
  return std::to_string(ok + fehler + abbruch) + " Nachrichten: " + std::to_string(ok) + " OK, " +
         std::to_string(fehler) + " mit Fehlern, " + std::to_string(abbruch) + " abgebrochen\n";
}

int Laufbilanz::exitStatus() const {
  if (abbruch > 0) {
    return 2;
  }
  return fehler > 0 ? 1 : 0;
}

}  // namespace vesk
