#pragma once
#include <functional>
#include <iosfwd>

namespace CLI {
class App;
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

}  // namespace vesk::cli
