#include "dienst/Dienstprotokoll.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <ostream>

#include "report/JsonBericht.h"

namespace vesk::dienst {

namespace {

constexpr std::array<std::string_view, 3> ERGEBNISSE{"ok", "fehler", "abbruch"};

// Appends `text` as a JSON string. The texts of a request line come from the client: every
// byte outside printable ASCII is written as the character of its code, escaped, so that the
// line stays one line of valid JSON whatever was sent.
void haengeJsonTextAn(std::string& zeile, std::string_view text) {
  zeile.push_back('"');
  for (const char zeichen : text) {
    const auto byte = static_cast<unsigned char>(zeichen);
    if (zeichen == '"' || zeichen == '\\') {
      zeile.push_back('\\');
      zeile.push_back(zeichen);
    } else if (byte < 0x20 || byte > 0x7E) {
      std::array<char, 8> escape{};
      std::snprintf(escape.data(), escape.size(), "\\u%04X", static_cast<unsigned>(byte));
      zeile.append(escape.data(), 6);
    } else {
      zeile.push_back(zeichen);
    }
  }
  zeile.push_back('"');
}

void haengeJsonTextOderNullAn(std::string& zeile, std::string_view text) {
  if (text.empty()) {
    zeile.append("null");
  } else {
    haengeJsonTextAn(zeile, text);
  }
}

}  // namespace

std::string zeitstempel(std::chrono::system_clock::time_point zeitpunkt, bool mitMillisekunden) {
  const auto seit = zeitpunkt.time_since_epoch();
  const std::time_t sekunden =
      static_cast<std::time_t>(std::chrono::duration_cast<std::chrono::seconds>(seit).count());
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(seit).count() % 1000;
  std::tm teile{};
#ifdef _WIN32
  gmtime_s(&teile, &sekunden);
#else
  gmtime_r(&sekunden, &teile);
#endif
  std::array<char, 32> puffer{};
  std::size_t n = std::strftime(puffer.data(), puffer.size(), "%Y-%m-%dT%H:%M:%S", &teile);
  if (mitMillisekunden) {
    n += static_cast<std::size_t>(
        std::snprintf(puffer.data() + n, puffer.size() - n, ".%03d", static_cast<int>(ms)));
  }
  return std::string(puffer.data(), n) + "Z";
}

void Dienstprotokoll::anfrage(const Anfragebericht& bericht) {
  // Written by hand, not through a JSON document: this line is written for every request.
  std::string zeile;
  zeile.reserve(256);
  zeile.append("{\"zeit\":\"").append(zeitstempel(std::chrono::system_clock::now()));
  zeile.append("\",\"id\":");
  haengeJsonTextAn(zeile, bericht.id);
  zeile.append(",\"methode\":");
  haengeJsonTextOderNullAn(zeile, bericht.methode);
  zeile.append(",\"pfad\":");
  haengeJsonTextOderNullAn(zeile, bericht.pfad);
  zeile.append(",\"status\":").append(std::to_string(bericht.status));
  zeile.append(",\"bytes\":").append(std::to_string(bericht.bytes));
  std::array<char, 32> ms{};
  const int n = std::snprintf(ms.data(), ms.size(), "%.3f", bericht.millisekunden);
  zeile.append(",\"ms\":").append(ms.data(), static_cast<std::size_t>(std::max(n, 0)));
  zeile.append(",\"ergebnis\":");
  if (bericht.ergebnis) {
    zeile.append("\"").append(ERGEBNISSE[static_cast<std::size_t>(*bericht.ergebnis)]).append("\"");
  } else {
    zeile.append("null");
  }
  if (!bericht.grund.empty()) {
    zeile.append(",\"grund\":");
    haengeJsonTextAn(zeile, bericht.grund);
  }
  zeile.append("}\n");
  schreibe(zeile);
}

void Dienstprotokoll::ereignis(std::string_view name, const nlohmann::ordered_json& felder) {
  nlohmann::ordered_json zeile;
  zeile["zeit"] = zeitstempel(std::chrono::system_clock::now());
  zeile["ereignis"] = name;
  if (felder.is_object()) {
    for (const auto& [schluessel, wert] : felder.items()) {
      zeile[schluessel] = wert;
    }
  }
  schreibe(alsJsonText(zeile, -1) + '\n');
}

void Dienstprotokoll::schreibe(std::string_view text) {
  const std::lock_guard<std::mutex> gesperrt(sperre);
  aus.write(text.data(), static_cast<std::streamsize>(text.size()));
  aus.flush();
}

}  // namespace vesk::dienst
