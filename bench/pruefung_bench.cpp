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

// Records of the mixed layout of bench/konfiguration (14 fields, every kind and kind of value
// set, a 181-byte reserve) through the record type's walk: the cost per record of a large
// message on one core. As in bench/positionen.py, some fields change from record to record and
// others repeat, since the walk remembers a field's bytes that passed.
void PruefeSatzDerGemischtenSatzart(benchmark::State& state) {
  std::filesystem::current_path(VESK_BENCH_KONFIGURATION);
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  const Vesk_Satzart& satzart = konfiguration->gibSatzarten().gib("4400");
  constexpr std::size_t ANZAHL = 1024;
  std::string saetze(ANZAHL * 256, ' ');
  for (std::size_t i = 0; i < ANZAHL; ++i) {
    const auto setze = [&](std::size_t position, std::string_view text) {
      saetze.replace(i * 256 + position - 1, text.size(), text);
    };
    const auto zahl = [](std::size_t wert, int stellen) {
      std::string text = std::to_string(wert);
      return std::string(static_cast<std::size_t>(stellen) - text.size(), '0') + text;
    };
    setze(1, "4400");
    setze(5, zahl(i + 1, 6));
    setze(11, "08122026");
    setze(19, "143000");
    setze(25, std::string(2, static_cast<char>('A' + i % 4)));
    setze(27, "EUR");
    setze(30, zahl(1000 + 7 * (i % 14000), 5));
    setze(35, zahl(i, 7));
    setze(42, zahl(i * 1999 + 1, 10));
    setze(52, std::to_string(i % 9 + 1));
    setze(53, "122026");
    setze(59, "1430");
    setze(63, "Position " + std::to_string(i));
  }
  const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(saetze.data()),
                                             saetze.size());
  std::size_t i = 0;
  for (auto _ : state) {
    Vesk_FehlerListe liste;
    benchmark::DoNotOptimize(satzart.pruefe(bytes, (i++ % ANZAHL) * 256, liste));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 256);
}
BENCHMARK(PruefeSatzDerGemischtenSatzart);

}  // namespace
