#pragma once
#include <span>

class IniFile;
class Vesk_FehlerListe;

// The two switchable cross-field rules of a claim report: rule 1, the insurer can be determined
// from the header and the record after it; rule 2, the insurer number or the registration is
// filled. Switched by "Regel1" and "Regel2" = "ein" in the group "muss-kann-Plausis".
class Vesk_MussKannPlausi {
 public:
  // Throws Vesk_StrukturDateiException "Muss Kann Plausis Feld fehlt" unless the group holds
  // exactly two variables.
  explicit Vesk_MussKannPlausi(const IniFile& struktur);

  // Rule 1, then rule 2; prints "MussKann Plausi OK" and returns true when neither failed.
  // Precondition: `nachricht` holds at least 512 bytes.
  bool pruefeMussKann(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;
  bool pruefeRegel1(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;
  bool pruefeRegel2(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;

 private:
  bool regel1 = false;
  bool regel2 = false;
};
