// The whole lint of the definition files over arbitrary text: the record definition up to the
// first NUL byte, the structure definition after it (the example's when there is none), run in
// the example folder so that value-set files can be found; every report line and map is written.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "config/IniFile.h"
#include "fuzz/FuzzUmgebung.h"
#include "lint/DefinitionsPruefung.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
  static const std::string beispielStruktur = [] {
    std::ifstream datei(vesk::fuzz::beispielOrdner() / "struktur.ini", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>());
  }();
  vesk::fuzz::schweige();
  const std::string_view text = vesk::fuzz::alsText(daten, groesse);
  const std::size_t trenner = text.find('\0');
  const std::string_view datensatzText = text.substr(0, trenner);
  const std::string_view strukturText = trenner == std::string_view::npos
                                            ? std::string_view(beispielStruktur)
                                            : text.substr(trenner + 1);
  return vesk::fuzz::imBeispielOrdner([&] {
    const IniFile datensaetze = IniFile::ausText("datensaetze.ini", datensatzText);
    const IniFile struktur = IniFile::ausText("struktur.ini", strukturText);
    const vesk::DefinitionsPruefung pruefung(struktur, datensaetze, "struktur.ini",
                                             "datensaetze.ini");
    for (const auto& befund : pruefung.gibBefunde()) {
      static_cast<void>(vesk::alsZeile(befund));
    }
    for (const auto& karte : pruefung.gibKarten()) {
      static_cast<void>(vesk::alsText(karte));
    }
    return 0;
  });
}
