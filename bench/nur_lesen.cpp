// Does what `vesk pruefen` does with a folder except the check itself: walks it, then opens and
// reads every message on N threads in the same ordered way, and counts bytes. Run with --jobs 1
// and --jobs 2, it shows how far threads can speed up many small files on a machine at all, since
// opening, reading and closing files is work of the kernel that scales less well than the check.
//
//   nur_lesen <threads> <folder>...
#include <charconv>
#include <cstddef>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch/GeordnetParallel.h"
#include "batch/Nachrichtensammlung.h"
#include "config/Vesk_Exception.h"
#include "driver/NachrichtenDatei.h"

int main(int argc, char** argv) {
  unsigned faeden = 0;
  const std::string_view anzahl = argc > 2 ? argv[1] : "";
  if (std::from_chars(anzahl.data(), anzahl.data() + anzahl.size(), faeden).ec != std::errc() ||
      faeden == 0) {
    std::cerr << "usage: nur_lesen <threads> <folder>...\n";
    return 2;
  }
  const std::vector<std::string> ordner(argv + 2, argv + argc);
  const std::vector<vesk::GesammelteNachricht> nachrichten = vesk::sammleNachrichten(ordner);
  std::size_t bytes = 0;
  vesk::fuehreGeordnetAus<std::size_t>(
      nachrichten.size(), faeden,
      [&](std::size_t i) -> std::size_t {
        try {
          return NachrichtenDatei(nachrichten[i].pfad).bytes().size();
        } catch (const Vesk_Exception&) {
          return 0;
        }
      },
      [&](std::size_t, std::size_t gelesen) { bytes += gelesen; });
  std::cout << nachrichten.size() << " files, " << bytes << " bytes\n";
  return 0;
}
