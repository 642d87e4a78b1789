#include "fields/Vesk_FeldartNumerisch.h"

// Leading zeros are the initial value and are not collected; from the first other digit on,
// every digit is. Any other character, the blank included, makes the field invalid and keeps
// what was collected before it.
int Vesk_FeldartNumerisch::pruefe(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const {
  setzeDaten(vesk::MeldungsText());
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return UNGUELTIG;
  }
  std::size_t i = 0;
  while (i < feld->size() && (*feld)[i] == '0') {
    ++i;
  }
  const std::size_t ersteZiffer = i;
  while (i < feld->size() && istZiffer((*feld)[i])) {
    ++i;
  }
  setzeDaten(vesk::MeldungsText(feld->substr(ersteZiffer, i - ersteZiffer)));
  if (i < feld->size()) {
    return UNGUELTIG;
  }
  if (feld->empty()) {
    return schliesseAb(UNDEFINIERT, werteMenge);
  }
  return schliesseAb(ersteZiffer == feld->size() ? INITIALWERT : GUELTIG, werteMenge);
}
