#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "report/NachrichtenErgebnis.h"

namespace vesk::dienst {

// Why the service refused a request before checking it, as the metrics count it.
enum class Abweisung {
  nachrichtZuGross,
  kopfZuGross,
  ohneLaenge,
  zeitueberschreitung,
  ausgelastet,
  verbindungen
};
inline constexpr std::size_t ANZAHL_ABWEISUNGEN = 6;

// What one request was and how it ended: the log line's and the metrics' input. Holds no message
// bytes and no query, so that neither can reach the log.
struct Anfragebericht {
  std::string id;
  std::string methode;  // empty when the request could not be read
  std::string pfad;     // without the query
  unsigned status = 0;
  std::uint64_t bytes = 0;  // of the request body
  double millisekunden = 0;
  std::optional<NachrichtenErgebnis::Art> ergebnis;  // when a message was checked
  std::optional<Abweisung> abweisung;
  std::string grund;  // what went wrong inside the service, for an answer 500
};

}  // namespace vesk::dienst
