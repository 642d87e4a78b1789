#include "dienst/Anfragebearbeitung.h"

#include <array>
#include <boost/asio/buffer.hpp>
#include <cstdio>
#include <exception>
#include <nlohmann/json.hpp>
#include <random>
#include <span>
#include <utility>

#include "dienst/KonfigurationsHalter.h"
#include "dienst/Metriken.h"
#include "dienst/Seite.h"
#include "driver/Konfiguration.h"
#include "report/AnsichtBericht.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "report/Nachrichtenansicht.h"

namespace vesk::dienst {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view JSON = "application/json";
constexpr std::string_view SICHERHEITSREGELN =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; form-action 'none'; base-uri 'none'; frame-ancestors 'none'";
constexpr std::size_t MAX_ID = 128;

struct Titel {
  http::status status;
  std::string_view text;
};
constexpr std::array<Titel, 11> TITEL{{
    {http::status::bad_request, "Ungueltige Anfrage"},
    {http::status::not_found, "Nicht gefunden"},
    {http::status::method_not_allowed, "Methode nicht erlaubt"},
    {http::status::request_timeout, "Zeitueberschreitung der Anfrage"},
    {http::status::length_required, "Laenge erforderlich"},
    {http::status::payload_too_large, "Nachricht zu gross"},
    {http::status::request_header_fields_too_large, "Kopfzeilen zu gross"},
    {http::status::internal_server_error, "Interner Fehler"},
    {http::status::service_unavailable, "Dienst ausgelastet"},
    {http::status::http_version_not_supported, "HTTP-Version nicht unterstuetzt"},
    {http::status::unknown, "Fehler"},
}};

std::string_view titelVon(http::status status) {
  for (const Titel& titel : TITEL) {
    if (titel.status == status) {
      return titel.text;
    }
  }
  return "Fehler";
}

Antwort antwort(http::status status, std::string_view typ, std::string body, unsigned version) {
  Antwort a{status, version};
  a.set(http::field::content_type, typ);
  a.body() = std::move(body);
  return a;
}

// The path of a request target, without its query.
std::string_view pfadVon(std::string_view ziel) {
  return ziel.substr(0, ziel.find('?'));
}

// Notes the method and the path of `anfrage` in `bericht`, for the log line.
void beschreibe(const Anfrage& anfrage, Anfragebericht& bericht) {
  bericht.methode = std::string(anfrage.method_string());
  bericht.pfad = std::string(pfadVon(anfrage.target()));
}

int hexWert(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  return -1;
}

// `text` percent-decoded as a query's value, "+" a blank; absent for a broken escape.
std::optional<std::string> dekodiert(std::string_view text) {
  std::string ergebnis;
  ergebnis.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      ergebnis.push_back(' ');
    } else if (text[i] != '%') {
      ergebnis.push_back(text[i]);
    } else if (i + 2 < text.size() && hexWert(text[i + 1]) >= 0 && hexWert(text[i + 2]) >= 0) {
      ergebnis.push_back(static_cast<char>(hexWert(text[i + 1]) * 16 + hexWert(text[i + 2])));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return ergebnis;
}

// The value of `name` in the query `abfrage` ("name=a.dat&x=1"), decoded: "" when absent, and
// absent when it is not decodable.
std::optional<std::string> parameter(std::string_view abfrage, std::string_view name) {
  while (!abfrage.empty()) {
    const std::size_t ende = std::min(abfrage.find('&'), abfrage.size());
    const std::string_view teil = abfrage.substr(0, ende);
    abfrage.remove_prefix(std::min(ende + 1, abfrage.size()));
    const std::size_t gleich = teil.find('=');
    if (teil.substr(0, gleich) == name) {
      return dekodiert(gleich == std::string_view::npos ? "" : teil.substr(gleich + 1));
    }
  }
  return std::string();
}

std::span<const unsigned char> bytesVon(const std::string& body) {
  return {reinterpret_cast<const unsigned char*>(body.data()), body.size()};
}

}  // namespace

Antwort problem(http::status status, std::string_view detail, unsigned version,
                Anfragebericht& bericht) {
  Json inhalt;
  inhalt["type"] = "about:blank";
  inhalt["title"] = titelVon(status);
  inhalt["status"] = static_cast<unsigned>(status);
  inhalt["detail"] = detail;
  bericht.status = static_cast<unsigned>(status);
  return antwort(status, "application/problem+json", alsJsonText(inhalt, -1) + "\n", version);
}

void machFertig(Antwort& antwort, const Anfragebericht& bericht, bool danachSchliessen) {
  antwort.set("X-Request-Id", bericht.id);
  if (danachSchliessen) {
    antwort.keep_alive(false);
  }
  // The answer to HEAD has the head of the answer to GET, and no body; made ready once more
  // (as the server does after the handling), it keeps the length of that body.
  if (bericht.methode != "HEAD") {
    antwort.prepare_payload();
  } else if (!antwort.body().empty()) {
    antwort.prepare_payload();
    antwort.body().clear();
  }
}

Antwort lesefehler(const boost::system::error_code& fehler, Anfragebericht& bericht) {
  if (fehler == http::error::header_limit) {
    bericht.abweisung = Abweisung::kopfZuGross;
    return problem(http::status::request_header_fields_too_large,
                   "Die Kopfzeilen der Anfrage sind groesser als erlaubt", 11, bericht);
  }
  if (fehler == http::error::body_limit) {
    bericht.abweisung = Abweisung::nachrichtZuGross;
    return problem(http::status::payload_too_large, "Die Nachricht ist groesser als erlaubt", 11,
                   bericht);
  }
  return problem(http::status::bad_request, "Die Anfrage ist kein gueltiges HTTP/1.1", 11, bericht);
}

Anfragebearbeitung::Anfragebearbeitung(const KonfigurationsHalter& halter, const Metriken& metriken,
                                       const Grenzen& limits)
    : konfigurationen(halter), zaehler(metriken), grenzen(limits) {
  std::random_device zufall;
  idStart = (std::uint64_t{zufall()} << 32) ^ zufall();
}

std::string Anfragebearbeitung::waehleId(std::string_view vomClient) const {
  const bool brauchbar =
      !vomClient.empty() && vomClient.size() <= MAX_ID &&
      std::all_of(vomClient.begin(), vomClient.end(), [](char c) { return c > ' ' && c < 0x7F; });
  if (brauchbar) {
    return std::string(vomClient);
  }
  std::array<char, 40> puffer{};
  const unsigned long long nummer = idZaehler.fetch_add(1, std::memory_order_relaxed) + 1;
  const int n = std::snprintf(puffer.data(), puffer.size(), "%016llx-%llu",
                              static_cast<unsigned long long>(idStart), nummer);
  return std::string(puffer.data(), static_cast<std::size_t>(n));
}

void Anfragebearbeitung::stelleEin(Anfrageleser& leser) const {
  leser.header_limit(grenzen.maxKopf);
  leser.body_limit(grenzen.maxBytes);
}

std::optional<Antwort> Anfragebearbeitung::pruefeKopf(const Anfrageleser& leser,
                                                      Anfragebericht& bericht) const {
  const auto& kopf = leser.get();
  beschreibe(kopf, bericht);
  const auto laenge = leser.content_length();
  if (laenge && *laenge > grenzen.maxBytes) {
    bericht.abweisung = Abweisung::nachrichtZuGross;
    return problem(http::status::payload_too_large,
                   "Die Nachricht hat " + std::to_string(*laenge) + " Bytes, erlaubt sind " +
                       std::to_string(grenzen.maxBytes),
                   kopf.version(), bericht);
  }
  if (kopf.method() == http::verb::post && !laenge && !leser.chunked()) {
    bericht.abweisung = Abweisung::ohneLaenge;
    return problem(http::status::length_required,
                   "Eine Nachricht braucht Content-Length oder Transfer-Encoding: chunked",
                   kopf.version(), bericht);
  }
  return std::nullopt;
}

Antwort Anfragebearbeitung::beantworte(const Anfrage& anfrage, Anfragebericht& bericht) const {
  beschreibe(anfrage, bericht);
  bericht.bytes = anfrage.body().size();
  Antwort a;
  try {
    a = leite(anfrage, bericht);
  } catch (const std::exception& e) {
    bericht.ergebnis.reset();
    bericht.grund = e.what();
    a = problem(http::status::internal_server_error, "Die Anfrage konnte nicht beantwortet werden",
                anfrage.version(), bericht);
  }
  bericht.status = a.result_int();
  a.keep_alive(anfrage.keep_alive());
  machFertig(a, bericht, false);
  return a;
}

const std::vector<Anfragebearbeitung::Weg>& Anfragebearbeitung::wege() {
  using A = Anfragebearbeitung;
  static const std::vector<Weg> tabelle{
      {"/pruefen", http::verb::post, &A::pruefen}, {"/zeigen", http::verb::post, &A::zeigen},
      {"/gesund", http::verb::get, &A::gesund},    {"/bereit", http::verb::get, &A::bereit},
      {"/version", http::verb::get, &A::version},  {"/metriken", http::verb::get, &A::metriken},
      {"/", http::verb::get, &A::seite},           {"/seite.css", http::verb::get, &A::seite},
      {"/seite.js", http::verb::get, &A::seite},
  };
  return tabelle;
}

Antwort Anfragebearbeitung::leite(const Anfrage& anfrage, Anfragebericht& bericht) const {
  const std::string_view ziel = anfrage.target();
  const std::string_view pfad = pfadVon(ziel);
  const std::string_view abfrage = ziel.substr(std::min(pfad.size() + 1, ziel.size()));
  std::string erlaubt;
  // HEAD is answered as GET is; the body is left out when the answer is made ready.
  const http::verb methode =
      anfrage.method() == http::verb::head ? http::verb::get : anfrage.method();
  for (const Weg& weg : wege()) {
    if (weg.pfad != pfad) {
      continue;
    }
    if (weg.methode == methode) {
      return (this->*weg.bearbeite)(anfrage, abfrage, bericht);
    }
    erlaubt += std::string(erlaubt.empty() ? "" : ", ") + std::string(http::to_string(weg.methode));
    if (weg.methode == http::verb::get) {
      erlaubt += ", HEAD";
    }
  }
  if (erlaubt.empty()) {
    return problem(http::status::not_found, "Diesen Pfad gibt es nicht", anfrage.version(),
                   bericht);
  }
  Antwort a = problem(http::status::method_not_allowed, "Dieser Pfad nimmt nur " + erlaubt + " an",
                      anfrage.version(), bericht);
  a.set(http::field::allow, erlaubt);
  return a;
}

// The answer of a check of the request's body under the name its query gives: `bericht` gets
// the verdict `pruefe` reports, the body the JSON `pruefe` writes. Holds the configuration it
// began with to its end.
template <class Pruefung>
Antwort Anfragebearbeitung::mitNachricht(const Anfrage& anfrage, std::string_view abfrage,
                                         Anfragebericht& bericht, Pruefung pruefe) const {
  std::optional<std::string> name = parameter(abfrage, "name");
  if (!name) {
    return problem(http::status::bad_request, "Der Parameter name ist nicht richtig kodiert",
                   anfrage.version(), bericht);
  }
  const auto stand = konfigurationen.aktuell();
  auto [art, json] = pruefe(*stand->konfiguration, bytesVon(anfrage.body()), std::move(*name));
  bericht.ergebnis = art;
  Antwort a = antwort(http::status::ok, JSON, std::move(json), anfrage.version());
  a.set(http::field::cache_control, "no-store");
  return a;
}

Antwort Anfragebearbeitung::pruefen(const Anfrage& anfrage, std::string_view abfrage,
                                    Anfragebericht& bericht) const {
  return mitNachricht(anfrage, abfrage, bericht,
                      [](const Konfiguration& k, std::span<const unsigned char> b, std::string n) {
                        const NachrichtenErgebnis ergebnis = pruefeBytes(k, b, std::move(n));
                        return std::pair{ergebnis.art, alsJsonZeile(ergebnis) + '\n'};
                      });
}

Antwort Anfragebearbeitung::zeigen(const Anfrage& anfrage, std::string_view abfrage,
                                   Anfragebericht& bericht) const {
  return mitNachricht(
      anfrage, abfrage, bericht,
      [](const Konfiguration& k, std::span<const unsigned char> b, std::string n) {
        const Nachrichtenansicht ansicht = zeigeBytes(k, b, std::move(n));
        return std::pair{ansicht.ergebnis.art, alsJsonText(alsJson(ansicht), 2) + '\n'};
      });
}

Antwort Anfragebearbeitung::gesund(const Anfrage& anfrage, std::string_view,
                                   Anfragebericht&) const {
  return antwort(http::status::ok, JSON, "{\"status\":\"gesund\"}\n", anfrage.version());
}

Antwort Anfragebearbeitung::bereit(const Anfrage& anfrage, std::string_view,
                                   Anfragebericht&) const {
  const auto stand = konfigurationen.aktuell();
  Json inhalt;
  inhalt["status"] = "bereit";
  inhalt["konfiguration"]["stand"] = stand->stand;
  inhalt["konfiguration"]["geladen"] = stand->geladen;
  return antwort(http::status::ok, JSON, inhalt.dump() + "\n", anfrage.version());
}

Antwort Anfragebearbeitung::version(const Anfrage& anfrage, std::string_view,
                                    Anfragebericht&) const {
  return antwort(http::status::ok, JSON, "{\"name\":\"vesk\",\"version\":\"" VESK_VERSION "\"}\n",
                 anfrage.version());
}

Antwort Anfragebearbeitung::metriken(const Anfrage& anfrage, std::string_view,
                                     Anfragebericht&) const {
  return antwort(http::status::ok, "text/plain; version=0.0.4; charset=utf-8", zaehler.alsText(),
                 anfrage.version());
}

Antwort Anfragebearbeitung::seite(const Anfrage& anfrage, std::string_view,
                                  Anfragebericht& bericht) const {
  const std::string_view pfad = pfadVon(anfrage.target());
  for (const SeitenDatei& datei : seitenDateien()) {
    if (datei.pfad == pfad) {
      Antwort a =
          antwort(http::status::ok, datei.typ, std::string(datei.inhalt), anfrage.version());
      a.set("Content-Security-Policy", SICHERHEITSREGELN);
      a.set("X-Content-Type-Options", "nosniff");
      a.set(http::field::cache_control, "no-cache");
      return a;
    }
  }
  return problem(http::status::not_found, "Diesen Pfad gibt es nicht", anfrage.version(), bericht);
}

std::vector<Antwort> Anfragebearbeitung::beantworteRoh(std::string_view bytes) const {
  std::vector<Antwort> antworten;
  while (!bytes.empty()) {
    Anfrageleser leser;
    stelleEin(leser);
    Anfragebericht bericht;
    bericht.id = waehleId("");
    boost::system::error_code fehler;
    bool kopfGeprueft = false;
    while (!leser.is_done()) {
      const std::size_t gelesen =
          leser.put(boost::asio::buffer(bytes.data(), bytes.size()), fehler);
      bytes.remove_prefix(gelesen);
      if (fehler == http::error::need_more || (!fehler && gelesen == 0 && !leser.is_done())) {
        return antworten;  // cut short: the deadline ends it
      }
      if (fehler) {
        antworten.push_back(lesefehler(fehler, bericht));
        machFertig(antworten.back(), bericht, true);
        return antworten;
      }
      if (leser.is_header_done() && !kopfGeprueft) {
        kopfGeprueft = true;
        if (auto abweisung = pruefeKopf(leser, bericht)) {
          antworten.push_back(std::move(*abweisung));
          machFertig(antworten.back(), bericht, true);
          return antworten;
        }
      }
    }
    bericht.id = waehleId(leser.get()["X-Request-Id"]);
    Antwort a = beantworte(leser.get(), bericht);
    const bool weiter = a.keep_alive();
    antworten.push_back(std::move(a));
    if (!weiter) {
      break;
    }
  }
  return antworten;
}

}  // namespace vesk::dienst
