#pragma once
#include <cstddef>
#include <string>

#include "report/NachrichtenErgebnis.h"

namespace vesk {

// The located report of one message for people, grep-friendly: one line per finding,
//   <message>:<record>:<offset>: <the checker's console line>[ | <field> = "<bytes>"]
// then one summary line, "<message>: <message type>: OK", ": <n> Fehler" or ": Abbruch: <text>".
// Message bytes appear as the console shows them, control characters as \xHH; every line ends
// in "\n".
[[nodiscard]] std::string alsText(const NachrichtenErgebnis& ergebnis);

// The counts of a run, for its summary line.
struct Laufbilanz {
  std::size_t ok = 0;
  std::size_t fehler = 0;
  std::size_t abbruch = 0;

  void zaehle(NachrichtenErgebnis::Art art);
  // "<n> Nachrichten: <a> OK, <b> mit Fehlern, <c> abgebrochen\n"
  [[nodiscard]] std::string alsText() const;
  // 0 when every message is clean, 1 with findings but no fault, 2 when any ended in a fault.
  [[nodiscard]] int exitStatus() const;
};

}  // namespace vesk
