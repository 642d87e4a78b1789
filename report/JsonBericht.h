#pragma once
#include <nlohmann/json_fwd.hpp>
#include <string>

namespace vesk {

struct NachrichtenErgebnis;
struct VerorteterFehler;

// One finding as a JSON object: art, nummer, beschreibung and, where they apply, text, satzart,
// feldnummer, feldname, datensatz, offset, laenge, wert.
[[nodiscard]] nlohmann::ordered_json alsJson(const VerorteterFehler& fehler);

// The located report of one message as a JSON object, in the shape other programs read:
// nachricht, ergebnis ("ok", "fehler", "abbruch"), nachrichtentyp (null when not recognised),
// abbruch (only for "abbruch"), fehler (each with art, nummer, beschreibung and, where they
// apply, text, satzart, feldnummer, feldname, datensatz, offset, laenge, wert), and protokoll
// (the protocol file written for the message, if any).
[[nodiscard]] nlohmann::ordered_json alsJson(const NachrichtenErgebnis& ergebnis);
// `json` as text, `einzug` as for nlohmann's dump (-1: one line). Every character outside
// printable ASCII is written as a \u escape, so that no control character reaches a terminal or
// splits a line, and the text stays valid JSON. A text that is no valid UTF-8 (a file name or a
// definition text in another encoding) never turns into U+FFFD: its key holds it with each
// faulty byte as the four characters \xHH, and the key with "_base64" appended holds its exact
// bytes in base64 ("nachricht_base64", "feldname_base64"). A text in an array, which has no key
// beside it, shows the \xHH form only; the reports put none there.
[[nodiscard]] std::string alsJsonText(const nlohmann::ordered_json& json, int einzug);
// The object on one line, without the line end, as alsJsonText writes it. Message bytes appear
// as the characters of the same code (so `wert` gives back the bytes exactly).
[[nodiscard]] std::string alsJsonZeile(const NachrichtenErgebnis& ergebnis);

}  // namespace vesk
