#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "fields/Vesk_WerteMenge.h"

// A list of texts, in definition order; duplicates and the empty text are allowed.
class Vesk_WerteMengeAufzaehlung final : public Vesk_WerteMenge {
 public:
  Vesk_WerteMengeAufzaehlung(std::string name, std::vector<std::string> werte)
      : Vesk_WerteMenge(std::move(name)), werteMenge(std::move(werte)) {}
  // Reads the values from a value-set file, one per line, ";" starting a comment; blanks, tabs
  // and carriage returns are dropped. Throws Vesk_DatensatzDateiException when the file does not
  // exist, cannot be opened or cannot be read.
  Vesk_WerteMengeAufzaehlung(std::string name, const std::string& dateiName);

  // True when an entry equals `text` character for character (no trimming, no numbers).
  [[nodiscard]] bool inDerMenge(vesk::MeldungsText text) const override;
  [[nodiscard]] const std::vector<std::string>& gibWerte() const { return werteMenge; }

 private:
  std::vector<std::string> werteMenge;
};
