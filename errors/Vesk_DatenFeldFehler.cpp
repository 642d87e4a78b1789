#include "errors/Vesk_DatenFeldFehler.h"

#include "errors/Katalog.h"

Vesk_DatenFeldFehler::Vesk_DatenFeldFehler(std::int32_t nummer)
    : Vesk_Fehler(nummer, std::nullopt, 0, std::nullopt) {}

Vesk_DatenFeldFehler::Vesk_DatenFeldFehler(std::int32_t nummer, std::string text)
    : Vesk_Fehler(nummer, std::nullopt, 0, std::move(text)) {}

std::string Vesk_DatenFeldFehler::gibBeschreibung() const {
  std::string zeile = "Technischer Fehler: Satzart: ";
  zeile += gibSatzart().value_or("");
  zeile += " Feldnummer: ";
  zeile += std::to_string(std::int64_t{feldNummer} + 1);
  zeile += "; ";
  zeile += gibFehlerText();
  haengeErklaerendenTextAn(zeile);
  return zeile;
}

std::string_view Vesk_DatenFeldFehler::gibFehlerText() const {
  return vesk::katalogText(fehlerBeschreibungen, BASIS, gibFehlerNummer());
}

std::string_view Vesk_DatenFeldFehler::gibProtokollKennung() const {
  return gibFehlerNummer() == MUSS_FEHLER ? "Muss     " : "Technisch";
}
