#pragma once
#include <cstddef>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "errors/Vesk_Fehler.h"

// The findings of one check run, in the order they were found. Owns its entries; entries are
// never removed or reordered, so references to them stay valid as long as the list lives.
class Vesk_FehlerListe {
 public:
  Vesk_FehlerListe() = default;

  void setzeNachrichtenTyp(std::string typ) { nachrichtenTyp = std::move(typ); }
  [[nodiscard]] const std::optional<std::string>& gibNachrichtenTyp() const {
    return nachrichtenTyp;
  }
  // Appends `fehler` and returns the entry now owned by the list.
  template <class F>
  F& hinzufuegenFehler(std::unique_ptr<F> fehler) {
    F& eintrag = *fehler;
    fehlerListe.push_back(std::move(fehler));
    return eintrag;
  }
  // Appends the entries of `andere` in their order; `andere` and its message type stay as they
  // are, so the list takes copies.
  void hinzufuegenFehlerListe(const Vesk_FehlerListe& andere);
  // Moves the entries of `andere` behind the own ones, in their order; `andere` is left empty.
  void uebernehmeFehler(Vesk_FehlerListe&& andere);
  // Precondition: index < gibGroesse().
  [[nodiscard]] const Vesk_Fehler& gibFehler(std::size_t index) const {
    return *fehlerListe[index];
  }
  // Precondition: index < gibGroesse().
  [[nodiscard]] Vesk_Fehler& gibFehler(std::size_t index) { return *fehlerListe[index]; }
  [[nodiscard]] std::size_t gibGroesse() const { return fehlerListe.size(); }
  // The entry added last, to complete it. Precondition: the list is not empty.
  [[nodiscard]] Vesk_Fehler& gibLetztenFehler() { return *fehlerListe.back(); }
  // Writes the protocol file: one comma-separated line per entry, control characters escaped,
  // ending in CR LF. Throws Vesk_Exception when the file exists and is no protocol, or
  // "Konnte Protokolldatei <name> nicht oeffnen" on any failure (see ProtokollDatei).
  void schreibeProtokollDatei(const std::string& dateiName) const;
  // The content schreibeProtokollDatei writes.
  [[nodiscard]] std::string protokollInhalt() const;
  // Prints one console line per entry, control characters escaped.
  void ausgeben(std::ostream& aus) const;

  // The protocol line of one entry, without the line end and not yet escaped.
  [[nodiscard]] static std::string protokollZeile(const Vesk_Fehler& fehler);

 private:
  std::vector<std::unique_ptr<Vesk_Fehler>> fehlerListe;
  std::optional<std::string> nachrichtenTyp;
};
