// The C interface: each function catches everything, so no exception crosses into C, and
// hands out only handles whose contents it owns.
#include "capi/vesk.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <string>

#include "capi/Ergebnis.h"
#include "config/Vesk_Exception.h"
#include "driver/Konfiguration.h"
#include "report/NachrichtenErgebnis.h"

struct vesk_konfiguration {
  std::unique_ptr<const vesk::Konfiguration> inhalt;  // never null
};

struct vesk_ergebnis final : vesk::capi::Ergebnis {
  using Ergebnis::Ergebnis;
};

namespace {

// A copy of `text` on the C heap, for vesk_text_freigeben; nullptr when out of memory.
char* alsCText(const std::string& text) noexcept {
  auto* kopie = static_cast<char*>(std::malloc(text.size() + 1));
  if (kopie != nullptr) {
    std::memcpy(kopie, text.c_str(), text.size() + 1);
  }
  return kopie;
}

// The configuration, or nullptr with the text of the checker's exception report in `fehler`.
std::unique_ptr<const vesk::Konfiguration> lade(const char* iniDatei, std::string& fehler) {
  try {
    return vesk::Konfiguration::lade(iniDatei != nullptr ? iniDatei : "");
  } catch (const Vesk_Exception& e) {
    fehler = e.toString();
  } catch (const std::bad_alloc&) {
    fehler = "Nicht genug Arbeitsspeicher fuer die Pruefung";
  } catch (...) {
    fehler = "Unerwarteter interner Fehler";
  }
  return nullptr;
}

// Runs `pruefe` and wraps its result in a handle; nullptr when memory runs out on the way.
template <class Pruefung>
vesk_ergebnis* alsHandle(Pruefung&& pruefe) noexcept {
  try {
    return new vesk_ergebnis(pruefe());
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

extern "C" {

const char* vesk_version(void) noexcept {
  return VESK_VERSION;
}

vesk_konfiguration* vesk_konfiguration_laden(const char* ini_datei, char** fehlertext) noexcept {
  if (fehlertext != nullptr) {
    *fehlertext = nullptr;
  }
  try {
    std::string fehler;
    auto konfiguration = lade(ini_datei, fehler);
    if (konfiguration) {
      return new vesk_konfiguration{std::move(konfiguration)};
    }
    if (fehlertext != nullptr) {
      *fehlertext = alsCText(fehler);
    }
  } catch (...) {
    // Only memory can run out here; the caller gets NULL without a text.
  }
  return nullptr;
}

void vesk_konfiguration_freigeben(vesk_konfiguration* konfiguration) noexcept {
  delete konfiguration;
}

void vesk_text_freigeben(char* text) noexcept {
  std::free(text);
}

vesk_ergebnis* vesk_pruefe_bytes(const vesk_konfiguration* konfiguration,
                                 const unsigned char* bytes, size_t laenge,
                                 const char* name) noexcept {
  if (konfiguration == nullptr || (bytes == nullptr && laenge > 0)) {
    return nullptr;
  }
  return alsHandle([&] {
    return vesk::pruefeBytes(*konfiguration->inhalt, std::span(bytes, laenge),
                             name != nullptr ? name : "");
  });
}

vesk_ergebnis* vesk_pruefe_datei(const vesk_konfiguration* konfiguration,
                                 const char* pfad) noexcept {
  if (konfiguration == nullptr || pfad == nullptr) {
    return nullptr;
  }
  // Mapping would set a SIGBUS handler that ends the program embedding the library; the file is
  // read as the check asks, so that attachment bytes are never read.
  return alsHandle([&] {
    return vesk::pruefeDatei(*konfiguration->inhalt, pfad, NachrichtenDatei::Zugriff::saetze);
  });
}

void vesk_ergebnis_freigeben(vesk_ergebnis* ergebnis) noexcept {
  delete ergebnis;
}

int vesk_ergebnis_exit_status(const vesk_ergebnis* ergebnis) noexcept {
  return ergebnis != nullptr ? ergebnis->gibErgebnis().exitStatus() : 2;
}

const char* vesk_ergebnis_nachricht(const vesk_ergebnis* ergebnis) noexcept {
  return ergebnis != nullptr ? ergebnis->gibErgebnis().nachricht.c_str() : nullptr;
}

const char* vesk_ergebnis_nachrichtentyp(const vesk_ergebnis* ergebnis) noexcept {
  if (ergebnis == nullptr || !ergebnis->gibErgebnis().nachrichtenTyp) {
    return nullptr;
  }
  return ergebnis->gibErgebnis().nachrichtenTyp->c_str();
}

const char* vesk_ergebnis_abbruch(const vesk_ergebnis* ergebnis) noexcept {
  if (ergebnis == nullptr ||
      ergebnis->gibErgebnis().art != vesk::NachrichtenErgebnis::Art::abbruch) {
    return nullptr;
  }
  return ergebnis->gibErgebnis().abbruch.c_str();
}

size_t vesk_ergebnis_anzahl_fehler(const vesk_ergebnis* ergebnis) noexcept {
  return ergebnis != nullptr ? ergebnis->gibErgebnis().fehler.size() : 0;
}

const vesk_fehler* vesk_ergebnis_fehler(const vesk_ergebnis* ergebnis, size_t index) noexcept {
  return ergebnis != nullptr ? ergebnis->gibFehler(index) : nullptr;
}

const char* vesk_ergebnis_json(const vesk_ergebnis* ergebnis) noexcept {
  return ergebnis != nullptr ? ergebnis->gibJson().c_str() : nullptr;
}

}  // extern "C"
