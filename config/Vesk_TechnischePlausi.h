#pragma once
#include <cstddef>

class Vesk_FehlerListe;
class Vesk_Meldung;

// The technical check: every field of every record on its own, in record order and, within a
// record, in definition order. Never stops early; adds at most one finding per field.
class Vesk_TechnischePlausi {
 public:
  // Messages with fewer records are checked on one thread.
  static constexpr std::size_t SAETZE_FUER_FAEDEN = 16384;

  // True when no record produced a finding.
  bool pruefeDatensaetze(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) const;
  // Like the above on up to `faeden` threads: a message large enough to repay the start of a
  // thread is split into runs of records, each checked into a list of its own; the lists are
  // joined in record order, so the findings are exactly those of one thread.
  bool pruefeDatensaetze(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste,
                         unsigned faeden) const;

 private:
  // The records from index `anfang` up to `ende` (exclusive) of `meldung`.
  bool pruefeDatensaetze(const Vesk_Meldung& meldung, std::size_t anfang, std::size_t ende,
                         Vesk_FehlerListe& liste) const;
};
