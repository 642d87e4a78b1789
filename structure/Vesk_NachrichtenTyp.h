#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "structure/Vesk_NachrichtenFeld.h"

namespace vesk {
class SatzartenRegister;
}

// A message type: a named, ordered list of the record types a message may hold and how often.
// Immutable once built; owned by the message-type registry until the process ends.
class Vesk_NachrichtenTyp {
 public:
  // Builds one field per name and description, in order. A Vesk_StrukturDateiException of a
  // field receives `name` as its group on the way out.
  Vesk_NachrichtenTyp(std::string name, std::span<const std::string> feldNamen,
                      std::span<const std::string> beschreibungen);
  // Like the above, with the record types of `satzArten` (nullptr: the process-wide registry),
  // which must outlive the type.
  Vesk_NachrichtenTyp(std::string name, std::span<const std::string> feldNamen,
                      std::span<const std::string> beschreibungen,
                      const vesk::SatzartenRegister* satzArten);

  // The field at position `i`, counting from 0; nullptr outside 0 to gibAnzahlFelder() - 1.
  [[nodiscard]] const Vesk_NachrichtenFeld* gibFeldNr(std::int64_t i) const;
  [[nodiscard]] std::int32_t gibAnzahlFelder() const {
    return static_cast<std::int32_t>(nachrichtenFelder.size());
  }
  [[nodiscard]] const std::string& gibBezeichner() const { return bezeichner; }

 private:
  std::vector<Vesk_NachrichtenFeld> nachrichtenFelder;
  std::string bezeichner;
};
