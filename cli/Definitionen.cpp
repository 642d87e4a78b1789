#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/Befehl.h"
#include "config/Ausgabe.h"
#include "config/Vesk_Exception.h"
#include "lint/DefinitionsPruefung.h"

namespace vesk::cli {

namespace {

struct Optionen {
  bool karte = false;
  std::string iniDatei;
};

constexpr int OHNE_FEHLER = 0;
constexpr int MIT_FEHLERN = 1;
constexpr int ABBRUCH = 2;

int definitionen(const Optionen& optionen, const Ausgabe& ausgabe) {
  std::unique_ptr<DefinitionsPruefung> pruefung;
  try {
    pruefung = std::make_unique<DefinitionsPruefung>(
        DefinitionsPruefung::ausHauptdatei(optionen.iniDatei, optionen.karte));
  } catch (const Vesk_Exception& e) {
    ausgabe.fehler << "Ausnahmefehler aufgetreten:\n"
                   << maskiert(e.toString()) << "\nProgrammabbruch.\n";
    return ABBRUCH;
  }
  for (const Definitionsbefund& befund : pruefung->gibBefunde()) {
    schreibeZeile(ausgabe.aus, alsZeile(befund));
  }
  if (optionen.karte) {
    for (const Satzkarte& karte : pruefung->gibKarten()) {
      ausgabe.aus << '\n';
      schreibeZeilen(ausgabe.aus, alsText(karte));
    }
  }
  return pruefung->gibAnzahlFehler() > 0 ? MIT_FEHLERN : OHNE_FEHLER;
}

}  // namespace

void registriereDefinitionen(CLI::App& app, Ausfuehrung& ausfuehrung) {
  auto optionen = std::make_shared<Optionen>();
  CLI::App* befehl = app.add_subcommand(
      "definitionen", "Prueft die Definitionsdateien und meldet jeden Fehler mit Datei und Zeile");
  befehl->add_flag("--karte", optionen->karte,
                   "Zeigt je Satzart, welches Feld welches ihrer 256 Bytes abdeckt");
  befehl->add_option("Ini-Datei", optionen->iniDatei, "Die Hauptdatei (Gruppe PLAUSIPRUEFUNG)")
      ->required();
  befehl->callback([optionen, &ausfuehrung] {
    ausfuehrung = [optionen](const Ausgabe& ausgabe) { return definitionen(*optionen, ausgabe); };
  });
}

}  // namespace vesk::cli
