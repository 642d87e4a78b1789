#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/Befehl.h"

namespace vesk::cli {

namespace {

struct Optionen {
  bool json = false;
  unsigned jobs = 0;  // 0: all cores
  std::string iniDatei;
  std::vector<std::string> nachrichten;
};

}  // namespace

void registrierePruefen(CLI::App& app, Ausfuehrung& ausfuehrung) {
  auto optionen = std::make_shared<Optionen>();
  CLI::App* befehl = app.add_subcommand(
      "pruefen", "Checks messages, or every file below a folder, and locates each finding");
  befehl->add_flag("--json", optionen->json, "One JSON object per message (JSON Lines)");
  befehl->add_option("--jobs", optionen->jobs, "Threads that check messages (default: all cores)")
      ->check(CLI::PositiveNumber);
  befehl->add_option("ini", optionen->iniDatei, "The main INI file")->required();
  befehl->add_option("nachrichten", optionen->nachrichten, "Message files or folders")->required();
  befehl->callback([optionen, &ausfuehrung] {
    ausfuehrung = [optionen](const Ausgabe& ausgabe) {
      ausgabe.fehler << "vesk pruefen: noch nicht gebaut\n";
      return 2;
    };
  });
}

}  // namespace vesk::cli
