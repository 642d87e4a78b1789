#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "batch/GeordnetParallel.h"
#include "batch/Nachrichtensammlung.h"
#include "batch/Protokollablage.h"
#include "cli/Befehl.h"
#include "config/Ausgabe.h"
#include "config/Vesk_Exception.h"
#include "driver/Konfiguration.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "report/TextBericht.h"

namespace vesk::cli {

namespace {

struct Optionen {
  bool json = false;
  unsigned jobs = 0;                      // 0: all cores
  std::optional<std::string> protokolle;  // the folder of the protocol files
  std::string iniDatei;
  std::vector<std::string> nachrichten;
};

constexpr int ABBRUCH = 2;

// One message's report, written by the thread that checked it.
struct Bericht {
  NachrichtenErgebnis::Art art;
  std::string zeilen;
};

unsigned faeden(unsigned gewuenscht) {
  if (gewuenscht > 0) {
    return gewuenscht;
  }
  const unsigned kerne = std::thread::hardware_concurrency();
  return kerne > 0 ? kerne : 1;
}

int pruefen(const Optionen& optionen, const Ausgabe& ausgabe) {
  const auto konfiguration = ladeKonfiguration(optionen.iniDatei, ausgabe.fehler);
  if (!konfiguration) {
    return ABBRUCH;
  }
  const std::vector<GesammelteNachricht> nachrichten = sammleNachrichten(optionen.nachrichten);
  std::optional<Protokollablage> ablage;
  if (optionen.protokolle) {
    ablage.emplace(*optionen.protokolle);
    if (const auto fehler = ablage->pruefeEindeutig(nachrichten)) {
      schreibeZeile(ausgabe.fehler, "vesk: " + *fehler);
      ausgabe.fehler << "Mehr mit: vesk pruefen --help\n";
      return ABBRUCH;
    }
  }
  Laufbilanz bilanz;
  fuehreGeordnetAus<Bericht>(
      nachrichten.size(), faeden(optionen.jobs),
      [&](std::size_t i) {
        const GesammelteNachricht& nachricht = nachrichten[i];
        NachrichtenErgebnis ergebnis =
            nachricht.fehler ? abgebrochen(nachricht.pfad, *nachricht.fehler)
                             : pruefeDatei(*konfiguration, nachricht.pfad,
                                           NachrichtenDatei::Zugriff::abbilden, ablage.has_value());
        if (ablage) {
          ablage->lege(ergebnis, nachricht);
        }
        return Bericht{ergebnis.art,
                       optionen.json ? alsJsonZeile(ergebnis) + '\n' : alsText(ergebnis)};
      },
      [&](std::size_t, const Bericht& bericht) {
        bilanz.zaehle(bericht.art);
        ausgabe.aus << bericht.zeilen;
      });
  if (!optionen.json) {
    ausgabe.aus << bilanz.alsText();
  }
  return bilanz.exitStatus();
}

}  // namespace

std::unique_ptr<Konfiguration> ladeKonfiguration(const std::string& iniDatei,
                                                 std::ostream& fehler) {
  std::string text;
  try {
    return Konfiguration::lade(iniDatei);
  } catch (const Vesk_Exception& e) {
    text = e.toString();
  } catch (const std::bad_alloc&) {
    text = "Nicht genug Arbeitsspeicher fuer die Pruefung";
  }
  fehler << "Ausnahmefehler aufgetreten:\n" << maskiert(text) << "\nProgrammabbruch.\n";
  return nullptr;
}

void registrierePruefen(CLI::App& app, Ausfuehrung& ausfuehrung) {
  auto optionen = std::make_shared<Optionen>();
  CLI::App* befehl = app.add_subcommand(
      "pruefen",
      "Prueft Nachrichten (oder jede Datei unter einem Ordner) und verortet jeden Fehler");
  befehl->add_flag("--json", optionen->json, "Eine JSON-Zeile je Nachricht (JSON Lines)");
  befehl->add_option("--jobs", optionen->jobs, "Threads, die pruefen (Vorgabe: alle Kerne)")
      ->check(CLI::Range(1U, 4096U));
  befehl
      ->add_option("--protokolle", optionen->protokolle,
                   "Je Nachricht ihre Protokolldatei unter ORDNER (<Pfad>.protokoll)")
      ->type_name("ORDNER");
  befehl->add_option("Ini-Datei", optionen->iniDatei, "Die Hauptdatei (Gruppe PLAUSIPRUEFUNG)")
      ->required();
  befehl->add_option("Nachricht", optionen->nachrichten, "Nachrichtendateien oder Ordner")
      ->required();
  befehl->footer("Namen, die mit - beginnen, stehen nach --: vesk pruefen plausi.ini -- -x.dat");
  befehl->callback([optionen, &ausfuehrung] {
    ausfuehrung = [optionen](const Ausgabe& ausgabe) { return pruefen(*optionen, ausgabe); };
  });
}

}  // namespace vesk::cli
