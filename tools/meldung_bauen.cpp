// meldung_bauen: writes a message file from readable text, one line per record.
//
//   meldung_bauen <text file> <message file>
//
// Each line of the text file is one 256-byte record, blank-filled. Inside a line:
//   {N}     moves the write position to the 1-based byte N of the record (1 to 256),
//   \xHH    writes the byte with the hexadecimal code HH,
//   \{ \\   write a brace or a backslash.
// Other lines:
//   # ...            a comment; empty lines are skipped as well;
//   @anhang N [C]    N attachment bytes, all the character C (default A);
//   @roh TEXT        the bytes of TEXT as they are, with the escapes above and no filling;
//   @laenge N        after everything else, cut the file to N bytes or fill it up with blanks.
// A line starting with @ is always a directive; a record starting with @ writes it as \@.
// Exits with status 1 and a message on standard error, naming the line, for a malformed line
// or an unknown directive, and when the message file cannot be written completely.

#include <charconv>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "config/Ausgabe.h"
#include "config/Dateien.h"
#include "config/Programmstart.h"

namespace {

constexpr std::size_t SATZLAENGE = 256;

// Reads a decimal number that is all of `text`: no sign, no blanks, no trailing characters.
std::size_t leseZahl(std::string_view text) {
  std::size_t wert = 0;
  const char* ende = text.data() + text.size();
  const auto [rest, fehler] = std::from_chars(text.data(), ende, wert);
  if (fehler != std::errc{} || rest != ende) {
    throw std::runtime_error("bad number '" + std::string(text) + "'");
  }
  return wert;
}

int hexWert(char zeichen) {
  if (zeichen >= '0' && zeichen <= '9') {
    return zeichen - '0';
  }
  if (zeichen >= 'a' && zeichen <= 'f') {
    return zeichen - 'a' + 10;
  }
  if (zeichen >= 'A' && zeichen <= 'F') {
    return zeichen - 'A' + 10;
  }
  throw std::runtime_error("bad hexadecimal digit");
}

// Writes `text` into `ziel` from `position` on, following the escapes; with `satz` the braces
// move the position and the text must stay within the record.
void schreibe(std::string& ziel, std::size_t position, const std::string& text, bool satz) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char zeichen = text[i];
    if (zeichen == '\\' && i + 1 < text.size()) {
      const char naechstes = text[++i];
      if (naechstes == 'x') {
        if (i + 2 >= text.size()) {
          throw std::runtime_error("incomplete \\x escape");
        }
        zeichen = static_cast<char>(hexWert(text.at(i + 1)) * 16 + hexWert(text.at(i + 2)));
        i += 2;
      } else {
        zeichen = naechstes;
      }
    } else if (zeichen == '{' && satz) {
      const std::size_t ende = text.find('}', i);
      if (ende == std::string::npos) {
        throw std::runtime_error("missing }");
      }
      const std::size_t neu = leseZahl(std::string_view(text).substr(i + 1, ende - i - 1));
      if (neu < 1 || neu > SATZLAENGE) {
        throw std::runtime_error("position outside 1 to 256");
      }
      position = neu - 1;
      i = ende;
      continue;
    }
    if (satz && position >= SATZLAENGE) {
      throw std::runtime_error("record longer than 256 bytes");
    }
    if (position < ziel.size()) {
      ziel[position] = zeichen;
    } else {
      ziel.push_back(zeichen);
    }
    ++position;
  }
}

// Applies the directive line `zeile` ("@name argument") to the message built so far.
void wendeAn(std::string_view zeile, std::string& nachricht, std::optional<std::size_t>& laenge) {
  const std::size_t blank = zeile.find(' ');
  const std::string_view anweisung = zeile.substr(0, blank);
  const std::string_view argument =
      blank == std::string_view::npos ? std::string_view() : zeile.substr(blank + 1);
  if (anweisung == "@anhang") {
    const std::size_t trenner = argument.find(' ');
    const std::string_view fuellung =
        trenner == std::string_view::npos ? "A" : argument.substr(trenner + 1);
    if (fuellung.size() != 1) {
      throw std::runtime_error("@anhang takes one fill character");
    }
    nachricht.append(leseZahl(argument.substr(0, trenner)), fuellung.front());
  } else if (anweisung == "@roh") {
    std::string roh;
    schreibe(roh, 0, std::string(argument), false);
    nachricht += roh;
  } else if (anweisung == "@laenge") {
    laenge = leseZahl(argument);
  } else {
    throw std::runtime_error("unknown directive '" + std::string(anweisung) + "'");
  }
}

std::string baue(std::istream& eingabe) {
  std::string nachricht;
  std::optional<std::size_t> laenge;
  std::string zeile;
  for (std::size_t nummer = 1; std::getline(eingabe, zeile); ++nummer) {
    if (!zeile.empty() && zeile.back() == '\r') {
      zeile.pop_back();
    }
    if (zeile.empty() || zeile.front() == '#') {
      continue;
    }
    try {
      if (zeile.front() == '@') {
        wendeAn(zeile, nachricht, laenge);
      } else {
        std::string satz(SATZLAENGE, ' ');
        schreibe(satz, 0, zeile, true);
        nachricht += satz;
      }
    } catch (const std::runtime_error& e) {
      throw std::runtime_error(std::to_string(nummer) + ": " + e.what());
    }
  }
  if (laenge) {
    nachricht.resize(*laenge, ' ');
  }
  return nachricht;
}

// Writes `nachricht` to the file `name`; false unless every byte arrived.
bool schreibeDatei(const std::string& name, const std::string& nachricht) {
  std::ofstream ausgabe(vesk::dateipfad(name), std::ios::binary | std::ios::trunc);
  ausgabe.write(nachricht.data(), static_cast<std::streamsize>(nachricht.size()));
  ausgabe.close();
  return !ausgabe.fail();
}

void melde(const std::string& text) {
  vesk::schreibeZeile(std::cerr, "meldung_bauen: " + text);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argumente = vesk::programmArgumente(argc, argv);
  if (argumente.size() != 2) {
    std::cerr << "usage: meldung_bauen <text file> <message file>\n";
    return 2;
  }
  std::ifstream eingabe(vesk::dateipfad(argumente[0]), std::ios::binary);
  if (!eingabe) {
    melde("cannot read " + argumente[0]);
    return 1;
  }
  try {
    if (!schreibeDatei(argumente[1], baue(eingabe))) {
      melde("cannot write " + argumente[1]);
      return 1;
    }
  } catch (const std::exception& e) {
    melde(argumente[0] + ":" + e.what());
    return 1;
  }
  return 0;
}
