#include "report/TextBericht.h"

#include "fields/MeldungsText.h"
#include "report/NachrichtenErgebnis.h"

namespace vesk {

namespace {

void schreibeFehler(std::string& aus, const std::string& nachricht,
                    const VerorteterFehler& fehler) {
  aus += nachricht;
  if (fehler.datensatz) {
    aus += ':' + std::to_string(*fehler.datensatz);
  }
  if (fehler.offset) {
    aus += ':' + std::to_string(*fehler.offset);
  }
  aus += ": ";
  aus += fehler.konsolenZeile;
  if (fehler.feldname) {
    aus += " | " + *fehler.feldname;
    if (fehler.wert) {
      aus += " = \"" + MeldungsText(*fehler.wert).alsUtf8() + '"';
    }
  }
  aus += '\n';
}

}  // namespace

std::string alsText(const NachrichtenErgebnis& ergebnis) {
  std::string aus;
  for (const VerorteterFehler& fehler : ergebnis.fehler) {
    schreibeFehler(aus, ergebnis.nachricht, fehler);
  }
  aus += ergebnis.nachricht + ": ";
  if (ergebnis.art == NachrichtenErgebnis::Art::abbruch) {
    aus += "Abbruch: " + ergebnis.abbruch + '\n';
    return aus;
  }
  aus += ergebnis.nachrichtenTyp.value_or("nicht erkannt");
  if (ergebnis.art == NachrichtenErgebnis::Art::ok) {
    aus += ": OK\n";
  } else {
    aus += ": " + std::to_string(ergebnis.fehler.size()) + " Fehler\n";
  }
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
