#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "capi/vesk.h"
#include "report/NachrichtenErgebnis.h"

namespace vesk::capi {

// The outcome of one check as the C interface hands it out: the result, its findings as C
// structs whose pointers lead into the result's own strings, and its JSON line. Neither copied
// nor moved, so those pointers stay valid as long as the object lives; immutable once built.
class Ergebnis {
 public:
  // Throws std::bad_alloc only.
  explicit Ergebnis(NachrichtenErgebnis ergebnis);
  Ergebnis(const Ergebnis&) = delete;
  Ergebnis& operator=(const Ergebnis&) = delete;

  [[nodiscard]] const NachrichtenErgebnis& gibErgebnis() const { return ergebnis; }
  // nullptr when there is no finding at `index`.
  [[nodiscard]] const vesk_fehler* gibFehler(std::size_t index) const;
  [[nodiscard]] const std::string& gibJson() const { return json; }

 private:
  const NachrichtenErgebnis ergebnis;
  std::vector<vesk_fehler> fehler;
  const std::string json;
};

}  // namespace vesk::capi
