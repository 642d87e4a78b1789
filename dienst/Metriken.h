#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "dienst/Anfragebericht.h"

namespace vesk::dienst {

// The service's counters in the Prometheus text format: messages by verdict, requests by status,
// a latency histogram, bytes checked, refusals by limit, open connections and the configuration's
// load count. Counts with atomics only, so that every thread can add without waiting.
class Metriken {
 public:
  // Adds one finished request.
  void zaehle(const Anfragebericht& bericht);
  void verbindungAuf() { verbindungen.fetch_add(1, std::memory_order_relaxed); }
  void verbindungZu() { verbindungen.fetch_sub(1, std::memory_order_relaxed); }
  [[nodiscard]] std::int64_t offeneVerbindungen() const {
    return verbindungen.load(std::memory_order_relaxed);
  }
  void setzeKonfigurationsstand(std::uint64_t stand) {
    konfigurationsstand.store(stand, std::memory_order_relaxed);
  }
  // Everything as the text a Prometheus server scrapes.
  [[nodiscard]] std::string alsText() const;

  // The statuses counted one by one; any other is counted as "andere".
  static constexpr std::array<unsigned, 11> STATUS{200, 400, 404, 405, 408, 411,
                                                   413, 431, 500, 503, 505};
  // Upper bounds of the latency buckets, in seconds.
  static constexpr std::array<double, 14> GRENZEN{0.0005, 0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                                  0.1,    0.25,  0.5,    1,     2.5,  5,     10};

 private:
  using Zaehler = std::atomic<std::uint64_t>;
  std::array<Zaehler, 3> nachrichten{};  // by NachrichtenErgebnis::Art
  std::array<Zaehler, STATUS.size() + 1> anfragen{};
  std::array<Zaehler, GRENZEN.size() + 1> dauer{};  // the last bucket is +Inf
  Zaehler dauerMikrosekunden{0};
  Zaehler bytes{0};
  std::array<Zaehler, ANZAHL_ABWEISUNGEN> abgewiesen{};
  std::atomic<std::int64_t> verbindungen{0};
  Zaehler konfigurationsstand{0};
};

}  // namespace vesk::dienst
