#pragma once
#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

#include "driver/Vesk_Datensatz.h"

class Vesk_Satzart;

// A message under check as its records in message order, header first and trailer last.
// Move-only, so that no record outlives the message it belongs to by a copy.
class Vesk_Meldung {
 public:
  Vesk_Meldung() = default;
  Vesk_Meldung(const Vesk_Meldung&) = delete;
  Vesk_Meldung& operator=(const Vesk_Meldung&) = delete;
  Vesk_Meldung(Vesk_Meldung&&) = default;
  Vesk_Meldung& operator=(Vesk_Meldung&&) = default;

  // Appends a record; throws like the constructor of Vesk_Datensatz. All records of a message
  // refer to the same `nachricht`.
  void satzAnfuegen(std::string_view name, const Vesk_Satzart& satzart,
                    std::span<const unsigned char> bytes, std::size_t startAdresse) {
    datensaetze.emplace_back(name, satzart, bytes, startAdresse);
    nachricht = bytes;
  }
  [[nodiscard]] const std::vector<Vesk_Datensatz>& gibDatensaetze() const { return datensaetze; }
  // The offset of `datensatz`, one of this message's records, in the message bytes.
  [[nodiscard]] std::size_t gibStartAdresse(const Vesk_Datensatz& datensatz) const {
    return static_cast<std::size_t>(datensatz.gibSatz().data() - nachricht.data());
  }
  // Makes room for `anzahl` records in advance.
  void reserviere(std::size_t anzahl) { datensaetze.reserve(anzahl); }

 private:
  std::vector<Vesk_Datensatz> datensaetze;
  std::span<const unsigned char> nachricht;
};
