#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Vesk_FehlerListe;

namespace vesk {

class SatzartenRegister;

// One finding of a check with its place in the message: what the console shows, plus the record
// it lies in, its byte offset in the file and, for a field finding, the field's name, length and
// bytes. Owns copies of everything, so it outlives the message.
struct VerorteterFehler {
  std::string art;          // the protocol tag without padding: Struktur, Muss, Technisch, MussKann
  std::int32_t nummer = 0;  // catalogue number
  std::string beschreibung;         // the catalogue text of the number
  std::string konsolenZeile;        // the line the checker's console report shows
  std::optional<std::string> text;  // the explanatory text
  std::optional<std::string> satzart;
  std::optional<std::int32_t> feldnummer;  // from 1, as on the console
  std::optional<std::string> feldname;     // the field's variable name in the record definition
  std::optional<std::int64_t> datensatz;   // the record's index in the message; 0 = header
  std::optional<std::int64_t> offset;      // of the field for a field finding, else of the record
  std::optional<std::int32_t> laenge;      // the field's length in bytes
  std::optional<std::string> wert;         // the field's bytes, raw
};

// The findings of `liste` in its order, each placed in `nachricht`, the bytes that were checked,
// with the record types of `satzArten`, the configuration that checked them.
[[nodiscard]] std::vector<VerorteterFehler> verorte(const Vesk_FehlerListe& liste,
                                                    std::span<const unsigned char> nachricht,
                                                    const SatzartenRegister& satzArten);

}  // namespace vesk
