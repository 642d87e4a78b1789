#pragma once
#include <chrono>
#include <iosfwd>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "dienst/Anfragebericht.h"

namespace vesk::dienst {

// The service's log: one JSON line per request or event on a stream (standard error), whole lines
// only, from any thread. Carries no message bytes and no query.
class Dienstprotokoll {
 public:
  explicit Dienstprotokoll(std::ostream& ziel) : aus(ziel) {}

  // Writes the line of a finished request: zeit, id, methode, pfad, status, bytes, ms, ergebnis.
  void anfrage(const Anfragebericht& bericht);
  // Writes an event line: zeit, ereignis and the keys of `felder`, an object.
  void ereignis(std::string_view name, const nlohmann::ordered_json& felder = {});

 private:
  void schreibe(std::string_view text);

  std::ostream& aus;
  std::mutex sperre;
};

// `zeitpunkt` in UTC as ISO 8601 with milliseconds ("2026-12-10T05:04:32.123Z"), or to the second
// when `mitMillisekunden` is false.
[[nodiscard]] std::string zeitstempel(std::chrono::system_clock::time_point zeitpunkt,
                                      bool mitMillisekunden = true);

}  // namespace vesk::dienst
