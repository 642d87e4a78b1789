#include "fields/Vesk_Feldart.h"

#include "fields/Vesk_WerteMenge.h"

int Vesk_Feldart::schliesseAb(int status, const Vesk_WerteMenge* werteMenge) const {
  status = pruefeGesamt(status);
  if (werteMenge != nullptr && !werteMenge->inDerMenge(daten.getrimmt())) {
    return status == INITIALWERT ? INITIALWERT_NICHT_IM_WERTEBEREICH : NICHT_IM_WERTEBEREICH;
  }
  return status == UNDEFINIERT ? UNGUELTIG : status;
}

vesk::MeldungsText Vesk_Feldart::gibWert(std::span<const unsigned char> bytes, std::size_t start,
                                         std::int32_t anzahlBytes) const {
  static_cast<void>(pruefe(bytes, start, anzahlBytes, nullptr));
  return daten.getrimmt();
}
