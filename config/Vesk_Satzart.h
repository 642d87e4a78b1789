#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/Vesk_DatenFeld.h"

class Vesk_FehlerListe;

namespace vesk {
class Pruefplan;
class WertemengenRegister;
}  // namespace vesk

// A record type: the ordered fields that split the 256 bytes of a record, each byte covered by
// exactly one field. Owned by the record-type registry until the process ends.
class Vesk_Satzart {
 public:
  static constexpr std::size_t SATZLAENGE = 256;  // bytes of every record

  // Builds the fields from their definition texts and proves that they cover every byte once.
  // Throws Vesk_IniFileException or a class derived from it, with `name` as group.
  Vesk_Satzart(std::string name, std::span<const std::string> definitionen);
  // Like the above, with the named value sets of `benannteMengen`, which must outlive it.
  Vesk_Satzart(std::string name, std::span<const std::string> definitionen,
               const vesk::WertemengenRegister& benannteMengen);
  ~Vesk_Satzart();
  Vesk_Satzart(Vesk_Satzart&&) noexcept;
  Vesk_Satzart& operator=(Vesk_Satzart&&) noexcept;
  Vesk_Satzart(const Vesk_Satzart&) = delete;
  Vesk_Satzart& operator=(const Vesk_Satzart&) = delete;

  // The technical check of the record starting at `offset` in `bytes`: at most one finding per
  // field, in definition order, each completed with field index and record-type name.
  // True when no field produced a finding.
  bool pruefe(std::span<const unsigned char> bytes, std::size_t offset,
              Vesk_FehlerListe& liste) const;
  // Field `n`, counting from 1; nullptr outside 1 to the number of fields.
  [[nodiscard]] const Vesk_DatenFeld* gibDatenFeld(std::int64_t n) const;
  // Field `n` for a step that cannot do without it. Throws Vesk_DatensatzDateiException
  // "Satzart <name> hat kein Datenfeld <n>" with the record-type name as group.
  [[nodiscard]] const Vesk_DatenFeld& gibBenoetigtesDatenFeld(std::int32_t n) const;
  [[nodiscard]] const std::string& gibBezeichner() const { return bezeichner; }
  [[nodiscard]] std::size_t gibAnzahlFelder() const { return datenFelder.size(); }
  // The record-type number of the name ("4100" of "4100.2") and the partial-record number after
  // a "." (1 without one); nullopt when the name does not read so. Read once, for every record.
  [[nodiscard]] const std::optional<std::int32_t>& gibSatzNummer() const { return satzNummer; }
  [[nodiscard]] const std::optional<std::int32_t>& gibTeilSatzNummer() const {
    return teilSatzNummer;
  }

 private:
  void baueFelder(std::span<const std::string> definitionen,
                  const vesk::WertemengenRegister& benannteMengen);

  std::vector<Vesk_DatenFeld> datenFelder;
  std::unique_ptr<const vesk::Pruefplan> plan;  // built with the fields, never null afterwards
  std::string bezeichner;
  std::optional<std::int32_t> satzNummer;
  std::optional<std::int32_t> teilSatzNummer;
};
