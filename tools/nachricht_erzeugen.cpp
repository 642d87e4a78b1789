// nachricht_erzeugen: writes a large, clean claim report ("Schadenmeldung", Sendeart 01) over
// the bundled example configuration, for measurements.
//
//   nachricht_erzeugen <message file> <data records> [<attachment bytes>]
//
// The message holds the header, the two partial records 4100.1 and 4100.2, vehicle records
// 4200 up to the requested number of data records and, with an attachment size above 0, one
// attachment description 4900 followed by that many attachment bytes; then the trailer. Every
// field holds a value that the example definitions accept, so the checker checks every field of
// every record and reports "Nachricht OK !". The file is written record by record.

#include <charconv>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "config/Ausgabe.h"
#include "config/Dateien.h"
#include "config/Programmstart.h"

namespace {

constexpr std::size_t SATZLAENGE = 256;

// A blank-filled record with texts at 1-based positions.
class Satz {
 public:
  Satz& setze(std::size_t position, std::string_view text) {
    bytes.replace(position - 1, text.size(), text);
    return *this;
  }
  [[nodiscard]] const std::string& text() const { return bytes; }

 private:
  std::string bytes = std::string(SATZLAENGE, ' ');
};

std::string mitNullen(unsigned long long zahl, int stellen) {
  std::string text = std::to_string(zahl);
  return std::string(text.size() < static_cast<std::size_t>(stellen)
                         ? static_cast<std::size_t>(stellen) - text.size()
                         : 0,
                     '0') +
         text;
}

Satz vorsatz() {
  return Satz()
      .setze(1, "4001")
      .setze(5, "01")
      .setze(7, "12345")
      .setze(12, "WERKSTATT1")
      .setze(22, "VERSICHER1")
      .setze(32, "08122026")
      .setze(40, "143000")
      .setze(46, "001")
      .setze(49, "B-XY 1234");
}

Satz schadenTeil1() {
  return Satz()
      .setze(1, "4100")
      .setze(5, "S-2026-000123")
      .setze(25, "12345")
      .setze(30, "VS-998877")
      .setze(50, "01122026")
      .setze(58, "083000")
      .setze(64, "VK")
      .setze(67, "1")
      .setze(68, "Muster Versicherung AG")
      .setze(98, "10115")
      .setze(103, "Berlin")
      .setze(128, "3")
      .setze(129, "Hauptstrasse 1")
      .setze(159, "10115")
      .setze(164, "Berlin")
      .setze(189, "DEU");
}

Satz schadenTeil2() {
  return Satz()
      .setze(1, "4100")
      .setze(5, "S-2026-000123")
      .setze(25, "0000250000")
      .setze(35, "EUR")
      .setze(38, "Auffahrunfall an Ampel")
      .setze(67, "2")
      .setze(68, "Heckschaden, Stossfaenger und Heckklappe");
}

Satz fahrzeug(unsigned long long nummer) {
  return Satz()
      .setze(1, "4200")
      .setze(5, "B-VK " + mitNullen(nummer % 10000, 4))
      .setze(17, "WVWZZZ1JZ" + mitNullen(nummer % 100000000, 8))
      .setze(34, "052019")
      .setze(40, mitNullen(nummer % 1000000, 7));
}

Satz anhangsBeschreibung(unsigned long long laenge) {
  return Satz()
      .setze(1, "4900")
      .setze(5, "001")
      .setze(8, "gutachten.pdf")
      .setze(48, "PDF")
      .setze(52, "01122026")
      .setze(109, "0012")
      .setze(113, "0300")
      .setze(117, "N")
      .setze(118, mitNullen(laenge, 10));
}

// A decimal number that is all of `text`; nullopt for anything else.
std::optional<unsigned long long> leseZahl(std::string_view text) {
  unsigned long long wert = 0;
  const char* ende = text.data() + text.size();
  const auto [rest, fehler] = std::from_chars(text.data(), ende, wert);
  if (fehler != std::errc{} || rest != ende) {
    return std::nullopt;
  }
  return wert;
}

// Writes the whole message to `datei`, record by record.
void schreibeNachricht(std::ofstream& datei, unsigned long long datensaetze,
                       unsigned long long anhang) {
  const unsigned long long feste = anhang > 0 ? 3 : 2;
  datei << vorsatz().text() << schadenTeil1().text() << schadenTeil2().text();
  for (unsigned long long i = 0; i < datensaetze - feste; ++i) {
    datei << fahrzeug(i).text();
  }
  if (anhang > 0) {
    datei << anhangsBeschreibung(anhang).text();
    const std::string block(1 << 20, 'Z');
    for (unsigned long long rest = anhang; rest > 0;) {
      const auto stueck = static_cast<std::size_t>(rest < block.size() ? rest : block.size());
      datei.write(block.data(), static_cast<std::streamsize>(stueck));
      rest -= stueck;
    }
  }
  datei << Satz().setze(1, "4999").setze(5, mitNullen(datensaetze, 8)).text();
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> argumente = vesk::programmArgumente(argc, argv);
  if (argumente.size() < 2 || argumente.size() > 3) {
    std::cerr << "usage: nachricht_erzeugen <message file> <data records> [<attachment bytes>]\n";
    return 2;
  }
  const std::optional<unsigned long long> datensaetze = leseZahl(argumente[1]);
  const std::optional<unsigned long long> anhang =
      argumente.size() == 3 ? leseZahl(argumente[2]) : 0ULL;
  const unsigned long long feste = anhang.value_or(0) > 0 ? 3 : 2;
  if (!datensaetze || !anhang || *datensaetze < feste || *datensaetze > 99999999 ||
      *anhang > 2147483647) {
    std::cerr << "nachricht_erzeugen: needs " << feste
              << " to 99999999 data records and at most 2147483647 attachment bytes\n";
    return 2;
  }
  std::ofstream datei(vesk::dateipfad(argumente[0]), std::ios::binary | std::ios::trunc);
  schreibeNachricht(datei, *datensaetze, *anhang);
  datei.close();
  if (datei.fail()) {
    vesk::schreibeZeile(std::cerr, "nachricht_erzeugen: cannot write " + argumente[0]);
    return 1;
  }
  return 0;
}
