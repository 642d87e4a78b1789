// The field kinds over typical field contents and lengths.
#include <benchmark/benchmark.h>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WertemengenFabrik.h"

namespace {

void pruefeFeld(benchmark::State& state, std::string_view code, const std::string& inhalt,
                const Vesk_WerteMenge* menge) {
  const Vesk_Feldart* art = Vesk_FeldartenFabrik::gibFeldart(code);
  const std::span<const unsigned char> bytes(reinterpret_cast<const unsigned char*>(inhalt.data()),
                                             inhalt.size());
  const auto laenge = static_cast<std::int32_t>(inhalt.size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(art->pruefe(bytes, 0, laenge, menge));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * laenge);
}

std::string text(std::string_view anfang, std::size_t laenge) {
  std::string feld(laenge, ' ');
  feld.replace(0, anfang.size(), anfang);
  return feld;
}

void Numerisch(benchmark::State& state) {
  const auto laenge = static_cast<std::size_t>(state.range(0));
  pruefeFeld(state, "n", std::string(laenge - 3, '0') + "123", nullptr);
}
BENCHMARK(Numerisch)->Arg(4)->Arg(10)->Arg(20);

void Alphanumerisch(benchmark::State& state) {
  pruefeFeld(state, "an", text("Muster Versicherung AG", static_cast<std::size_t>(state.range(0))),
             nullptr);
}
BENCHMARK(Alphanumerisch)->Arg(30)->Arg(80)->Arg(210);

void AlphanumerischLeer(benchmark::State& state) {
  pruefeFeld(state, "an", std::string(static_cast<std::size_t>(state.range(0)), ' '), nullptr);
}
BENCHMARK(AlphanumerischLeer)->Arg(30)->Arg(210);

void Datum(benchmark::State& state) {
  pruefeFeld(state, "d8", "29022024", nullptr);
}
BENCHMARK(Datum);

void Uhrzeit(benchmark::State& state) {
  pruefeFeld(state, "u6", "235959", nullptr);
}
BENCHMARK(Uhrzeit);

void MitAufzaehlung(benchmark::State& state) {
  const auto menge = Vesk_WertemengenFabrik::createWerteMenge("Waehrung", "EUR,CHF,USD,GBP");
  pruefeFeld(state, "an", "GBP", menge.get());
}
BENCHMARK(MitAufzaehlung);

void MitIntervall(benchmark::State& state) {
  const auto menge = Vesk_WertemengenFabrik::createWerteMenge("Klasse", "1-9");
  pruefeFeld(state, "n", "7", menge.get());
}
BENCHMARK(MitIntervall);

// A value set of the given number of postal codes: numbers of five digits, a bit each.
void MitVielenKurzenWerten(benchmark::State& state) {
  std::vector<std::string> werte;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    werte.push_back(std::to_string(10000 + i * 7 % 90000));
  }
  const Vesk_WerteMengeAufzaehlung menge("Postleitzahlen", std::move(werte));
  pruefeFeld(state, "an", "10115", &menge);
}
BENCHMARK(MitVielenKurzenWerten)->Arg(4)->Arg(1000)->Arg(1000000);

// Short codes that are no numbers: looked up in a table of words, whatever its size.
void MitVielenKurzenCodes(benchmark::State& state) {
  std::vector<std::string> werte;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    werte.push_back("K" + std::to_string(10000 + i * 7 % 90000));
  }
  const Vesk_WerteMengeAufzaehlung menge("Codes", std::move(werte));
  pruefeFeld(state, "an", "K10115", &menge);
}
BENCHMARK(MitVielenKurzenCodes)->Arg(1000)->Arg(1000000);

// Entries longer than a word are looked up by hash.
void MitLangenWerten(benchmark::State& state) {
  std::vector<std::string> werte;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    werte.push_back("Schadenart-" + std::to_string(i));
  }
  const Vesk_WerteMengeAufzaehlung menge("Schadenarten", std::move(werte));
  pruefeFeld(state, "an", "Schadenart-3", &menge);
}
BENCHMARK(MitLangenWerten)->Arg(10)->Arg(100000);

}  // namespace
