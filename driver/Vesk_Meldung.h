#pragma once
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "driver/Vesk_Datensatz.h"

class Vesk_Satzart;

// A message under check as its records in message order, header first and trailer last.
// Move-only, so that no record outlives the message it belongs to by a copy. Keeps one pointer
// per record (its record type) and the starts that are not where the records before them end
// (the trailer, behind the attachments): a message of 100 MB holds 400,000 records, and their
// list is the only memory the check needs beside the message.
class Vesk_Meldung {
 public:
  // The records, built on request as values; valid as long as the message is.
  class Datensaetze {
   public:
    class Iterator {
     public:
      using iterator_category = std::forward_iterator_tag;
      using value_type = Vesk_Datensatz;
      using difference_type = std::ptrdiff_t;
      using pointer = void;
      using reference = Vesk_Datensatz;

      Iterator() = default;
      Iterator(const Vesk_Meldung* zu, std::size_t ab) : meldung(zu), index(ab) {}
      Vesk_Datensatz operator*() const { return meldung->gibDatensatz(index); }
      Iterator& operator++() {
        ++index;
        return *this;
      }
      Iterator operator++(int) {
        Iterator vorher = *this;
        ++index;
        return vorher;
      }
      bool operator==(const Iterator& anderer) const { return index == anderer.index; }

     private:
      const Vesk_Meldung* meldung = nullptr;
      std::size_t index = 0;
    };

    explicit Datensaetze(const Vesk_Meldung& zu) : meldung(&zu) {}
    [[nodiscard]] std::size_t size() const { return meldung->gibAnzahl(); }
    [[nodiscard]] bool empty() const { return size() == 0; }
    // Precondition: i < size().
    Vesk_Datensatz operator[](std::size_t i) const { return meldung->gibDatensatz(i); }
    [[nodiscard]] Iterator begin() const { return {meldung, 0}; }
    [[nodiscard]] Iterator end() const { return {meldung, size()}; }

   private:
    const Vesk_Meldung* meldung;
  };

  Vesk_Meldung() = default;
  Vesk_Meldung(const Vesk_Meldung&) = delete;
  Vesk_Meldung& operator=(const Vesk_Meldung&) = delete;
  Vesk_Meldung(Vesk_Meldung&&) = default;
  Vesk_Meldung& operator=(Vesk_Meldung&&) = default;

  // Appends a record; throws like the constructor of Vesk_Datensatz. All records of a message
  // refer to the same `nachricht`.
  void satzAnfuegen(std::string_view name, const Vesk_Satzart& satzart,
                    std::span<const unsigned char> bytes, std::size_t startAdresse);
  [[nodiscard]] Datensaetze gibDatensaetze() const { return Datensaetze(*this); }
  [[nodiscard]] std::size_t gibAnzahl() const { return satzarten.size(); }
  // Precondition: i < gibAnzahl().
  [[nodiscard]] Vesk_Datensatz gibDatensatz(std::size_t i) const;
  // The offset of record `i` in the message bytes. Precondition: i < gibAnzahl().
  [[nodiscard]] std::size_t gibStartAdresse(std::size_t i) const;
  // The offset of `datensatz`, one of this message's records, in the message bytes.
  [[nodiscard]] std::size_t gibStartAdresse(const Vesk_Datensatz& datensatz) const {
    return static_cast<std::size_t>(datensatz.gibSatz().data() - nachricht.data());
  }
  // Calls `tue(i, datensatz)` for the records from index `anfang` up to `ende` (exclusive), in
  // order, finding each start from the one before. Precondition: ende <= gibAnzahl().
  template <class Tue>
  void fuerDatensaetze(std::size_t anfang, std::size_t ende, Tue&& tue) const {
    std::size_t start = anfang < ende ? gibStartAdresse(anfang) : 0;
    auto versetzt =
        std::upper_bound(versetzteAnfaenge.begin(), versetzteAnfaenge.end(), anfang,
                         [](std::size_t index, const std::pair<std::size_t, std::size_t>& eintrag) {
                           return index < eintrag.first;
                         });
    for (std::size_t i = anfang; i < ende; ++i, start += Vesk_Datensatz::SATZLAENGE) {
      if (versetzt != versetzteAnfaenge.end() && versetzt->first == i) {
        start = versetzt->second;
        ++versetzt;
      }
      tue(i, Vesk_Datensatz(*satzarten[i], nachricht.data() + start));
    }
  }
  // Whether every record starts where the one before it ends (no attachment lies between).
  [[nodiscard]] bool liegtLueckenlos() const { return versetzteAnfaenge.empty(); }
  // Makes room for `anzahl` records in advance.
  void reserviere(std::size_t anzahl) { satzarten.reserve(anzahl); }

 private:
  std::vector<const Vesk_Satzart*> satzarten;
  // (index, start) of the records that do not start where the record before them ends, in
  // index order.
  std::vector<std::pair<std::size_t, std::size_t>> versetzteAnfaenge;
  std::span<const unsigned char> nachricht;
  std::size_t folgenderStart = 0;  // where a record that follows the last one would start
};
