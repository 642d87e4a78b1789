#include "fields/Vesk_FeldartNumerisch.h"

#include "fields/Ziffern.h"

// Leading zeros are the initial value and are not collected; from the first other digit on,
// every digit is. Any other character, the blank included, makes the field invalid and keeps
// what was collected before it.
Vesk_Feldart::Befund Vesk_FeldartNumerisch::untersuche(std::span<const unsigned char> bytes,
                                                       std::size_t start, std::int32_t anzahlBytes,
                                                       const Vesk_WerteMenge* werteMenge) const {
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return {UNGUELTIG, {}};
  }
  const std::size_t ersteZiffer = vesk::ersteAndere(*feld, 0, '0');
  const std::size_t i = vesk::ersteNichtZiffer(*feld, ersteZiffer);
  const vesk::MeldungsText daten(feld->substr(ersteZiffer, i - ersteZiffer));
  if (i < feld->size()) {
    return {UNGUELTIG, daten};
  }
  if (feld->empty()) {
    return schliesseAb(UNDEFINIERT, daten, werteMenge);
  }
  return schliesseAb(ersteZiffer == feld->size() ? INITIALWERT : GUELTIG, daten, werteMenge);
}
