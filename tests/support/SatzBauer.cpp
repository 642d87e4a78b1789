#include "tests/support/SatzBauer.h"

#include <algorithm>

namespace vesk::test {

SatzBauer::SatzBauer(std::string_view satzart) : satz(256, ' ') {
  setze(1, satzart);
}

SatzBauer& SatzBauer::setze(std::size_t position, std::string_view text) {
  if (position == 0 || position > satz.size()) {
    return *this;
  }
  const std::size_t start = position - 1;
  const std::size_t anzahl = std::min(text.size(), satz.size() - start);
  satz.replace(start, anzahl, text.substr(0, anzahl));
  return *this;
}

NachrichtenBauer& NachrichtenBauer::satz(const SatzBauer& satz) {
  nachricht += satz.bytes();
  return *this;
}

NachrichtenBauer& NachrichtenBauer::anhang(std::size_t laenge, char fuellung) {
  nachricht.append(laenge, fuellung);
  return *this;
}

std::vector<unsigned char> NachrichtenBauer::alsBytes() const {
  return {nachricht.begin(), nachricht.end()};
}

}  // namespace vesk::test
