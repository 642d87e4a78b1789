#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// One finding about a message: a number of its class's catalogue plus the context its raiser
// knows. Error records are collected in the error list, never thrown. Texts are UTF-8.
class Vesk_Fehler {
 public:
  virtual ~Vesk_Fehler() = default;
  Vesk_Fehler& operator=(const Vesk_Fehler&) = delete;

  [[nodiscard]] virtual std::int32_t gibFehlerNummer() const { return fehlerNummer; }
  virtual void setzeSatzart(std::string satzart) { satzartBezeichner = std::move(satzart); }
  [[nodiscard]] virtual const std::optional<std::string>& gibSatzart() const {
    return satzartBezeichner;
  }
  virtual void setzeDatensatzNummer(std::int64_t nummer) { datensatzNummer = nummer; }
  [[nodiscard]] virtual std::int64_t gibDatensatzNummer() const { return datensatzNummer; }
  // The byte offset in the message file of the record the finding lies in, where the check knows
  // it; shown by no report of the checker, only by the located reports built on it.
  void setzeSatzOffset(std::int64_t offset) { satzOffset = offset; }
  [[nodiscard]] const std::optional<std::int64_t>& gibSatzOffset() const { return satzOffset; }
  // The record the finding is about, for the located reports, where it is not the one whose
  // number the console shows: a frame finding shows record 0, a structure finding about a record
  // type the type's place in the message type. The console's number stays as the checker prints
  // it.
  void verorteBeiSatz(std::int64_t index) {
    ortsSatz = index;
    ohneSatz = false;
  }
  // The finding is about the message as a whole, or about records that are missing: it lies in
  // no single record.
  void verorteInDerNachricht() { ohneSatz = true; }
  // The index of the record the finding is about; nullopt when it lies in no single record.
  [[nodiscard]] std::optional<std::int64_t> gibOrtsSatz() const {
    return ohneSatz ? std::nullopt : std::optional(ortsSatz.value_or(datensatzNummer));
  }
  virtual void setzeErklaerendenText(std::string text) { erklaerenderText = std::move(text); }
  [[nodiscard]] virtual const std::optional<std::string>& gibErklaerendenText() const {
    return erklaerenderText;
  }
  // The one-line description of the console report.
  [[nodiscard]] virtual std::string gibBeschreibung() const = 0;
  // The catalogue description of the number alone.
  [[nodiscard]] virtual std::string_view gibFehlerText() const = 0;
  // The 9-character class tag of the protocol file.
  [[nodiscard]] virtual std::string_view gibProtokollKennung() const { return "Unbekannt"; }
  // A new record of the same class with the same number and context, for another list.
  [[nodiscard]] virtual std::unique_ptr<Vesk_Fehler> kopiere() const = 0;

 protected:
  Vesk_Fehler(std::int32_t nummer, std::optional<std::string> satzart, std::int64_t satzNummer,
              std::optional<std::string> text)
      : fehlerNummer(nummer),
        erklaerenderText(std::move(text)),
        satzartBezeichner(std::move(satzart)),
        datensatzNummer(satzNummer) {}

  // Only through kopiere, so that a copy never loses its class.
  Vesk_Fehler(const Vesk_Fehler&) = default;

  // Appends "  " + explanatory text when one is set (an empty one still adds the two blanks).
  void haengeErklaerendenTextAn(std::string& zeile) const;

 private:
  std::int32_t fehlerNummer;
  std::optional<std::string> erklaerenderText;
  std::optional<std::string> satzartBezeichner;
  std::int64_t datensatzNummer;  // index of the record in the message; 0 = header
  std::optional<std::int64_t> satzOffset;
  std::optional<std::int64_t> ortsSatz;
  bool ohneSatz = false;
};
