#include "fields/Vesk_FeldartAlphaNumerisch.h"

#include <array>
#include <cstring>

namespace {

// Whether `feld` holds blanks only, compared in blocks rather than byte by byte: empty reserve
// fields of a hundred blanks and more are common.
bool nurLeerzeichen(std::string_view feld) {
  static constexpr std::array<char, 256> LEER = [] {
    std::array<char, 256> leer{};
    leer.fill(' ');
    return leer;
  }();
  while (!feld.empty()) {
    const std::size_t stueck = feld.size() < LEER.size() ? feld.size() : LEER.size();
    if (std::memcmp(feld.data(), LEER.data(), stueck) != 0) {
      return false;
    }
    feld.remove_prefix(stueck);
  }
  return true;
}

}  // namespace

// The step table in one pass: a field that begins with text is kept whole whatever follows; a
// field that begins with a blank is the initial value when it holds blanks only, and invalid
// otherwise.
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
