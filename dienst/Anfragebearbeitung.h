#pragma once
#include <atomic>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/system/error_code.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dienst/Anfragebericht.h"
#include "dienst/Grenzen.h"

namespace vesk::dienst {

class KonfigurationsHalter;
class Metriken;

namespace http = boost::beast::http;
using Anfrage = http::request<http::string_body>;
using Antwort = http::response<http::string_body>;
using Anfrageleser = http::request_parser<http::string_body>;

// What the service answers, without any socket: a complete request in, its answer out. The
// server calls it for every request it has read; the tests and the fuzz target call it directly.
// Never reads or writes a file: a message is checked from the bytes it was sent, with the
// configuration the service was started or last reloaded with.
class Anfragebearbeitung {
 public:
  // All three outlive this object.
  Anfragebearbeitung(const KonfigurationsHalter& konfigurationen, const Metriken& metriken,
                     const Grenzen& grenzen);

  // The answer to `anfrage`; fills `bericht` (methode, pfad, status, bytes, ergebnis). Every
  // answer carries bericht.id as X-Request-Id, which must be set.
  [[nodiscard]] Antwort beantworte(const Anfrage& anfrage, Anfragebericht& bericht) const;

  // Once the header of a request is read: the refusal it earns before its body is read (a body
  // over the limit, a POST without length), or nothing. Fills `bericht` for a refusal.
  [[nodiscard]] std::optional<Antwort> pruefeKopf(const Anfrageleser& leser,
                                                  Anfragebericht& bericht) const;
  // A reader for the next request, with the header and body limits set.
  void stelleEin(Anfrageleser& leser) const;

  // The id of a request: the client's X-Request-Id when it is 1 to 128 printable ASCII
  // characters, else a new one, unique in this process.
  [[nodiscard]] std::string waehleId(std::string_view vomClient) const;

  // Answers every request in `bytes` as the server does on one connection, without a socket;
  // a request cut short at the end gets no answer, as the server's deadline would end it.
  [[nodiscard]] std::vector<Antwort> beantworteRoh(std::string_view bytes) const;

 private:
  using Bearbeitung = Antwort (Anfragebearbeitung::*)(const Anfrage&, std::string_view abfrage,
                                                      Anfragebericht&) const;
  struct Weg {
    std::string_view pfad;
    http::verb methode;
    Bearbeitung bearbeite;
  };

  Antwort leite(const Anfrage& anfrage, Anfragebericht& bericht) const;
  template <class Pruefung>
  Antwort mitNachricht(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht,
                       Pruefung pruefe) const;
  Antwort pruefen(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort zeigen(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort gesund(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort bereit(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort version(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort metriken(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;
  Antwort seite(const Anfrage& anfrage, std::string_view abfrage, Anfragebericht& bericht) const;

  static const std::vector<Weg>& wege();

  const KonfigurationsHalter& konfigurationen;
  const Metriken& zaehler;
  const Grenzen& grenzen;
  std::uint64_t idStart;  // random, so that ids of two runs differ
  mutable std::atomic<std::uint64_t> idZaehler{0};
};

// An answer in the problem format (application/problem+json) with the German title of `status`
// and `detail`, for HTTP version `version`; sets bericht.status.
[[nodiscard]] Antwort problem(http::status status, std::string_view detail, unsigned version,
                              Anfragebericht& bericht);
// Makes `antwort` ready to send: the request's id as X-Request-Id, the connection's end when
// `danachSchliessen`, the body's length.
void machFertig(Antwort& antwort, const Anfragebericht& bericht, bool danachSchliessen);
// The answer to a request that could not be read for `fehler` (a header or body over its limit,
// a malformed request); fills `bericht`. The connection ends after it.
[[nodiscard]] Antwort lesefehler(const boost::system::error_code& fehler, Anfragebericht& bericht);

}  // namespace vesk::dienst
