#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "errors/Vesk_Fehler.h"

// A finding of the message frame or of the structure check (numbers 20 to 33).
class Vesk_StrukturFehler : public Vesk_Fehler {
 public:
  static constexpr std::int32_t BASIS = 20;
  static constexpr std::int32_t REIHENFOLGE_FEHLER = 20;
  static constexpr std::int32_t SATZART_FEHLT = 21;
  static constexpr std::int32_t SATZART_ZU_HAEUFIG = 22;
  static constexpr std::int32_t SATZART_ZU_SELTEN = 23;
  static constexpr std::int32_t SATZART_NICHT_ERLAUBT = 24;
  static constexpr std::int32_t TEILDATENSAETZE_UNVOLLSTAENDIG = 25;
  static constexpr std::int32_t FALSCHE_TEILDATENSATZ_NR = 26;
  static constexpr std::int32_t NACHRICHT_LAENGE = 27;
  static constexpr std::int32_t NACHRICHTENTYP_UNBEKANNT = 28;
  static constexpr std::int32_t SATZANZAHL_UNGUELTIG = 29;
  static constexpr std::int32_t VORSATZ_FEHLT = 30;
  static constexpr std::int32_t NACHSATZ_FEHLT = 31;
  static constexpr std::int32_t ANHANGBESCHREIBUNG_UNGUELTIG = 32;
  static constexpr std::int32_t DATENSAETZE_VERSCHOBEN = 33;

  static constexpr std::array<std::string_view, 14> fehlerBeschreibungen = {
      "Reihenfolge der Datensaetze falsch",
      "Satzart fehlt",
      "Satzart zu haeufig",
      "Satzart zu selten",
      "Satzart nicht erlaubt",
      "Teildatensaetze unvollstaendig",
      "Falsche Teildatensatz Nr",
      "Nachrichtenlaenge unstimmig",
      "Nachrichten Typ unbekannt",
      "Satzanzahl ungueltig",
      "Vorsatz fehlt",
      "Nachsatz fehlt",
      "Anhangbeschreibung ungueltig",
      "Moegliche Ursache: Datensaetze verschoben oder falsche Anhangsbeschreibung",
  };
  static_assert(fehlerBeschreibungen.size() == DATENSAETZE_VERSCHOBEN - BASIS + 1);

  explicit Vesk_StrukturFehler(std::int32_t nummer);
  Vesk_StrukturFehler(std::int32_t nummer, std::string satzart);
  Vesk_StrukturFehler(std::int32_t nummer, std::string satzart, std::string text);

  // "Strukturfehler: Datensatz: n[ Satzart: s]; description[  text]"
  [[nodiscard]] std::string gibBeschreibung() const override;
  [[nodiscard]] std::string_view gibFehlerText() const override;
  [[nodiscard]] std::unique_ptr<Vesk_Fehler> kopiere() const override {
    return std::make_unique<Vesk_StrukturFehler>(*this);
  }
  [[nodiscard]] std::string_view gibProtokollKennung() const override { return "Struktur "; }
};
