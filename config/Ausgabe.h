#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

// Output helpers shared by every executable: what a written line may carry, and whether standard
// output took everything. Texts from messages, definition files and file names reach the console
// and the protocol file; a control character among them must neither split a line that other
// programs read line by line nor drive the user's terminal.
namespace vesk {

// The text of the exception report when standard output could not be written completely.
inline constexpr std::string_view STANDARDAUSGABE_FEHLER =
    "Fehler beim Schreiben der Standardausgabe";

// Appends `text` to `ziel` with every control character written as the four characters \xHH
// (upper-case hexadecimal): the bytes 0x00-0x1F and 0x7F, the characters U+0080-U+009F, whose
// UTF-8 form C2 80 to C2 9F becomes \x80 to \x9F, and a byte 0x80-0x9F that is part of no valid
// UTF-8 sequence (a name or a definition text in another encoding), which many terminals take
// for a control. Every other byte, invalid UTF-8 included (a Latin-1 "ae" 0xE4), is copied as it
// is.
void haengeMaskiertAn(std::string& ziel, std::string_view text);

// Appends `byte` as the four characters \xHH (upper-case hexadecimal), the form every escaped
// byte takes.
void haengeHexAn(std::string& ziel, unsigned char byte);

// The length of the valid UTF-8 sequence that starts at byte `i` of `text` (1 for ASCII), or 0
// when none starts there.
[[nodiscard]] std::size_t utf8Folge(std::string_view text, std::size_t i) noexcept;
// True when all of `text` is valid UTF-8.
[[nodiscard]] bool istUtf8(std::string_view text) noexcept;

// `text` as haengeMaskiertAn writes it.
[[nodiscard]] std::string maskiert(std::string_view text);

// Writes `zeile` as haengeMaskiertAn would, then "\n". A line without control characters is
// written without a copy.
void schreibeZeile(std::ostream& aus, std::string_view zeile);

// Writes each "\n"-separated line of `text` through schreibeZeile; a last line without "\n"
// stays without one.
void schreibeZeilen(std::ostream& aus, std::string_view text);

// Flushes standard output; false when some of what was written to it did not arrive.
[[nodiscard]] bool standardausgabeGeschrieben();

// Writes the three-line exception report with `text` on standard error, after flushing standard
// output so that the report follows what was printed before.
void berichteAbbruch(std::string_view text);

// The end of a small command: `status` when standard output took everything, otherwise 2 after
// the exception report.
[[nodiscard]] int beende(int status);

}  // namespace vesk
