#include "driver/Vesk_Meldung.h"

#include <algorithm>

void Vesk_Meldung::satzAnfuegen(std::string_view name, const Vesk_Satzart& satzart,
                                std::span<const unsigned char> bytes, std::size_t startAdresse) {
  // Built once to check the name and the bounds; only the record type is kept.
  static_cast<void>(Vesk_Datensatz(name, satzart, bytes, startAdresse));
  nachricht = bytes;
  if (startAdresse != folgenderStart) {
    versetzteAnfaenge.emplace_back(satzarten.size(), startAdresse);
  }
  satzarten.push_back(&satzart);
  folgenderStart = startAdresse + Vesk_Datensatz::SATZLAENGE;
}

std::size_t Vesk_Meldung::gibStartAdresse(std::size_t i) const {
  // The start of the last record at or before `i` that was not where its predecessor ended,
  // and the records after it follow one another.
  const auto nach =
      std::upper_bound(versetzteAnfaenge.begin(), versetzteAnfaenge.end(), i,
                       [](std::size_t index, const std::pair<std::size_t, std::size_t>& versetzt) {
                         return index < versetzt.first;
                       });
  if (nach == versetzteAnfaenge.begin()) {
    return i * Vesk_Datensatz::SATZLAENGE;
  }
  const auto& [index, start] = *std::prev(nach);
  return start + (i - index) * Vesk_Datensatz::SATZLAENGE;
}

Vesk_Datensatz Vesk_Meldung::gibDatensatz(std::size_t i) const {
  return Vesk_Datensatz(*satzarten[i], nachricht.data() + gibStartAdresse(i));
}
