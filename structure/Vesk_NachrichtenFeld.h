#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class Vesk_Satzart;

namespace vesk {
class SatzartenRegister;
}

// One record type allowed in a message type, with its count rule ("1", "2+", "3-", "1,2" ...)
// and the number of partial records that make up one occurrence.
class Vesk_NachrichtenFeld {
 public:
  // Parses `beschreibung` and looks up the field's record types. Throws
  // Vesk_StrukturDateiException for a faulty description or a record type the record definition
  // lacks; other faults of the record definition pass on unchanged.
  Vesk_NachrichtenFeld(std::string name, std::string_view beschreibung);
  // Like the above, with the record types of `satzArten`, which must outlive the field.
  Vesk_NachrichtenFeld(std::string name, std::string_view beschreibung,
                       const vesk::SatzartenRegister& satzArten);
  Vesk_NachrichtenFeld(const Vesk_NachrichtenFeld&) = default;
  Vesk_NachrichtenFeld& operator=(const Vesk_NachrichtenFeld&) = default;
  Vesk_NachrichtenFeld(Vesk_NachrichtenFeld&&) = default;
  Vesk_NachrichtenFeld& operator=(Vesk_NachrichtenFeld&&) = default;
  virtual ~Vesk_NachrichtenFeld() = default;

  // Appends the field's record types: the record type of the name, or "name.1" to "name.n" for
  // n partial records.
  virtual void fuelleSatzarten(std::vector<const Vesk_Satzart*>& liste) const;
  [[nodiscard]] virtual const std::string& gibBezeichner() const { return bezeichner; }
  [[nodiscard]] virtual std::int32_t gibMindestAnzahl() const { return mindestAnzahl; }
  [[nodiscard]] virtual std::int32_t gibAnzahlTeilDatensaetze() const {
    return anzahlTeilDatensaetze;
  }
  [[nodiscard]] virtual bool gibMindestens() const { return mindestens; }
  [[nodiscard]] virtual bool gibHoechstens() const { return hoechstens; }

 private:
  void parseBeschreibung(std::string_view beschreibung);

  std::string bezeichner;
  std::int32_t mindestAnzahl = 0;
  std::int32_t anzahlTeilDatensaetze = 1;
  bool mindestens = false;
  bool hoechstens = false;
  std::vector<const Vesk_Satzart*> satzarten;          // owned by the record-type registry
  const vesk::SatzartenRegister* register_ = nullptr;  // nullptr: the process-wide registry
};
