#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "fields/Vesk_WerteMenge.h"

// A list of texts, in definition order; duplicates and the empty text are allowed. Looked up by
// hash, so that a set of a million postal codes costs no more per field than one of four codes.
class Vesk_WerteMengeAufzaehlung final : public Vesk_WerteMenge {
 public:
  Vesk_WerteMengeAufzaehlung(std::string name, std::vector<std::string> werte);
  // Reads the values from a value-set file, one per line, ";" starting a comment; blanks, tabs
  // and carriage returns are dropped. Throws Vesk_DatensatzDateiException when the file does not
  // exist, cannot be opened or cannot be read.
  Vesk_WerteMengeAufzaehlung(std::string name, const std::string& dateiName);

  // True when an entry equals `text` character for character (no trimming, no numbers).
  [[nodiscard]] bool inDerMenge(vesk::MeldungsText text) const override;
  [[nodiscard]] const std::vector<std::string>& gibWerte() const { return werteMenge; }

 private:
  void baueIndex();

  std::vector<std::string> werteMenge;
  // Views of the entries that a message text can equal: those of ASCII characters only, since a
  // message byte of 0x80 or above equals no character of a file. The entries never move.
  std::unordered_set<std::string_view> index;
};
