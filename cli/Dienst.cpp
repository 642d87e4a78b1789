#include "dienst/Dienst.h"

#include <CLI/CLI.hpp>
#include <boost/system/system_error.hpp>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <thread>

#include "cli/Befehl.h"
#include "config/Ausgabe.h"
#include "dienst/Dienstprotokoll.h"
#include "dienst/Grenzen.h"
#include "dienst/KonfigurationsHalter.h"
#include "dienst/Metriken.h"
#include "driver/Konfiguration.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace vesk::cli {

namespace {

using dienst::Grenzen;

struct Optionen {
  std::string adresse = "127.0.0.1";
  unsigned short port = 8080;
  unsigned threads = 0;  // 0: all cores
  Grenzen grenzen;
  std::string iniDatei;
};

constexpr int ABBRUCH = 2;

// Lets the process open as many descriptors as it may: every connection needs one, and the
// usual soft limit of 1024 is below the connection limit's default plus the files of a check.
void hebeDateigrenze() {
#ifndef _WIN32
  rlimit grenze{};
  if (getrlimit(RLIMIT_NOFILE, &grenze) == 0 && grenze.rlim_cur < grenze.rlim_max) {
    grenze.rlim_cur = grenze.rlim_max;
    setrlimit(RLIMIT_NOFILE, &grenze);
  }
#endif
}

int dienstLaeuft(Optionen optionen, const Ausgabe& ausgabe) {
  auto konfiguration = ladeKonfiguration(optionen.iniDatei, ausgabe.fehler);
  if (!konfiguration) {
    return ABBRUCH;
  }
  hebeDateigrenze();
  if (optionen.threads == 0) {
    optionen.threads = std::max(std::thread::hardware_concurrency(), 1U);
  }
  optionen.grenzen.threads = optionen.threads;
  dienst::KonfigurationsHalter konfigurationen(optionen.iniDatei, std::move(konfiguration));
  dienst::Metriken metriken;
  dienst::Dienstprotokoll protokoll(ausgabe.fehler);
  dienst::Dienst server(optionen.grenzen, konfigurationen, metriken, protokoll);
  unsigned short port = 0;
  try {
    port = server.binde(optionen.adresse, optionen.port);
  } catch (const boost::system::system_error& e) {
    schreibeZeile(ausgabe.fehler, "vesk dienst: " + optionen.adresse + ":" +
                                      std::to_string(optionen.port) +
                                      " ist nicht nutzbar: " + e.code().message());
    return ABBRUCH;
  }
  server.fangeSignale();  // before the line that tells a supervisor the service is up
  protokoll.ereignis("gestartet", {{"adresse", optionen.adresse},
                                   {"port", port},
                                   {"threads", optionen.threads},
                                   {"konfiguration", optionen.iniDatei}});
  server.laufe();
  protokoll.ereignis("beendet");
  return 0;
}

// Adds an option that takes a size or a duration (`art`, as a usage error names it) and stores
// it, as `lese` reads it, into `ziel`; a text that `lese` refuses is a usage error.
template <class T, class Leser>
void grenzOption(CLI::App& befehl, const std::string& name, T& ziel, const std::string& text,
                 const std::string& vorgabe, const std::string& art, Leser lese) {
  befehl
      .add_option_function<std::string>(
          name, [&ziel, lese](const std::string& wert) { ziel = *lese(wert); },
          text + " (Vorgabe: " + vorgabe + ")")
      ->check(CLI::Validator(
          [lese, art](const std::string& wert) {
            return lese(wert) ? std::string() : "keine gueltige " + art + ": " + wert;
          },
          art == "Groesse" ? "GROESSE" : "DAUER", art));
}

}  // namespace

void registriereDienst(CLI::App& app, Ausfuehrung& ausfuehrung) {
  auto optionen = std::make_shared<Optionen>();
  Grenzen& g = optionen->grenzen;
  CLI::App* befehl = app.add_subcommand(
      "dienst", "Prueft Nachrichten als HTTP-Dienst und zeigt sie auf einer Webseite");
  befehl->add_option("--adresse", optionen->adresse, "Adresse, an der der Dienst lauscht")
      ->capture_default_str();
  befehl->add_option("--port", optionen->port, "Port (0: ein freier)")->capture_default_str();
  befehl->add_option("--threads", optionen->threads, "Pruefende Threads (Vorgabe: alle Kerne)")
      ->check(CLI::Range(1U, 4096U));
  befehl
      ->add_option("--warteschlange", g.warteschlange,
                   "Anfragen, die auf einen Pruefer warten duerfen")
      ->capture_default_str()
      ->check(CLI::Range(std::size_t{0}, std::size_t{1} << 20));
  grenzOption(*befehl, "--max-bytes", g.maxBytes, "Groesste Nachricht (hoechstens 1GiB)",
              dienst::alsGroesse(g.maxBytes), "Groesse", [](const std::string& text) {
                const auto wert = dienst::leseGroesse(text);
                return wert && *wert <= (std::uint64_t{1} << 30) ? wert : std::nullopt;
              });
  grenzOption(*befehl, "--max-kopf", g.maxKopf, "Groesste Kopfzeilen einer Anfrage (256 bis 16MiB)",
              dienst::alsGroesse(g.maxKopf), "Groesse", [](const std::string& text) {
                const auto wert = dienst::leseGroesse(text);
                return wert && *wert >= 256 && *wert <= (std::uint64_t{1} << 24)
                           ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*wert))
                           : std::nullopt;
              });
  grenzOption(*befehl, "--lesefrist", g.lesefrist, "Frist fuer eine ganze Anfrage",
              dienst::alsDauer(g.lesefrist), "Dauer", dienst::leseDauer);
  grenzOption(*befehl, "--leerlauf", g.leerlauf, "Frist einer untaetigen Verbindung",
              dienst::alsDauer(g.leerlauf), "Dauer", dienst::leseDauer);
  grenzOption(*befehl, "--stopfrist", g.stopfrist, "Frist fuer laufende Anfragen beim Beenden",
              dienst::alsDauer(g.stopfrist), "Dauer", dienst::leseDauer);
  befehl->add_option("--max-verbindungen", g.maxVerbindungen, "Offene Verbindungen hoechstens")
      ->capture_default_str()
      ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 20));
  befehl->add_option("Ini-Datei", optionen->iniDatei, "Die Hauptdatei (Gruppe PLAUSIPRUEFUNG)")
      ->required();
  befehl->footer(
      "Groessen: Bytes oder mit KiB, MiB, GiB; Dauern: mit ms oder s. Ohne TLS und "
      "Anmeldung: vor einem offenen Netz steht ein Proxy, der beides bietet.");
  befehl->callback([optionen, &ausfuehrung] {
    ausfuehrung = [optionen](const Ausgabe& ausgabe) { return dienstLaeuft(*optionen, ausgabe); };
  });
}

}  // namespace vesk::cli
