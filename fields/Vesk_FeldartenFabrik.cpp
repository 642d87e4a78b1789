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

// The kinds are immutable and shared by every configuration, so they are built once, on first
// use, by whichever thread comes first.
struct Feldarten {
  std::vector<std::unique_ptr<Vesk_Feldart>> instanzen;
  std::map<std::string, const Vesk_Feldart*, std::less<>> nachCode;

  Feldarten() {
    nachCode.emplace("n", besitze(std::make_unique<Vesk_FeldartNumerisch>()));
    nachCode.emplace("an", besitze(std::make_unique<Vesk_FeldartAlphaNumerisch>()));
    const Vesk_Feldart* uhrzeit = besitze(std::make_unique<Vesk_FeldartUhrzeit>());
    const Vesk_Feldart* datum = besitze(std::make_unique<Vesk_FeldartDatum>());
    nachCode.emplace("u4", uhrzeit);
    nachCode.emplace("u6", uhrzeit);
    nachCode.emplace("d6", datum);
    nachCode.emplace("d8", datum);
  }

  const Vesk_Feldart* besitze(std::unique_ptr<Vesk_Feldart> art) {
    instanzen.push_back(std::move(art));
    return instanzen.back().get();
  }
};

const Feldarten& feldArten() {
  static const Feldarten instanz;
  return instanz;
}

}  // namespace

void Vesk_FeldartenFabrik::initialisiere() {
  static_cast<void>(feldArten());
}

const Vesk_Feldart* Vesk_FeldartenFabrik::gibFeldart(std::string_view code) {
  const auto& arten = feldArten().nachCode;
  const auto treffer = arten.find(code);
  if (treffer == arten.end()) {
    vesk::schreibeZeile(std::cerr, "Feldart: " + std::string(code) + " nicht gefunden");
    return nullptr;
  }
  return treffer->second;
}

void Vesk_FeldartenFabrik::zuruecksetzenFuerTests() {
  // The kinds hold no state of any check or configuration: nothing to reset.
}
