#pragma once
#include <cstdint>

#include "structure/Vesk_NachrichtenFeld.h"

class Vesk_Datensatz;
class Vesk_FehlerListe;

// A working copy of one message field that counts the records of one message assigned to it.
class Vesk_NachrichtenFeldSchablone : public Vesk_NachrichtenFeld {
 public:
  explicit Vesk_NachrichtenFeldSchablone(const Vesk_NachrichtenFeld& feld)
      : Vesk_NachrichtenFeld(feld) {}

  // Counts one record; on a finding adds it to `liste` and returns false, counters unchanged.
  virtual bool hinzufuegen(const Vesk_Datensatz& datensatz, Vesk_FehlerListe& liste);
  // Counts one partial record of a group.
  virtual bool hinzufuegenTeilDatensatz(const Vesk_Datensatz& datensatz, Vesk_FehlerListe& liste);
  // The count check after all records; adds at most one finding, whose record number the caller
  // sets, and returns false then.
  virtual bool plausibel(Vesk_FehlerListe& liste);

 private:
  std::int32_t anzahlDatensaetze = 0;       // occurrences, or partial-record groups begun
  std::int32_t aktuellerTeilDatensatz = 0;  // last partial record of the current group; 0: none
};
