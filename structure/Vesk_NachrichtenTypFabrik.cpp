#include "structure/Vesk_NachrichtenTypFabrik.h"

#include <memory>

#include "config/IniFile.h"
#include "config/SatzartenRegister.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "structure/NachrichtenTypRegister.h"

namespace {

struct Zustand {
  std::unique_ptr<vesk::NachrichtenTypRegister> nachrichtenTypen;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

}  // namespace

void Vesk_NachrichtenTypFabrik::initialisiere(const IniFile& ini) {
  Zustand& z = zustand();
  if (z.nachrichtenTypen) {
    return;
  }
  // Counts as initialised from here on, also when a listed type then fails to build.
  z.nachrichtenTypen =
      std::make_unique<vesk::NachrichtenTypRegister>(ini, Vesk_SatzartenFabrik::gibRegister());
  z.nachrichtenTypen->baueAufgelistete();
}

const vesk::NachrichtenTypRegister& Vesk_NachrichtenTypFabrik::gibRegister() {
  const Zustand& z = zustand();
  if (!z.nachrichtenTypen) {
    throw Vesk_Exception("Programmierfehler: NachrichtenTypFabrik nicht initialisiert");
  }
  return *z.nachrichtenTypen;
}

const Vesk_NachrichtenTyp& Vesk_NachrichtenTypFabrik::gibNachrichtenTyp(std::string_view name) {
  return gibRegister().gib(name);
}

const Vesk_NachrichtenTyp& Vesk_NachrichtenTypFabrik::gibNachrichtenTypSendeArt(
    vesk::MeldungsText sendeArt) {
  return gibRegister().gibSendeArt(sendeArt);
}

void Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
