#pragma once
#include <cstddef>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>

namespace vesk {

struct Nachrichtenansicht;

// A message read by field names, for people: per record a line "Datensatz <n>, Offset <o>,
// Satzart <s>", then one line per field (number, name, kind, type, absolute offset, length,
// state, value in quotes) with the check's findings on lines of their own below, marked "!".
// Message bytes appear as the console shows them, but control characters as \xHH.
// `nurSatz` limits it to the record of that index (which must exist); then the message's own
// lines, first and last, are left out.
[[nodiscard]] std::string alsText(const Nachrichtenansicht& ansicht,
                                  std::optional<std::size_t> nurSatz = std::nullopt);
// The same as one JSON document in the vocabulary of the located reports: nachricht, ergebnis,
// nachrichtentyp, abbruch, datensaetze (datensatz, offset, satzart, felder, anhang, fehler) and
// the findings of no record shown (fehler). Field values are `wert`, bytes as the characters of
// the same code.
[[nodiscard]] nlohmann::ordered_json alsJson(const Nachrichtenansicht& ansicht,
                                             std::optional<std::size_t> nurSatz = std::nullopt);

}  // namespace vesk
