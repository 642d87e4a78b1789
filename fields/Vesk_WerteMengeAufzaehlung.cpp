#include "fields/Vesk_WerteMengeAufzaehlung.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "config/Dateien.h"
#include "config/Vesk_DatensatzDateiException.h"

namespace {

// The values of a value-set file, one per line, in file order. A leading UTF-8 byte-order mark is
// skipped, as editors write one that would otherwise spoil the first value.
std::vector<std::string> zerlegeWerteDatei(std::string_view inhalt) {
  constexpr std::string_view bom = "\xEF\xBB\xBF";
  if (inhalt.starts_with(bom)) {
    inhalt.remove_prefix(bom.size());
  }
  std::vector<std::string> werte;
  std::string wert;
  bool kommentar = false;
  for (const char zeichen : inhalt) {
    switch (zeichen) {
      case ' ':
      case '\t':
      case '\r':
        break;
      case '\n':
        if (!wert.empty()) {
          werte.push_back(std::move(wert));
          wert.clear();
        }
        kommentar = false;
        break;
      case ';':
        kommentar = true;
        break;
      default:
        if (!kommentar) {
          wert.push_back(zeichen);
        }
    }
  }
  if (!wert.empty()) {
    werte.push_back(std::move(wert));
  }
  return werte;
}

struct SchliesseDatei {
  void operator()(std::FILE* datei) const noexcept { static_cast<void>(std::fclose(datei)); }
};

// The whole file as bytes, or nullopt when reading or closing it fails. Read through the C
// library, as a stream would not tell a read error from the end of the file.
std::optional<std::string> leseGanz(std::unique_ptr<std::FILE, SchliesseDatei> datei) {
  std::string inhalt;
  std::array<char, 4096> block{};
  std::size_t gelesen = 0;
  while ((gelesen = std::fread(block.data(), 1, block.size(), datei.get())) > 0) {
    inhalt.append(block.data(), gelesen);
  }
  const bool lesefehler = std::ferror(datei.get()) != 0;
  if (std::fclose(datei.release()) != 0 || lesefehler) {
    return std::nullopt;
  }
  return inhalt;
}

constexpr std::size_t WENIGE = 16;  // entries compared in a row rather than looked up

}  // namespace

Vesk_WerteMengeAufzaehlung::Vesk_WerteMengeAufzaehlung(std::string name,
                                                       const std::string& dateiName)
    : Vesk_WerteMenge(std::move(name)) {
  if (!vesk::istDatei(dateiName)) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " mit Wertemenge existiert nicht");
  }
  std::unique_ptr<std::FILE, SchliesseDatei> datei(vesk::oeffneZumLesen(dateiName));
  if (!datei) {
    throw Vesk_DatensatzDateiException("Datei " + dateiName + " nicht gefunden");
  }
  const std::optional<std::string> inhalt = leseGanz(std::move(datei));
  if (!inhalt) {
    throw Vesk_DatensatzDateiException("Fehler beim Lesen von " + dateiName + " fuer Wertemenge");
  }
  werteMenge = zerlegeWerteDatei(*inhalt);
  baueIndex();
}

Vesk_WerteMengeAufzaehlung::Vesk_WerteMengeAufzaehlung(std::string name,
                                                       std::vector<std::string> werte)
    : Vesk_WerteMenge(std::move(name)), werteMenge(std::move(werte)) {
  baueIndex();
}

void Vesk_WerteMengeAufzaehlung::baueIndex() {
  werteMenge.shrink_to_fit();
  const auto vergleichbar = [](const std::string& wert) {
    return vesk::MeldungsText(wert).istAscii();
  };
  nurKurze = std::all_of(werteMenge.begin(), werteMenge.end(), [&](const std::string& wert) {
    return wert.size() <= KURZ || !vergleichbar(wert);
  });
  if (!nurKurze) {
    index.reserve(werteMenge.size());
    for (const std::string& wert : werteMenge) {
      if (vergleichbar(wert)) {
        index.insert(wert);
      }
    }
    return;
  }
  for (const std::string& wert : werteMenge) {
    if (vergleichbar(wert)) {
      kurze.push_back(alsWort(wert));
    }
  }
  // Duplicates would fill the table for nothing.
  std::sort(kurze.begin(), kurze.end());
  kurze.erase(std::unique(kurze.begin(), kurze.end()), kurze.end());
  if (kurze.size() <= WENIGE || baueZahlenBits()) {
    return;
  }
  while ((std::size_t{1} << tabellenBits) < 2 * kurze.size()) {
    ++tabellenBits;
  }
  tabelle.assign(std::size_t{1} << tabellenBits, LEER);
  for (const std::uint64_t schluessel : kurze) {
    std::size_t platz = streue(schluessel, tabellenBits);
    while (tabelle[platz] != LEER) {
      platz = (platz + 1) & (tabelle.size() - 1);
    }
    tabelle[platz] = schluessel;
  }
  kurze.clear();
  kurze.shrink_to_fit();
}

bool Vesk_WerteMengeAufzaehlung::baueZahlenBits() {
  const auto laenge = static_cast<std::size_t>(kurze.front() >> 56U);
  if (laenge == 0 || !std::all_of(kurze.begin(), kurze.end(),
                                  [laenge](std::uint64_t wort) { return istZahl(wort, laenge); })) {
    return false;
  }
  std::size_t zahlen = 1;  // up to 10^7, a bit each
  for (std::size_t i = 0; i < laenge; ++i) {
    zahlen *= 10;
  }
  // The bits must not take much more memory than the table would (16 bytes per entry): five
  // digits always, seven only for thousands of numbers.
  constexpr std::size_t IMMER = 64 * 1024;
  if (zahlen / 8 > std::max(IMMER, 16 * 16 * kurze.size())) {
    return false;
  }
  ziffernJeZahl = laenge;
  zahlenBits.assign((zahlen + 63) / 64, 0);
  for (const std::uint64_t wort : kurze) {
    const std::uint32_t zahl = vesk::achtfach::zahlAus(wort, ziffernJeZahl);
    zahlenBits[zahl / 64] |= std::uint64_t{1} << (zahl % 64);
  }
  kurze.clear();
  kurze.shrink_to_fit();
  return true;
}

bool Vesk_WerteMengeAufzaehlung::inDerMenge(vesk::MeldungsText text) const {
  if (nurKurze) {
    return text.size() <= KURZ && enthaeltWort(alsWort(text.roh()));
  }
  return index.contains(text.roh());
}
