#pragma once
#include <array>
#include <cstddef>
#include <cstring>
#include <span>
#include <string_view>

#include "fields/MeldungsText.h"

class Vesk_Satzart;

namespace vesk {

class SatzartenRegister;

// Names the records of a message: the record type of the first 4 characters, or else of those
// characters + "." + the sub-type character at offset 66. Consecutive records mostly share their
// type, so the last answer is kept and the registry is asked again only when the name bytes
// (and, for a partial record, the sub-type character) differ, or when a faulty definition must
// fail again as it did before. A name holding a byte of 0x80 or above names no record type, and
// a faulty definition counts as none.
class Namensgeber {
 public:
  struct Treffer {
    const Vesk_Satzart* satzart;  // nullptr: no record type of either name
    MeldungsText name;            // the name used last; valid until the next call
  };

  static constexpr std::size_t TEILSATZ_ZEICHEN = 66;  // offset of the partial-record number

  explicit Namensgeber(const SatzartenRegister& register_) : satzArten(register_) {}

  // The record type of the 256-byte record `satz`.
  Treffer benenne(std::span<const unsigned char> satz) {
    const std::string_view vier(reinterpret_cast<const char*>(satz.data()), 4);
    const char teilsatz = static_cast<char>(satz[TEILSATZ_ZEICHEN]);
    // Four bytes compared as one word: this runs for every record of the message.
    if (!wiederverwendbar || std::memcmp(vier.data(), name.data(), 4) != 0 ||
        (laenge == name.size() && teilsatz != name[5])) {
      suche(vier, teilsatz);
    }
    return {satzart, MeldungsText(std::string_view(name.data(), laenge))};
  }

 private:
  void suche(std::string_view vier, char teilsatz);

  const SatzartenRegister& satzArten;
  std::array<char, 6> name{};
  std::size_t laenge = 0;
  const Vesk_Satzart* satzart = nullptr;
  bool wiederverwendbar = false;  // whether the next record of the same name may take the answer
};

}  // namespace vesk
