#include "config/Vesk_SatzartenFabrik.h"

#include <memory>

#include "config/IniFile.h"
#include "config/SatzartenRegister.h"
#include "config/Vesk_Exception.h"
#include "fields/Vesk_WertemengenFabrik.h"

namespace {

struct Zustand {
  std::unique_ptr<vesk::SatzartenRegister> satzArten;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

}  // namespace

void Vesk_SatzartenFabrik::initialisiere(const IniFile& ini) {
  Zustand& z = zustand();
  if (!z.satzArten) {
    z.satzArten =
        std::make_unique<vesk::SatzartenRegister>(ini, Vesk_WertemengenFabrik::gibRegister());
  }
}

const vesk::SatzartenRegister& Vesk_SatzartenFabrik::gibRegister() {
  const Zustand& z = zustand();
  if (!z.satzArten) {
    throw Vesk_Exception("Programmierfehler: Satzartenfabrik nicht initialisiert");
  }
  return *z.satzArten;
}

const Vesk_Satzart& Vesk_SatzartenFabrik::gibSatzart(std::string_view name) {
  return gibRegister().gib(name);
}

const Vesk_Satzart* Vesk_SatzartenFabrik::sucheSatzart(std::string_view name) {
  return gibRegister().suche(name);
}

void Vesk_SatzartenFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
