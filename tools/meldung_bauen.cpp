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
// Exits with status 1 and a message on standard error for a malformed line.

#include <charconv>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

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

std::string baue(std::istream& eingabe) {
  std::string nachricht;
  std::optional<std::size_t> laenge;
  std::string zeile;
  while (std::getline(eingabe, zeile)) {
    if (!zeile.empty() && zeile.back() == '\r') {
      zeile.pop_back();
    }
    if (zeile.empty() || zeile.front() == '#') {
      continue;
    }
    if (zeile.starts_with("@anhang ")) {
      const std::string_view teile = std::string_view(zeile).substr(8);
      const std::size_t blank = teile.find(' ');
      const std::string_view fuellung =
          blank == std::string_view::npos ? "A" : teile.substr(blank + 1);
      if (fuellung.size() != 1) {
        throw std::runtime_error("@anhang takes one fill character");
      }
      nachricht.append(leseZahl(teile.substr(0, blank)), fuellung.front());
    } else if (zeile.starts_with("@roh ")) {
      std::string roh;
      schreibe(roh, 0, zeile.substr(5), false);
      nachricht += roh;
    } else if (zeile.starts_with("@laenge ")) {
      laenge = leseZahl(std::string_view(zeile).substr(8));
    } else {
      std::string satz(SATZLAENGE, ' ');
      schreibe(satz, 0, zeile, true);
      nachricht += satz;
    }
  }
  if (laenge) {
    nachricht.resize(*laenge, ' ');
  }
  return nachricht;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: meldung_bauen <text file> <message file>\n";
    return 2;
  }
  std::ifstream eingabe(argv[1], std::ios::binary);
  if (!eingabe) {
    std::cerr << "meldung_bauen: cannot read " << argv[1] << '\n';
    return 1;
  }
  try {
    const std::string nachricht = baue(eingabe);
    std::ofstream ausgabe(argv[2], std::ios::binary | std::ios::trunc);
    ausgabe.write(nachricht.data(), static_cast<std::streamsize>(nachricht.size()));
    if (!ausgabe) {
      std::cerr << "meldung_bauen: cannot write " << argv[2] << '\n';
      return 1;
    }
  } catch (const std::exception& e) {
    std::cerr << "meldung_bauen: " << argv[1] << ": " << e.what() << '\n';
    return 1;
  }
  return 0;
}
