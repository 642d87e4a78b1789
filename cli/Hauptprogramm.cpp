#include "cli/Hauptprogramm.h"

#include <CLI/CLI.hpp>
#include <ostream>
#include <vector>

#include "cli/Befehl.h"
#include "config/Ausgabe.h"

#ifndef VESK_VERSION
#define VESK_VERSION "0"
#endif

namespace vesk::cli {

namespace {

constexpr int USAGE = 2;

}  // namespace

int hauptprogramm(std::span<const std::string> argumente, std::ostream& aus, std::ostream& fehler) {
  CLI::App app("vesk: prueft Nachrichten gegen ihre Definitionsdateien", "vesk");
  app.set_version_flag("--version", "vesk " VESK_VERSION);
  app.require_subcommand(1);
  // An argument starting with '/' is a path (a POSIX one, or one under wine), never an option,
  // also on Windows; the subcommands inherit this.
  app.allow_windows_style_options(false);
  Ausfuehrung ausfuehrung;
  registrierePruefen(app, ausfuehrung);
  registriereZeigen(app, ausfuehrung);
  registriereDefinitionen(app, ausfuehrung);
  registriereDienst(app, ausfuehrung);

  // CLI11 takes the arguments in reverse order, without the program name.
  std::vector<std::string> rueckwaerts(argumente.rbegin(), argumente.rend());
  try {
    app.parse(rueckwaerts);
  } catch (const CLI::CallForHelp&) {
    aus << app.help();
    return 0;
  } catch (const CLI::CallForAllHelp&) {
    aus << app.help("", CLI::AppFormatMode::All);
    return 0;
  } catch (const CLI::CallForVersion&) {
    aus << app.version() << '\n';
    return 0;
  } catch (const CLI::ParseError& e) {
    // The text may repeat an argument, which may hold anything a shell can pass.
    schreibeZeile(fehler, std::string("vesk: ") + e.what());
    fehler << "Mehr mit: vesk --help\n";
    return USAGE;
  }
  return ausfuehrung ? ausfuehrung(Ausgabe{aus, fehler}) : USAGE;
}

}  // namespace vesk::cli
