// The whole analysis of a clean claim report of 10,000 records over the example configuration.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "driver/Vesk_Plausipruefung.h"

namespace {

std::vector<unsigned char> erzeugeNachricht(std::size_t datensaetze) {
  const auto datei = std::filesystem::temp_directory_path() / "vesk-bench.dat";
  const std::string befehl =
      std::string(VESK_ERZEUGER) + " " + datei.string() + " " + std::to_string(datensaetze);
  if (std::system(befehl.c_str()) != 0) {
    std::abort();
  }
  std::ifstream eingabe(datei, std::ios::binary);
  std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(eingabe),
                                   std::istreambuf_iterator<char>()};
  std::filesystem::remove(datei);
  return bytes;
}

void Pruefe10000Datensaetze(benchmark::State& state) {
  std::filesystem::current_path(VESK_BEISPIEL_ORDNER);
  const Vesk_Plausipruefung pruefung("struktur.ini", "datensaetze.ini");
  const std::vector<unsigned char> nachricht = erzeugeNachricht(10000);
  std::ostringstream senke;
  auto* alt = std::cout.rdbuf(senke.rdbuf());
  for (auto _ : state) {
    const auto liste = pruefung.pruefe(nachricht);
    if (liste.gibGroesse() != 0) {
      state.SkipWithError("the generated message is not clean");
    }
    senke.str(std::string());
  }
  std::cout.rdbuf(alt);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(nachricht.size()));
}
BENCHMARK(Pruefe10000Datensaetze)->Unit(benchmark::kMillisecond);

}  // namespace
