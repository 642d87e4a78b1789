#include "errors/Vesk_MussKannFehler.h"

#include "errors/Katalog.h"

Vesk_MussKannFehler::Vesk_MussKannFehler(std::int32_t nummer)
    : Vesk_Fehler(nummer, std::nullopt, 0, std::nullopt) {}

Vesk_MussKannFehler::Vesk_MussKannFehler(std::int32_t nummer, std::string text)
    : Vesk_Fehler(nummer, std::nullopt, 0, std::move(text)) {}

std::string Vesk_MussKannFehler::gibBeschreibung() const {
  std::string zeile = "Muss-Kann Fehler: ";
  zeile += gibFehlerText();
  haengeErklaerendenTextAn(zeile);
  return zeile;
}

std::string_view Vesk_MussKannFehler::gibFehlerText() const {
  return vesk::katalogText(fehlerBeschreibungen, BASIS, gibFehlerNummer());
}
