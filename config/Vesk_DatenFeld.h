#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "fields/MeldungsText.h"
#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_WerteMenge.h"

class Vesk_DatenFeldFehler;
class Vesk_FehlerListe;

namespace vesk {
class WertemengenRegister;
}

// One field of a record type, parsed from a definition "type,kind,address,bytes[,value set]":
// which bytes of a 256-byte record it covers and how they are judged. Its field kind and a named
// value set belong to their registries, which outlive every field; a value set written inline
// belongs to the field.
class Vesk_DatenFeld {
 public:
  static constexpr std::int32_t UNDEF = 0;
  static constexpr std::int32_t MUSS = 1;
  static constexpr std::int32_t KANN = 2;
  static constexpr std::int32_t MUSS_KANN = 3;

  // The field kind's class, decided once when the field is built.
  enum class Art : std::uint8_t { numerisch, alphanumerisch, datum, uhrzeit, andere };

  // Throws Vesk_DatensatzDateiException or Vesk_StrukturDateiException (the two address checks),
  // without a group, when `definition` is malformed.
  explicit Vesk_DatenFeld(std::string_view definition);
  // Like the above, with the named value sets of `benannteMengen` instead of the process-wide
  // ones; `benannteMengen` must outlive the field.
  Vesk_DatenFeld(std::string_view definition, const vesk::WertemengenRegister& benannteMengen);

  // Sets parameter `n` (0 to 4) from `text`, which holds no blanks.
  void setzeFeld(int n, std::string_view text);
  // Adds at most one finding to `liste` and returns it, or nullptr; the entry is owned by
  // `liste`. `offset` is the record's start in `bytes`, which hold the whole record.
  Vesk_DatenFeldFehler* pruefe(std::span<const unsigned char> bytes, std::size_t offset,
                               Vesk_FehlerListe& liste) const;
  [[nodiscard]] std::int32_t gibAdresse() const { return adresse; }  // 0-based
  [[nodiscard]] std::int32_t gibAnzahlBytes() const { return anzahlBytes; }
  [[nodiscard]] std::int32_t gibFeldTyp() const { return feldTyp; }
  [[nodiscard]] const Vesk_WerteMenge* gibWerteMenge() const { return werteMenge; }
  [[nodiscard]] const Vesk_Feldart& gibFeldArt() const { return *feldArt; }
  [[nodiscard]] Art gibArt() const { return art; }
  // The field's value as its kind extracts it, trimmed; a view into `bytes`.
  // The field kind's judgement of the field's bytes, with its value set; `start` is the field's
  // first byte in `bytes`.
  [[nodiscard]] Vesk_Feldart::Befund untersuche(std::span<const unsigned char> bytes,
                                                std::size_t start) const;
  [[nodiscard]] vesk::MeldungsText gibWert(std::span<const unsigned char> bytes,
                                           std::size_t offset) const;

 private:
  void setzeAdresse(std::string_view text);
  void setzeAnzahlBytes(std::string_view text);
  void setzeWerteMenge(std::string_view text);

  std::int32_t anzahlBytes = 0;
  std::int32_t adresse = 0;  // 0-based; never negative once built
  std::int32_t feldTyp = UNDEF;
  Art art = Art::andere;
  const Vesk_Feldart* feldArt = nullptr;              // never null once built
  const Vesk_WerteMenge* werteMenge = nullptr;        // nullptr: the field has no value set
  const vesk::WertemengenRegister* werteMengen;       // where named value sets are looked up
  std::unique_ptr<Vesk_WerteMenge> eigeneWerteMenge;  // an inline value set
};
