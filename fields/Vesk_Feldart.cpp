#include "fields/Vesk_Feldart.h"

#include "fields/Vesk_WerteMenge.h"
#include "fields/Ziffern.h"

Vesk_Feldart::Befund Vesk_Feldart::schliesseAb(int status, vesk::MeldungsText daten,
                                               const Vesk_WerteMenge* werteMenge) const {
  status = pruefeGesamt(status, daten);
  if (werteMenge != nullptr && !werteMenge->inDerMenge(daten.getrimmt())) {
    return {status == INITIALWERT ? INITIALWERT_NICHT_IM_WERTEBEREICH : NICHT_IM_WERTEBEREICH,
            daten};
  }
  return {status == UNDEFINIERT ? UNGUELTIG : status, daten};
}

vesk::MeldungsText Vesk_Feldart::gibWert(std::span<const unsigned char> bytes, std::size_t start,
                                         std::int32_t anzahlBytes) const {
  return untersuche(bytes, start, anzahlBytes, nullptr).daten.getrimmt();
}

bool Vesk_Feldart::nurLeerzeichen(std::string_view feld) noexcept {
  return vesk::ersteAndere(feld, 0, ' ') == feld.size();
}

Vesk_Feldart::Befund Vesk_Feldart::pruefeZiffern(std::span<const unsigned char> bytes,
                                                 std::size_t start, std::int32_t anzahlBytes,
                                                 const Vesk_WerteMenge* werteMenge) const {
  const auto feld = feldBytes(bytes, start, anzahlBytes);
  if (!feld) {
    return {UNGUELTIG, {}};
  }
  if (feld->empty()) {
    return schliesseAb(UNDEFINIERT, {}, werteMenge);
  }
  if (feld->front() == ' ') {
    return nurLeerzeichen(*feld) ? schliesseAb(INITIALWERT, {}, werteMenge) : Befund{UNGUELTIG, {}};
  }
  const std::size_t ziffern = vesk::ersteNichtZiffer(*feld, 0);
  const vesk::MeldungsText daten(feld->substr(0, ziffern));
  return ziffern < feld->size() ? Befund{UNGUELTIG, daten}
                                : schliesseAb(GUELTIG, daten, werteMenge);
}
