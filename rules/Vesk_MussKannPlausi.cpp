#include "rules/Vesk_MussKannPlausi.h"

#include <array>
#include <iostream>
#include <memory>
#include <string_view>

#include "config/IniFile.h"
#include "config/SatzartenRegister.h"
#include "config/Vesk_DatenFeld.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "config/Vesk_StrukturDateiException.h"
#include "errors/Vesk_FehlerListe.h"
#include "errors/Vesk_MussKannFehler.h"

namespace {

constexpr std::string_view GRUPPE = "muss-kann-Plausis";
constexpr std::string_view ERSTER_DATENSATZ = "4100.1";
constexpr std::size_t ERSTER_DATENSATZ_START = 256;

// A field is filled when its value, as its kind collects it, is not empty after trimming.
bool gefuellt(const Vesk_DatenFeld& feld, std::span<const unsigned char> nachricht,
              std::size_t offset) {
  return !feld.gibWert(nachricht, offset).empty();
}

void melde(Vesk_FehlerListe& liste, std::int32_t nummer) {
  liste.hinzufuegenFehler(std::make_unique<Vesk_MussKannFehler>(nummer));
}

}  // namespace

Vesk_MussKannPlausi::Vesk_MussKannPlausi(const IniFile& struktur)
    : Vesk_MussKannPlausi(struktur, nullptr, &std::cout) {}

Vesk_MussKannPlausi::Vesk_MussKannPlausi(const IniFile& struktur,
                                         const vesk::SatzartenRegister* arten,
                                         std::ostream* ausgabe)
    : satzArten(arten), fortschritt(ausgabe) {
  if (struktur.variablesOf(GRUPPE).size() != 2) {
    throw Vesk_StrukturDateiException("Muss Kann Plausis Feld fehlt");
  }
  regel1 = struktur.getValue(GRUPPE, "Regel1") == "ein";
  regel2 = struktur.getValue(GRUPPE, "Regel2") == "ein";
}

bool Vesk_MussKannPlausi::pruefeMussKann(std::span<const unsigned char> nachricht,
                                         Vesk_FehlerListe& liste) const {
  if (!pruefeRegel1(nachricht, liste) || !pruefeRegel2(nachricht, liste)) {
    return false;
  }
  if (fortschritt != nullptr) {
    *fortschritt << "MussKann Plausi OK\n";
  }
  return true;
}

bool Vesk_MussKannPlausi::pruefeRegel1(std::span<const unsigned char> nachricht,
                                       Vesk_FehlerListe& liste) const {
  if (!regel1) {
    return true;
  }
  const Vesk_Satzart& vorsatz = gibSatzart(Vesk_SatzartenFabrik::VORSATZ);
  const Vesk_Satzart& ersterSatz = gibSatzart(ERSTER_DATENSATZ);
  const Vesk_DatenFeld& kennzeichen = vorsatz.gibBenoetigtesDatenFeld(9);
  constexpr std::array<std::int32_t, 7> nummern = {3, 4, 8, 12, 13, 14, 15};
  std::array<const Vesk_DatenFeld*, nummern.size()> felder{};
  for (std::size_t i = 0; i < nummern.size(); ++i) {
    felder[i] = &ersterSatz.gibBenoetigtesDatenFeld(nummern[i]);
  }
  const bool hatKennzeichen = gefuellt(kennzeichen, nachricht, 0);
  std::array<bool, nummern.size()> voll{};
  for (std::size_t i = 0; i < nummern.size(); ++i) {
    voll[i] = gefuellt(*felder[i], nachricht, ERSTER_DATENSATZ_START);
  }
  // voll[0..1] are fields 3 and 4; voll[2..6] are fields 8, 12, 13, 14 and 15.
  const bool kombinationA = hatKennzeichen && voll[0] && voll[1];
  const bool kombinationB = voll[2] && voll[3] && voll[4] && voll[5] && voll[6];
  if (kombinationA || kombinationB) {
    return true;
  }
  melde(liste, Vesk_MussKannFehler::REGEL1);
  return false;
}

bool Vesk_MussKannPlausi::pruefeRegel2(std::span<const unsigned char> nachricht,
                                       Vesk_FehlerListe& liste) const {
  if (!regel2) {
    return true;
  }
  const Vesk_Satzart& vorsatz = gibSatzart(Vesk_SatzartenFabrik::VORSATZ);
  const Vesk_DatenFeld& vuNummer = vorsatz.gibBenoetigtesDatenFeld(3);
  const Vesk_DatenFeld& kennzeichen = vorsatz.gibBenoetigtesDatenFeld(9);
  if (gefuellt(vuNummer, nachricht, 0) || gefuellt(kennzeichen, nachricht, 0)) {
    return true;
  }
  melde(liste, Vesk_MussKannFehler::REGEL2);
  return false;
}

const Vesk_Satzart& Vesk_MussKannPlausi::gibSatzart(std::string_view name) const {
  return satzArten != nullptr ? satzArten->gib(name) : Vesk_SatzartenFabrik::gibSatzart(name);
}
