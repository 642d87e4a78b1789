#include "fields/Vesk_FeldartAlphaNumerisch.h"

// The step table in one pass: once the first character is text, every later character is kept
// whatever it is, so only the leading blanks need a look.
int Vesk_FeldartAlphaNumerisch::pruefe(std::span<const unsigned char> bytes, std::size_t start,
                                       std::int32_t anzahlBytes,
                                       const Vesk_WerteMenge* werteMenge) const {
  setzeDaten(vesk::MeldungsText());
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return UNGUELTIG;
  }
  const std::size_t ersterText = feld->find_first_not_of(' ');
  if (ersterText == std::string_view::npos) {
    return schliesseAb(feld->empty() ? UNDEFINIERT : INITIALWERT, werteMenge);
  }
  if (ersterText > 0) {
    return UNGUELTIG;
  }
  setzeDaten(vesk::MeldungsText(*feld));
  return schliesseAb(GUELTIG, werteMenge);
}
