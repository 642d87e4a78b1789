#pragma once
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace vesk {
class Konfiguration;
}

namespace vesk::cli {

// Where a subcommand writes: the report on `aus`, diagnostics on `fehler`.
struct Ausgabe {
  std::ostream& aus;
  std::ostream& fehler;
};

// What a subcommand does once its arguments were parsed; returns the exit status.
using Ausfuehrung = std::function<int(const Ausgabe&)>;

// Each subcommand adds itself to `app` and, when it is the one chosen, stores its run in
// `ausfuehrung`; the options it parses live as long as `app`.
void registrierePruefen(CLI::App& app, Ausfuehrung& ausfuehrung);
void registriereZeigen(CLI::App& app, Ausfuehrung& ausfuehrung);
void registriereDefinitionen(CLI::App& app, Ausfuehrung& ausfuehrung);
void registriereDienst(CLI::App& app, Ausfuehrung& ausfuehrung);

// The configuration `iniDatei` names, or nullptr after the checker's three-line report of why it
// cannot be loaded, on `fehler`.
std::unique_ptr<Konfiguration> ladeKonfiguration(const std::string& iniDatei, std::ostream& fehler);

}  // namespace vesk::cli
