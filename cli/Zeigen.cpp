#include <CLI/CLI.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "cli/Befehl.h"
#include "config/Ausgabe.h"
#include "config/Vesk_Exception.h"
#include "driver/Konfiguration.h"
#include "report/AnsichtBericht.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "report/Nachrichtenansicht.h"

namespace vesk::cli {

namespace {

struct Optionen {
  bool json = false;
  std::optional<std::size_t> satz;
  std::string iniDatei;
  std::string nachricht;
};

constexpr int ABBRUCH = 2;

int zeigen(const Optionen& optionen, const Ausgabe& ausgabe) {
  const auto konfiguration = ladeKonfiguration(optionen.iniDatei, ausgabe.fehler);
  if (!konfiguration) {
    return ABBRUCH;
  }
  std::optional<Nachrichtenansicht> ansicht;
  try {
    ansicht = zeigeDatei(*konfiguration, optionen.nachricht);
  } catch (const Vesk_Exception& e) {
    // A program that reads the JSON gets a document in every case, as from vesk pruefen.
    if (optionen.json) {
      Nachrichtenansicht abbruch;
      abbruch.ergebnis = abgebrochen(optionen.nachricht, e.toString());
      ausgabe.aus << alsJsonText(alsJson(abbruch), 2) << '\n';
    } else {
      schreibeZeile(ausgabe.fehler, "vesk zeigen: " + e.toString());
    }
    return ABBRUCH;
  }
  const std::size_t anzahl = ansicht->datensaetze.size();
  if (optionen.satz && *optionen.satz >= anzahl) {
    schreibeZeile(ausgabe.fehler, "vesk zeigen: Datensatz " + std::to_string(*optionen.satz) +
                                      " gibt es nicht; " + optionen.nachricht +
                                      " hat die Datensaetze 0 bis " + std::to_string(anzahl - 1));
    return ABBRUCH;
  }
  if (optionen.json) {
    ausgabe.aus << alsJsonText(alsJson(*ansicht, optionen.satz), 2) << '\n';
  } else {
    schreibeZeilen(ausgabe.aus, alsText(*ansicht, optionen.satz));
  }
  return ansicht->ergebnis.exitStatus();
}

}  // namespace

void registriereZeigen(CLI::App& app, Ausfuehrung& ausfuehrung) {
  auto optionen = std::make_shared<Optionen>();
  CLI::App* befehl = app.add_subcommand(
      "zeigen", "Zeigt eine Nachricht Feld fuer Feld, mit den Fehlern der Pruefung");
  befehl->add_flag("--json", optionen->json, "Ein JSON-Dokument statt Text");
  // Checked as text: a number type without sign would take "-1" for its largest value.
  befehl->add_option("--satz", optionen->satz, "Nur der Datensatz N (0 = Vorsatz)")
      ->type_name("N")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos
                       ? std::string()
                       : "keine Satznummer: " + text;
          },
          "", "Satznummer"));
  befehl->add_option("Ini-Datei", optionen->iniDatei, "Die Hauptdatei (Gruppe PLAUSIPRUEFUNG)")
      ->required();
  befehl->add_option("Nachricht", optionen->nachricht, "Die Nachrichtendatei")->required();
  befehl->footer("Ein Name, der mit - beginnt, steht nach --: vesk zeigen plausi.ini -- -x.dat");
  befehl->callback([optionen, &ausfuehrung] {
    ausfuehrung = [optionen](const Ausgabe& ausgabe) { return zeigen(*optionen, ausgabe); };
  });
}

}  // namespace vesk::cli
