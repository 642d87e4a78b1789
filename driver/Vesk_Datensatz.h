#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "config/Vesk_Satzart.h"

class Vesk_FehlerListe;

// One record of a message under check: its record type, its 256 bytes and its partial-record
// number. Refers to the message bytes (owned by the caller of the analysis) and to its record
// type (owned by the registry); copies no bytes. Kept small, since a large message has hundreds
// of thousands of records.
class Vesk_Datensatz {
 public:
  static constexpr std::size_t SATZLAENGE = 256;

  // `name` is the name `satzart` was found under: "4001", or "4100.1" for a partial record; the
  // numbers are those of the record type's name.
  // Precondition: the 256 bytes from `startAdresse` on lie within `nachricht`.
  // Throws Vesk_Exception "Nummernformat bei der Satzart <name> nicht korrekt" when the
  // record-type number or the partial-record number is not an integer.
  Vesk_Datensatz(std::string_view name, const Vesk_Satzart& satzart,
                 std::span<const unsigned char> nachricht, std::size_t startAdresse);

  // Compares the record-type numbers only.
  [[nodiscard]] bool istGroesserGleich(const Vesk_Datensatz& anderer) const {
    return *satzart->gibSatzNummer() >= *anderer.satzart->gibSatzNummer();
  }
  // The record-type number as text ("4100"), without a partial-record suffix.
  [[nodiscard]] std::string_view gibBezeichner() const;
  [[nodiscard]] std::int32_t gibTeilSatzNummer() const { return *satzart->gibTeilSatzNummer(); }
  [[nodiscard]] const Vesk_Satzart& gibSatzart() const { return *satzart; }
  // The record's 256 bytes.
  [[nodiscard]] std::span<const unsigned char> gibSatz() const { return {satz, SATZLAENGE}; }
  // The technical check of this record; true when no field produced a finding.
  bool pruefe(Vesk_FehlerListe& liste) const;

 private:
  friend class Vesk_Meldung;
  // A record already checked when its message was split.
  Vesk_Datensatz(const Vesk_Satzart& typ, const unsigned char* anfang)
      : satzart(&typ), satz(anfang) {}

  // Two pointers and nothing else: a message of 100 MB has 400,000 records. The numbers of the
  // record type's name are read once, by the record type.
  const Vesk_Satzart* satzart;  // never null; its name is the name the record was appended under
  const unsigned char* satz;    // the record's first byte within the message
};
