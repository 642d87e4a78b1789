#include "driver/Konfiguration.h"

#include "config/Dateien.h"
#include "config/SatzartenRegister.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_StrukturDateiException.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "fields/WertemengenRegister.h"
#include "structure/NachrichtenTypRegister.h"

namespace vesk {

namespace {

constexpr std::string_view GRUPPE = "PLAUSIPRUEFUNG";

}  // namespace

Konfiguration::Dateien Konfiguration::leseHauptdatei(const std::string& hauptDatei) {
  if (!istDatei(hauptDatei)) {
    throw Vesk_Exception("Pemo-Initialisierungsdatei " + hauptDatei + " nicht gefunden");
  }
  const IniFile ini(hauptDatei);
  if (!ini.hasVariables(GRUPPE)) {
    throw Vesk_Exception("Kein Feld fuer Plausipruefung in " + hauptDatei + " definiert");
  }
  Dateien dateien{ini.getValue(GRUPPE, "STRUKTUR"), ini.getValue(GRUPPE, "DATENSAETZE")};
  if (dateien.struktur.empty()) {
    throw Vesk_Exception("Keine Strukturdefinitions-Datei in " + hauptDatei + " definiert");
  }
  if (dateien.datensaetze.empty()) {
    throw Vesk_Exception("Keine Datensatzdefinitions-Datei in " + hauptDatei + " definiert");
  }
  return dateien;
}

std::unique_ptr<Konfiguration> Konfiguration::lade(const std::string& hauptDatei) {
  return std::make_unique<Konfiguration>(leseHauptdatei(hauptDatei));
}

void Konfiguration::pruefeVorhanden(const Dateien& dateien) {
  if (dateien.struktur.empty() || dateien.datensaetze.empty()) {
    throw Vesk_Exception("Programmierfehler: Namen der Ini-Dateien nicht angegeben !");
  }
  if (!istDatei(dateien.struktur)) {
    throw Vesk_StrukturDateiException("Konnte Initialisierungsdatei " + dateien.struktur +
                                      " fuer Nachrichtenstruktur nicht oeffnen");
  }
  if (!istDatei(dateien.datensaetze)) {
    throw Vesk_DatensatzDateiException("Konnte Initialisierungsdatei " + dateien.datensaetze +
                                       " fuer Dateistruktur nicht oeffnen");
  }
}

Konfiguration::Konfiguration(const Dateien& namen) : dateien(namen) {
  // Faults found before both files are loaded show the class-wide file names, as the checker's.
  pruefeVorhanden(dateien);
  IniFile struktur(dateien.struktur);
  IniFile datensaetze(dateien.datensaetze);
  try {
    // Fields refer to value sets and field kinds, message types to record types.
    werteMengen = std::make_unique<WertemengenRegister>(Vesk_WertemengenFabrik::lade(datensaetze));
    Vesk_FeldartenFabrik::initialisiere();
    satzArten = std::make_unique<SatzartenRegister>(std::move(datensaetze), *werteMengen);
    nachrichtenTypen = std::make_unique<NachrichtenTypRegister>(std::move(struktur), *satzArten);
    nachrichtenTypen->baueAufgelistete();
  } catch (Vesk_IniFileException& e) {
    benenneDatei(e);
    throw;
  }
}

Konfiguration::~Konfiguration() = default;

void Konfiguration::benenneDatei(Vesk_IniFileException& ausnahme) const {
  if (dynamic_cast<const Vesk_StrukturDateiException*>(&ausnahme) != nullptr) {
    ausnahme.setzeEigeneDatei(dateien.struktur);
  } else if (dynamic_cast<const Vesk_DatensatzDateiException*>(&ausnahme) != nullptr) {
    ausnahme.setzeEigeneDatei(dateien.datensaetze);
  }
}

}  // namespace vesk
