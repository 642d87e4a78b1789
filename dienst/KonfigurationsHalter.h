#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace vesk {
class Konfiguration;
}

namespace vesk::dienst {

// One loaded configuration with its load count and time, immutable once published.
struct Konfigurationsstand {
  std::unique_ptr<const Konfiguration> konfiguration;  // never null
  std::uint64_t stand = 0;                             // 1 for the first load
  std::string geladen;                                 // UTC, ISO 8601 to the second
};

// The configuration the service answers with, and its reload from the same main INI file. A
// request takes its own pointer to the current stand when it starts and keeps it to its end, so
// it finishes on the configuration it began with; the last holder frees a replaced stand.
class KonfigurationsHalter {
 public:
  // Takes the configuration loaded at start from `hauptDatei`.
  KonfigurationsHalter(std::string hauptDatei, std::unique_ptr<const Konfiguration> erste);

  [[nodiscard]] std::shared_ptr<const Konfigurationsstand> aktuell() const;
  // Loads the configuration again from the same files and publishes it only when it loaded
  // whole; returns nothing on success, else the checker's text of why the old one stays. Loads
  // outside any lock, so requests go on meanwhile; one reload at a time.
  [[nodiscard]] std::optional<std::string> ladeNeu();

 private:
  std::string hauptDatei;
  mutable std::mutex sperre;  // guards `stand`
  std::shared_ptr<const Konfigurationsstand> stand;
  std::mutex ladeSperre;  // one reload at a time
};

}  // namespace vesk::dienst
