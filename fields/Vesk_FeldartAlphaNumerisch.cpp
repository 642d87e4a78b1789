#include "fields/Vesk_FeldartAlphaNumerisch.h"

// A field that begins with text is collected whole, whatever follows (inner and trailing blanks,
// control characters and bytes 0x80-0xFF are text too); a field that begins with a blank is the
// initial value when it holds blanks only, and invalid otherwise. Only U+0020 is a blank.
Vesk_Feldart::Befund Vesk_FeldartAlphaNumerisch::untersuche(
    std::span<const unsigned char> bytes, std::size_t start, std::int32_t anzahlBytes,
    const Vesk_WerteMenge* werteMenge) const {
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return {UNGUELTIG, {}};
  }
  if (feld->empty()) {
    return schliesseAb(UNDEFINIERT, {}, werteMenge);
  }
  if (feld->front() != ' ') {
    return schliesseAb(GUELTIG, vesk::MeldungsText(*feld), werteMenge);
  }
  return nurLeerzeichen(*feld) ? schliesseAb(INITIALWERT, {}, werteMenge) : Befund{UNGUELTIG, {}};
}
