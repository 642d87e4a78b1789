// The whole analysis of arbitrary message bytes over the bundled example configuration.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

#include "config/Vesk_Exception.h"
#include "driver/Vesk_Plausipruefung.h"
#include "fuzz/FuzzUmgebung.h"

namespace {
const Vesk_Plausipruefung& pruefung() {
  static const std::unique_ptr<Vesk_Plausipruefung> instanz = [] {
    vesk::fuzz::schweige();
    return vesk::fuzz::imBeispielOrdner(
        [] { return std::make_unique<Vesk_Plausipruefung>("struktur.ini", "datensaetze.ini"); });
  }();
  return *instanz;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  const Vesk_Plausipruefung& p = pruefung();
  try {
    const auto liste = p.pruefe(std::span<const unsigned char>(daten, groesse));
    static_cast<void>(liste.gibGroesse());
  } catch (const Vesk_Exception&) {
    // An unknown Sendeart or a malformed partial-record name ends a run by design.
  }
  return 0;
}
