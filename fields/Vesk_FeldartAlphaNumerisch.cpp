#include "fields/Vesk_FeldartAlphaNumerisch.h"

// A field that begins with text is collected whole, whatever follows (inner and trailing blanks,
// control characters and bytes 0x80-0xFF are text too); a field that begins with a blank is the
// initial value when it holds blanks only, and invalid otherwise. Only U+0020 is a blank.
int Vesk_FeldartAlphaNumerisch::pruefe(std::span<const unsigned char> bytes, std::size_t start,
                                       std::int32_t anzahlBytes,
                                       const Vesk_WerteMenge* werteMenge) const {
  setzeDaten(vesk::MeldungsText());
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return UNGUELTIG;
  }
  if (feld->empty()) {
    return schliesseAb(UNDEFINIERT, werteMenge);
  }
  if (feld->front() != ' ') {
    setzeDaten(vesk::MeldungsText(*feld));
    return schliesseAb(GUELTIG, werteMenge);
  }
  return nurLeerzeichen(*feld) ? schliesseAb(INITIALWERT, werteMenge) : UNGUELTIG;
}
