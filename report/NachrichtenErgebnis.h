#pragma once
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "driver/NachrichtenDatei.h"
#include "report/VerorteterFehler.h"

class Vesk_Plausipruefung;

namespace vesk {

class Konfiguration;

// The outcome of checking one message, as the located reports show it.
struct NachrichtenErgebnis {
  enum class Art { ok, fehler, abbruch };

  std::string nachricht;  // the path as given, or the caller's name for bytes in memory
  Art art = Art::ok;
  std::optional<std::string> nachrichtenTyp;  // absent when not recognised
  std::string abbruch;  // the text of the exception report when art is abbruch
  std::vector<VerorteterFehler> fehler;
  // What the checker writes to its protocol file for this message, when it was asked for; absent
  // for an abbruch, for which the checker writes none.
  std::optional<std::string> protokoll;
  std::optional<std::string> protokollDatei;  // the protocol file written for the message

  // The checker's exit status for this outcome: 0 clean, 1 findings, 2 ended by a fault.
  [[nodiscard]] int exitStatus() const { return static_cast<int>(art); }
};

// The result of a message that was not checked, with `text` as the reason.
[[nodiscard]] NachrichtenErgebnis abgebrochen(std::string name, std::string text);

// Checks `bytes` exactly as the checker's command line does, on `konfiguration`, printing no
// progress lines; a fault of the message or of a definition it meets becomes an abbruch result
// with the text the checker would report; no bytes end it as the checker ends an empty file.
// Never throws but std::bad_alloc.
[[nodiscard]] NachrichtenErgebnis pruefeBytes(const Konfiguration& konfiguration,
                                              std::span<const unsigned char> bytes,
                                              std::string name);
// Like pruefeBytes, reading the message file `pfad` first, as the checker does; `zugriff` says
// whether a large file may be mapped, `mitProtokoll` whether the result carries the protocol.
[[nodiscard]] NachrichtenErgebnis pruefeDatei(
    const Konfiguration& konfiguration, const std::string& pfad,
    NachrichtenDatei::Zugriff zugriff = NachrichtenDatei::Zugriff::abbilden,
    bool mitProtokoll = false);

}  // namespace vesk
