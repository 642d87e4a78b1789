#include "dienst/Metriken.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace vesk::dienst {

namespace {

constexpr std::array<std::string_view, 3> ERGEBNISSE{"ok", "fehler", "abbruch"};
constexpr std::array<std::string_view, ANZAHL_ABWEISUNGEN> GRUENDE{
    "nachricht_zu_gross",  "kopf_zu_gross", "ohne_laenge",
    "zeitueberschreitung", "ausgelastet",   "verbindungen"};

std::string zahl(double wert) {
  std::array<char, 32> puffer{};
  const int n = std::snprintf(puffer.data(), puffer.size(), "%.6g", wert);
  return std::string(puffer.data(), static_cast<std::size_t>(std::max(n, 0)));
}

void zeile(std::string& text, std::string_view name, std::string_view label, std::uint64_t wert) {
  text.append(name);
  if (!label.empty()) {
    text.append("{").append(label).append("}");
  }
  text.append(" ").append(std::to_string(wert)).append("\n");
}

void kopf(std::string& text, std::string_view name, std::string_view typ, std::string_view hilfe) {
  text.append("# HELP ").append(name).append(" ").append(hilfe).append("\n");
  text.append("# TYPE ").append(name).append(" ").append(typ).append("\n");
}

}  // namespace

void Metriken::zaehle(const Anfragebericht& bericht) {
  constexpr auto LOCKER = std::memory_order_relaxed;
  if (bericht.ergebnis) {
    nachrichten[static_cast<std::size_t>(*bericht.ergebnis)].fetch_add(1, LOCKER);
    bytes.fetch_add(bericht.bytes, LOCKER);
  }
  const auto status = std::find(STATUS.begin(), STATUS.end(), bericht.status);
  anfragen[static_cast<std::size_t>(status - STATUS.begin())].fetch_add(1, LOCKER);
  const double sekunden = bericht.millisekunden / 1000;
  const auto bucket = std::lower_bound(GRENZEN.begin(), GRENZEN.end(), sekunden);
  dauer[static_cast<std::size_t>(bucket - GRENZEN.begin())].fetch_add(1, LOCKER);
  dauerMikrosekunden.fetch_add(
      static_cast<std::uint64_t>(std::llround(bericht.millisekunden * 1000)), LOCKER);
  if (bericht.abweisung) {
    abgewiesen[static_cast<std::size_t>(*bericht.abweisung)].fetch_add(1, LOCKER);
  }
}

std::string Metriken::alsText() const {
  constexpr auto LOCKER = std::memory_order_relaxed;
  std::string text;
  text.reserve(4096);
  kopf(text, "vesk_nachrichten_total", "counter", "Gepruefte Nachrichten nach Ergebnis");
  for (std::size_t i = 0; i < ERGEBNISSE.size(); ++i) {
    zeile(text, "vesk_nachrichten_total", "ergebnis=\"" + std::string(ERGEBNISSE[i]) + "\"",
          nachrichten[i].load(LOCKER));
  }
  kopf(text, "vesk_anfragen_total", "counter", "Beantwortete Anfragen nach HTTP-Status");
  for (std::size_t i = 0; i < anfragen.size(); ++i) {
    const std::string status = i < STATUS.size() ? std::to_string(STATUS[i]) : "andere";
    zeile(text, "vesk_anfragen_total", "status=\"" + status + "\"", anfragen[i].load(LOCKER));
  }
  kopf(text, "vesk_anfrage_dauer_sekunden", "histogram",
       "Dauer einer Anfrage vom ersten Byte bis zur gesendeten Antwort");
  std::uint64_t summe = 0;
  for (std::size_t i = 0; i < dauer.size(); ++i) {
    summe += dauer[i].load(LOCKER);
    const std::string le = i < GRENZEN.size() ? zahl(GRENZEN[i]) : "+Inf";
    zeile(text, "vesk_anfrage_dauer_sekunden_bucket", "le=\"" + le + "\"", summe);
  }
  text.append("vesk_anfrage_dauer_sekunden_sum ")
      .append(zahl(static_cast<double>(dauerMikrosekunden.load(LOCKER)) / 1e6))
      .append("\n");
  zeile(text, "vesk_anfrage_dauer_sekunden_count", "", summe);
  kopf(text, "vesk_geprueft_bytes_total", "counter", "Bytes der geprueften Nachrichten");
  zeile(text, "vesk_geprueft_bytes_total", "", bytes.load(LOCKER));
  kopf(text, "vesk_abgewiesen_total", "counter", "Wegen einer Grenze abgewiesene Anfragen");
  for (std::size_t i = 0; i < GRUENDE.size(); ++i) {
    zeile(text, "vesk_abgewiesen_total", "grund=\"" + std::string(GRUENDE[i]) + "\"",
          abgewiesen[i].load(LOCKER));
  }
  kopf(text, "vesk_verbindungen", "gauge", "Offene Verbindungen");
  zeile(text, "vesk_verbindungen", "",
        static_cast<std::uint64_t>(std::max<std::int64_t>(0, verbindungen.load(LOCKER))));
  kopf(text, "vesk_konfiguration_stand", "gauge", "Erfolgreiche Ladevorgaenge der Konfiguration");
  zeile(text, "vesk_konfiguration_stand", "", konfigurationsstand.load(LOCKER));
  return text;
}

}  // namespace vesk::dienst
