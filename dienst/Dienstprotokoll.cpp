#include "dienst/Dienstprotokoll.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <ostream>

#include "report/JsonBericht.h"

namespace vesk::dienst {

namespace {

constexpr std::array<std::string_view, 3> ERGEBNISSE{"ok", "fehler", "abbruch"};

nlohmann::ordered_json oderNull(const std::string& text) {
  return text.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(text);
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
  nlohmann::ordered_json zeile;
  zeile["zeit"] = zeitstempel(std::chrono::system_clock::now());
  zeile["id"] = bericht.id;
  zeile["methode"] = oderNull(bericht.methode);
  zeile["pfad"] = oderNull(bericht.pfad);
  zeile["status"] = bericht.status;
  zeile["bytes"] = bericht.bytes;
  zeile["ms"] = std::round(bericht.millisekunden * 1000) / 1000;
  zeile["ergebnis"] =
      bericht.ergebnis
          ? nlohmann::ordered_json(ERGEBNISSE[static_cast<std::size_t>(*bericht.ergebnis)])
          : nlohmann::ordered_json();
  if (!bericht.grund.empty()) {
    zeile["grund"] = bericht.grund;
  }
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
  schreibe(zeile);
}

void Dienstprotokoll::schreibe(const nlohmann::ordered_json& zeile) {
  std::string text = alsJsonText(zeile, -1);
  text.push_back('\n');
  const std::lock_guard<std::mutex> gesperrt(sperre);
  aus.write(text.data(), static_cast<std::streamsize>(text.size()));
  aus.flush();
}

}  // namespace vesk::dienst
