#pragma once
#include <optional>
#include <span>
#include <string>

#include "batch/Nachrichtensammlung.h"

namespace vesk {

struct NachrichtenErgebnis;

// The folder into which a run over many messages writes each message's protocol file, with
// exactly the content the checker's protocol file gets: at the message's path below the folder
// argument it came from (its file name for a file argument), plus ".protokoll". A file is
// replaced only when it is empty or a protocol, and appears whole or not at all, as the
// checker's does.
class Protokollablage {
 public:
  explicit Protokollablage(std::string ordner_) : ordner(std::move(ordner_)) {}

  // The protocol file of `nachricht`.
  [[nodiscard]] std::string zielFuer(const GesammelteNachricht& nachricht) const;

  // Why `nachrichten` cannot share the folder: the text of a usage error that names the first
  // two messages that would get the same protocol file; nullopt when each gets its own. Entries
  // of folders that could not be read get none.
  [[nodiscard]] std::optional<std::string> pruefeEindeutig(
      std::span<const GesammelteNachricht> nachrichten) const;

  // Writes the protocol that `ergebnis` carries for `nachricht`, making the folders on the way,
  // and names the file in `ergebnis`. A file that cannot be written, or is no protocol, makes
  // the result an abbruch with that text and keeps its findings, as the checker reports the
  // findings first and then the failure. Does nothing for a result without a protocol.
  void lege(NachrichtenErgebnis& ergebnis, const GesammelteNachricht& nachricht) const;

 private:
  std::string ordner;
};

}  // namespace vesk
