#include "fields/Vesk_WerteMengeIntervall.h"

bool Vesk_WerteMengeIntervall::inDerMenge(vesk::MeldungsText text) const {
  const auto zahl = text.alsGanzzahl();
  return zahl && untereGrenze <= *zahl && *zahl <= obereGrenze;
}
