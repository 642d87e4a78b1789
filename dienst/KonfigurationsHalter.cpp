#include "dienst/KonfigurationsHalter.h"

#include <chrono>
#include <new>
#include <utility>

#include "config/Vesk_Exception.h"
#include "dienst/Dienstprotokoll.h"
#include "driver/Konfiguration.h"

namespace vesk::dienst {

namespace {

std::shared_ptr<const Konfigurationsstand> neuerStand(std::unique_ptr<const Konfiguration> k,
                                                      std::uint64_t nummer) {
  auto stand = std::make_shared<Konfigurationsstand>();
  stand->konfiguration = std::move(k);
  stand->stand = nummer;
  stand->geladen = zeitstempel(std::chrono::system_clock::now(), false);
  return stand;
}

}  // namespace

KonfigurationsHalter::KonfigurationsHalter(std::string datei,
                                           std::unique_ptr<const Konfiguration> erste)
    : hauptDatei(std::move(datei)), stand(neuerStand(std::move(erste), 1)) {}

std::shared_ptr<const Konfigurationsstand> KonfigurationsHalter::aktuell() const {
  const std::lock_guard<std::mutex> gesperrt(sperre);
  return stand;
}

std::optional<std::string> KonfigurationsHalter::ladeNeu() {
  const std::lock_guard<std::mutex> einzeln(ladeSperre);
  std::unique_ptr<const Konfiguration> neu;
  try {
    neu = Konfiguration::lade(hauptDatei);
  } catch (const Vesk_Exception& e) {
    return e.toString();
  } catch (const std::bad_alloc&) {
    return std::string("Nicht genug Arbeitsspeicher fuer die Pruefung");
  }
  const std::uint64_t nummer = aktuell()->stand + 1;
  auto naechster = neuerStand(std::move(neu), nummer);
  const std::lock_guard<std::mutex> gesperrt(sperre);
  stand.swap(naechster);
  // The replaced stand is freed here unless a request still holds it; then by that request.
  return std::nullopt;
}

}  // namespace vesk::dienst
