// Arbitrary bytes as what a client sends on one connection, through the service's request
// handling without a socket: the HTTP reader with the service's limits, the refusals before a
// body is read, the routing and every endpoint over the bundled example configuration.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "dienst/Anfragebearbeitung.h"
#include "dienst/KonfigurationsHalter.h"
#include "dienst/Metriken.h"
#include "driver/Konfiguration.h"
#include "fuzz/FuzzUmgebung.h"

namespace {

struct Umgebung {
  vesk::dienst::Grenzen grenzen;
  vesk::dienst::Metriken metriken;
  std::unique_ptr<vesk::dienst::KonfigurationsHalter> konfigurationen;
  std::unique_ptr<vesk::dienst::Anfragebearbeitung> bearbeitung;

  Umgebung() {
    // Small limits, so that the fuzzer reaches them.
    grenzen.maxBytes = 4096;
    grenzen.maxKopf = 1024;
    konfigurationen = vesk::fuzz::imBeispielOrdner([] {
      return std::make_unique<vesk::dienst::KonfigurationsHalter>(
          "plausi.ini", vesk::Konfiguration::lade("plausi.ini"));
    });
    bearbeitung =
        std::make_unique<vesk::dienst::Anfragebearbeitung>(*konfigurationen, metriken, grenzen);
  }
};

Umgebung& umgebung() {
  static Umgebung instanz;
  return instanz;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  const auto antworten = umgebung().bearbeitung->beantworteRoh(vesk::fuzz::alsText(daten, groesse));
  for (const auto& antwort : antworten) {
    // Every answer is complete: a status, the request's id, a length that matches its body
    // (or, answering HEAD, no body at all).
    const auto laenge = antwort[boost::beast::http::field::content_length];
    if (antwort.result_int() < 100 || antwort["X-Request-Id"].empty() || laenge.empty() ||
        (!antwort.body().empty() && laenge != std::to_string(antwort.body().size()))) {
      std::abort();
    }
  }
  return 0;
}
