// The whole analysis of a clean claim report of 10,000 records over the example configuration, and
// one record of the mixed layout of the measurements through its record type.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "config/SatzartenRegister.h"
#include "config/Vesk_Satzart.h"
#include "driver/Konfiguration.h"
#include "driver/Vesk_Plausipruefung.h"
#include "errors/Vesk_FehlerListe.h"

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

// One record of the mixed layout of bench/konfiguration (14 fields, every kind and kind of value
// set, a 181-byte reserve) through the record type's walk: the cost per record of a large
// message on one core.
void PruefeSatzDerGemischtenSatzart(benchmark::State& state) {
  std::filesystem::current_path(VESK_BENCH_KONFIGURATION);
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  const Vesk_Satzart& satzart = konfiguration->gibSatzarten().gib("4400");
  std::string satz(256, ' ');
  const auto setze = [&](std::size_t position, std::string_view text) {
    satz.replace(position - 1, text.size(), text);
  };
  setze(1, "4400");
  setze(5, "000123");
  setze(11, "08122026");
  setze(19, "143000");
  setze(25, "BB");
  setze(27, "EUR");
  setze(30, "10115");
  setze(35, "0000042");
  setze(42, "0000019990");
  setze(52, "3");
  setze(53, "122026");
  setze(59, "1430");
  setze(63, "Position 1");
  const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(satz.data()),
                                             satz.size());
  for (auto _ : state) {
    Vesk_FehlerListe liste;
    benchmark::DoNotOptimize(satzart.pruefe(bytes, 0, liste));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 256);
}
BENCHMARK(PruefeSatzDerGemischtenSatzart);

}  // namespace
