#include "fields/Vesk_FeldartenFabrik.h"

#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/Ausgabe.h"
#include "fields/Vesk_FeldartAlphaNumerisch.h"
#include "fields/Vesk_FeldartDatum.h"
#include "fields/Vesk_FeldartNumerisch.h"
#include "fields/Vesk_FeldartUhrzeit.h"

namespace {

struct Zustand {
  std::vector<std::unique_ptr<Vesk_Feldart>> instanzen;
  std::map<std::string, const Vesk_Feldart*, std::less<>> feldArten;
  bool initialisiert = false;
};

Zustand& zustand() {
  static Zustand instanz;
  return instanz;
}

const Vesk_Feldart* besitze(Zustand& z, std::unique_ptr<Vesk_Feldart> art) {
  z.instanzen.push_back(std::move(art));
  return z.instanzen.back().get();
}

}  // namespace

void Vesk_FeldartenFabrik::initialisiere() {
  Zustand& z = zustand();
  if (z.initialisiert) {
    return;
  }
  z.feldArten.emplace("n", besitze(z, std::make_unique<Vesk_FeldartNumerisch>()));
  z.feldArten.emplace("an", besitze(z, std::make_unique<Vesk_FeldartAlphaNumerisch>()));
  const Vesk_Feldart* uhrzeit = besitze(z, std::make_unique<Vesk_FeldartUhrzeit>());
  const Vesk_Feldart* datum = besitze(z, std::make_unique<Vesk_FeldartDatum>());
  z.feldArten.emplace("u4", uhrzeit);
  z.feldArten.emplace("u6", uhrzeit);
  z.feldArten.emplace("d6", datum);
  z.feldArten.emplace("d8", datum);
  z.initialisiert = true;
}

const Vesk_Feldart* Vesk_FeldartenFabrik::gibFeldart(std::string_view code) {
  initialisiere();
  const auto& arten = zustand().feldArten;
  const auto treffer = arten.find(code);
  if (treffer == arten.end()) {
    vesk::schreibeZeile(std::cerr, "Feldart: " + std::string(code) + " nicht gefunden");
    return nullptr;
  }
  return treffer->second;
}

void Vesk_FeldartenFabrik::zuruecksetzenFuerTests() {
  zustand() = Zustand{};
}
