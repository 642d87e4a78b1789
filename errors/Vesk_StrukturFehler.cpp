#include "errors/Vesk_StrukturFehler.h"

#include "errors/Katalog.h"

Vesk_StrukturFehler::Vesk_StrukturFehler(std::int32_t nummer)
    : Vesk_Fehler(nummer, std::nullopt, 0, std::nullopt) {}

Vesk_StrukturFehler::Vesk_StrukturFehler(std::int32_t nummer, std::string satzart)
    : Vesk_Fehler(nummer, std::move(satzart), 0, std::nullopt) {}

Vesk_StrukturFehler::Vesk_StrukturFehler(std::int32_t nummer, std::string satzart, std::string text)
    : Vesk_Fehler(nummer, std::move(satzart), 0, std::move(text)) {}

std::string Vesk_StrukturFehler::gibBeschreibung() const {
  std::string zeile = "Strukturfehler: Datensatz: " + std::to_string(gibDatensatzNummer());
  const auto& satzart = gibSatzart();
  if (satzart && !satzart->empty()) {
    zeile += " Satzart: ";
    zeile += *satzart;
  }
  zeile += "; ";
  zeile += gibFehlerText();
  haengeErklaerendenTextAn(zeile);
  return zeile;
}

std::string_view Vesk_StrukturFehler::gibFehlerText() const {
  return vesk::katalogText(fehlerBeschreibungen, BASIS, gibFehlerNummer());
}
