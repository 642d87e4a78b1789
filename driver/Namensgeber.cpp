#include "driver/Namensgeber.h"

#include <algorithm>

#include "config/SatzartenRegister.h"
#include "config/Vesk_IniFileException.h"

namespace vesk {

namespace {

// The answer of the registry for a name taken from message characters.
struct Suche {
  const Vesk_Satzart* satzart = nullptr;  // nullptr: no record type of that name
  bool endgueltig = true;  // false: a definition failed, and must fail again when asked again
};

Suche sucheSatzart(const SatzartenRegister& satzArten, MeldungsText name) {
  if (!name.istAscii()) {
    return {};
  }
  try {
    return {satzArten.suche(name.roh()), true};
  } catch (const Vesk_IniFileException&) {
    return {nullptr, false};
  }
}

}  // namespace

void Namensgeber::suche(std::string_view vier, char teilsatz) {
  std::copy_n(vier.begin(), vier.size(), name.begin());
  laenge = vier.size();
  const Suche kurz = sucheSatzart(satzArten, MeldungsText(vier));
  satzart = kurz.satzart;
  wiederverwendbar = kurz.satzart != nullptr;
  if (satzart == nullptr) {
    name[4] = '.';
    name[5] = teilsatz;
    laenge = name.size();
    const Suche lang = sucheSatzart(satzArten, MeldungsText(std::string_view(name.data(), laenge)));
    satzart = lang.satzart;
    wiederverwendbar = lang.satzart != nullptr && kurz.endgueltig;
  }
}

}  // namespace vesk
