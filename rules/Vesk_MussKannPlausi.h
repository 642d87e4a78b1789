#pragma once
#include <iosfwd>
#include <span>
#include <string_view>

class IniFile;
class Vesk_FehlerListe;
class Vesk_Satzart;

namespace vesk {
class SatzartenRegister;
}

// The two switchable cross-field rules of a claim report: rule 1, the insurer can be determined
// from the header and the record after it; rule 2, the insurer number or the registration is
// filled. Switched by "Regel1" and "Regel2" = "ein" in the group "muss-kann-Plausis".
class Vesk_MussKannPlausi {
 public:
  // Throws Vesk_StrukturDateiException "Muss Kann Plausis Feld fehlt" unless the group holds
  // exactly two variables.
  explicit Vesk_MussKannPlausi(const IniFile& struktur);
  // Like the above, reading the record types of `satzArten` (nullptr: the process-wide registry)
  // and printing its progress line on `fortschritt` (nullptr: nowhere); both must outlive it.
  Vesk_MussKannPlausi(const IniFile& struktur, const vesk::SatzartenRegister* satzArten,
                      std::ostream* fortschritt);

  // Rule 1, then rule 2; prints "MussKann Plausi OK" and returns true when neither failed.
  // Precondition: `nachricht` holds at least 512 bytes.
  bool pruefeMussKann(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;
  bool pruefeRegel1(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;
  bool pruefeRegel2(std::span<const unsigned char> nachricht, Vesk_FehlerListe& liste) const;

 private:
  [[nodiscard]] const Vesk_Satzart& gibSatzart(std::string_view name) const;

  bool regel1 = false;
  bool regel2 = false;
  const vesk::SatzartenRegister* satzArten = nullptr;
  std::ostream* fortschritt;
};
