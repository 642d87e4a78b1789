#pragma once

class Vesk_FehlerListe;
class Vesk_Meldung;

// The technical check: every field of every record on its own, in record order and, within a
// record, in definition order. Never stops early; adds at most one finding per field.
class Vesk_TechnischePlausi {
 public:
  // True when no record produced a finding.
  bool pruefeDatensaetze(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) const;
};
