#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "fields/Vesk_WerteMenge.h"
#include "fields/Ziffern.h"

// A list of texts, in definition order; duplicates and the empty text are allowed. Looked up by
// hash, so that a set of a million postal codes costs no more per field than one of four codes.
class Vesk_WerteMengeAufzaehlung final : public Vesk_WerteMenge {
 public:
  Vesk_WerteMengeAufzaehlung(std::string name, std::vector<std::string> werte);
  // Reads the values from a value-set file, one per line, ";" starting a comment; blanks, tabs
  // and carriage returns are dropped. Throws Vesk_DatensatzDateiException when the file does not
  // exist, cannot be opened or cannot be read.
  Vesk_WerteMengeAufzaehlung(std::string name, const std::string& dateiName);

  // True when an entry equals `text` character for character (no trimming, no numbers).
  [[nodiscard]] bool inDerMenge(vesk::MeldungsText text) const override;
  [[nodiscard]] const std::vector<std::string>& gibWerte() const { return werteMenge; }

  // Whether every entry a message text can equal has at most KURZ bytes; then inDerMenge(text)
  // is, for a text of at most KURZ bytes, enthaeltWort(alsWort(text)), and false for a longer.
  static constexpr std::size_t KURZ = 7;
  [[nodiscard]] bool hatNurKurzeWerte() const { return nurKurze; }
  // The bytes of a text of at most KURZ bytes and, in the top byte, its length: two texts give
  // the same word exactly when they are equal.
  [[nodiscard]] static std::uint64_t alsWort(std::string_view text) noexcept {
    std::uint64_t wort = std::uint64_t{text.size()} << 56U;
    for (std::size_t i = 0; i < text.size(); ++i) {
      wort |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
    }
    return wort;
  }
  // Precondition: hatNurKurzeWerte().
  [[nodiscard]] bool enthaeltWort(std::uint64_t wort) const {
    if (ziffernJeZahl != 0) {
      return enthaeltZahl(wort);
    }
    if (tabelle.empty()) {
      return std::find(kurze.begin(), kurze.end(), wort) != kurze.end();
    }
    for (std::size_t platz = streue(wort, tabellenBits);;
         platz = (platz + 1) & (tabelle.size() - 1)) {
      if (tabelle[platz] == wort) {
        return true;
      }
      if (tabelle[platz] == LEER) {
        return false;
      }
    }
  }

 private:
  void baueIndex();
  // Whether every entry a message text can equal is a number of the same count of digits, of
  // which there are many: then a bit per number of that count holds them, so that any number of
  // postal codes take 12.5 KiB and no lookup leaves the processor's cache.
  [[nodiscard]] bool baueZahlenBits();
  [[nodiscard]] bool enthaeltZahl(std::uint64_t wort) const {
    if (!istZahl(wort, ziffernJeZahl)) {
      return false;
    }
    const std::uint32_t zahl = vesk::achtfach::zahlAus(wort, ziffernJeZahl);
    return ((zahlenBits[zahl / 64] >> (zahl % 64)) & 1U) != 0;
  }
  // Whether the word of a text (see alsWort) is that of `stellen` (1 to 7) digits.
  static bool istZahl(std::uint64_t wort, std::size_t stellen) noexcept {
    const std::uint64_t maske = ~std::uint64_t{0} >> (8 * (8 - stellen));
    return (wort >> 56U) == stellen &&
           vesk::achtfach::alleZiffern((wort & maske) | (vesk::achtfach::NULLEN & ~maske));
  }
  // The slot of `schluessel` in a table of 2^bits slots (Fibonacci hashing).
  static std::size_t streue(std::uint64_t schluessel, unsigned bits) noexcept {
    return static_cast<std::size_t>((schluessel * 0x9E3779B97F4A7C15ULL) >> (64U - bits));
  }

  std::vector<std::string> werteMenge;
  // Views of the entries that a message text can equal: those of ASCII characters only, since a
  // message byte of 0x80 or above equals no character of a file. The entries never move.
  std::unordered_set<std::string_view> index;
  // When every such entry has at most 7 bytes (codes, postal codes), each is instead one word:
  // its bytes and, in the top byte, its length, and the index stays empty. A few words are compared
  // in a row, many are found in an open-addressed table of twice their number (LEER marks a free
  // slot), or, when they are numbers, in the bits below.
  static constexpr std::uint64_t LEER = ~std::uint64_t{0};
  bool nurKurze = false;
  std::vector<std::uint64_t> kurze;
  std::vector<std::uint64_t> tabelle;
  unsigned tabellenBits = 0;
  // Numbers of ziffernJeZahl digits (0: not so), a bit per number.
  std::size_t ziffernJeZahl = 0;
  std::vector<std::uint64_t> zahlenBits;
};
