#include "fields/Vesk_FeldartNumerisch.h"

int Vesk_FeldartNumerisch::pruefe(std::span<const unsigned char> bytes, std::size_t start,
                                  std::int32_t anzahlBytes,
                                  const Vesk_WerteMenge* werteMenge) const {
  return pruefeMit<Vesk_FeldartNumerisch>(bytes, start, anzahlBytes, werteMenge);
}
