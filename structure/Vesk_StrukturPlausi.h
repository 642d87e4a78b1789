#pragma once
#include <cstddef>
#include <iosfwd>
#include <string_view>
#include <vector>

#include "structure/Vesk_NachrichtenFeldSchablone.h"

class Vesk_Datensatz;
class Vesk_FehlerListe;
class Vesk_Meldung;
class Vesk_NachrichtenTyp;
class Vesk_Satzart;

// The structure check of one message against its message type: record order, records allowed,
// their counts and partial-record groups. Serves one message; its templates keep that message's
// counts.
class Vesk_StrukturPlausi {
 public:
  explicit Vesk_StrukturPlausi(const Vesk_NachrichtenTyp& typ);
  // Like the above, printing the progress lines on `fortschritt` (nullptr: nowhere).
  Vesk_StrukturPlausi(const Vesk_NachrichtenTyp& typ, std::ostream* fortschritt);

  // The whole check; prints "Reihenfolge OK" and "Struktur OK" on standard output as each part
  // passes. True when the structure is correct.
  bool pruefeStruktur(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste);
  // Non-decreasing record-type numbers; reports the first violation only.
  bool reihenfolgePlausi(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste) const;
  // Assigns every record to its template, then checks every template's counts.
  bool nachrichtenTypPlausi(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste);
  bool fuelleMitMeldung(const Vesk_Meldung& meldung, Vesk_FehlerListe& liste);
  // `position` is the record's index in the message, 0 for the header.
  bool datensatzHinzufuegen(const Vesk_Datensatz& datensatz, std::size_t position,
                            Vesk_FehlerListe& liste);
  // The first template of that record-type name, or nullptr.
  [[nodiscard]] Vesk_NachrichtenFeldSchablone* sucheSchablone(std::string_view name);

 private:
  void melde(const char* fortschrittsZeile) const;

  std::vector<Vesk_NachrichtenFeldSchablone> feldSchablonen;
  // Per template, the index of the last record it took (-1: none), where a finding about
  // partial records left incomplete is located.
  std::vector<std::int64_t> letzterSatz;
  // The template found for the record type asked for last.
  const Vesk_Satzart* letzteSatzart = nullptr;
  Vesk_NachrichtenFeldSchablone* letzteSchablone = nullptr;
  std::ostream* fortschritt;
};
