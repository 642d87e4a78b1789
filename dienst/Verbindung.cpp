#include "dienst/Verbindung.h"

#include <algorithm>
#include <array>
#include <boost/asio/buffer.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>
#include <new>
#include <utility>

#include "dienst/Arbeiterpool.h"
#include "dienst/Dienstprotokoll.h"
#include "dienst/Metriken.h"

namespace vesk::dienst {

namespace {

namespace asio = boost::asio;
using boost::system::error_code;

constexpr std::size_t ERSTER_LESEBLOCK = 4096;
constexpr std::size_t LESEBLOCK = 64 * 1024;         // what the buffer holds beyond the header
constexpr std::chrono::milliseconds NACHLAUF{1000};  // reading what a client still sends at close
constexpr std::string_view WEITER = "HTTP/1.1 100 Continue\r\n\r\n";

// The answer 503 with Retry-After: the service cannot take the request now, for `grund`.
Antwort spaeterNochmal(std::string_view detail, unsigned version, Abweisung grund,
                       Anfragebericht& bericht) {
  bericht.abweisung = grund;
  Antwort a = problem(http::status::service_unavailable, detail, version, bericht);
  a.set(http::field::retry_after, "1");
  return a;
}

bool verlangtWeiter(const Anfrageleser& leser) {
  const auto erwartung = leser.get()[http::field::expect];
  return leser.get().version() >= 11 && erwartung.size() == 12 &&
         boost::beast::iequals(erwartung, "100-continue");
}

}  // namespace

Verbindung::Verbindung(asio::ip::tcp::socket angenommen, Verbindungsumgebung& geteilt)
    : socket(std::move(angenommen)),
      uhr(geteilt.io),
      umgebung(geteilt),
      puffer(geteilt.grenzen.maxKopf + LESEBLOCK) {
  umgebung.metriken.verbindungAuf();
  umgebung.melde(true);
}

Verbindung::~Verbindung() {
  gibVorabZurueck();
  umgebung.metriken.verbindungZu();
  umgebung.melde(false);
}

void Verbindung::beginne() {
  warteAufAnfrage(umgebung.grenzen.lesefrist);
}

void Verbindung::weiseAb() {
  bericht.id = umgebung.bearbeitung.waehleId("");
  beginn = Uhr::now();
  sende(spaeterNochmal("Der Dienst hat so viele Verbindungen offen, wie er darf", 11,
                       Abweisung::verbindungen, bericht),
        true);
}

void Verbindung::beendeWennUntaetig() {
  if (zustand == Zustand::wartet) {
    schliesse();
  }
}

void Verbindung::setzeFrist(std::chrono::milliseconds frist) {
  const unsigned nummer = ++fristNummer;
  fristVorbei = false;
  uhr.expires_after(frist);
  uhr.async_wait([self = shared_from_this(), nummer](const error_code& fehler) {
    if (fehler || nummer != self->fristNummer) {
      return;
    }
    self->fristVorbei = true;
    error_code egal;
    self->socket.cancel(egal);
  });
}

void Verbindung::loescheFrist() {
  ++fristNummer;
  uhr.cancel();
}

void Verbindung::warteAufAnfrage(std::chrono::milliseconds frist) {
  zustand = Zustand::wartet;
  if (umgebung.stoppt) {
    schliesseSanft();  // the client may have sent more, which must not reset the answer
    return;
  }
  if (puffer.size() > 0) {  // the client sent its next request with the last one
    leseKopf();
    return;
  }
  setzeFrist(frist);
  socket.async_read_some(puffer.prepare(ERSTER_LESEBLOCK),
                         [self = shared_from_this()](const error_code& fehler, std::size_t n) {
                           self->puffer.commit(n);
                           if (fehler || n == 0) {
                             self->schliesse();  // the client left, or stayed idle too long
                             return;
                           }
                           self->leseKopf();
                         });
}

void Verbindung::leseKopf() {
  zustand = Zustand::liest;
  beginn = Uhr::now();
  bericht = Anfragebericht{};
  leser.emplace();
  umgebung.bearbeitung.stelleEin(*leser);
  setzeFrist(umgebung.grenzen.lesefrist);
  http::async_read_header(socket, puffer, *leser,
                          [self = shared_from_this()](const error_code& fehler, std::size_t) {
                            if (fehler) {
                              self->behandleLesefehler(fehler);
                            } else {
                              self->kopfGelesen();
                            }
                          });
}

void Verbindung::kopfGelesen() {
  bericht.id = umgebung.bearbeitung.waehleId(leser->get()["X-Request-Id"]);
  if (auto abweisung = umgebung.bearbeitung.pruefeKopf(*leser, bericht)) {
    sende(std::move(*abweisung), true);
    return;
  }
  if (!verlangtWeiter(*leser) || leser->is_done()) {
    leseRumpf();
    return;
  }
  asio::async_write(socket, asio::buffer(WEITER.data(), WEITER.size()),
                    [self = shared_from_this()](const error_code& fehler, std::size_t) {
                      if (fehler) {
                        self->schliesse();
                      } else {
                        self->leseRumpf();
                      }
                    });
}

void Verbindung::leseRumpf() {
  const auto laenge = leser->content_length();
  if (!leser->is_done() && laenge && *laenge > LESEBLOCK) {
    leseGrossenRumpf(static_cast<std::size_t>(*laenge));
    return;
  }
  http::async_read(socket, puffer, *leser,
                   [self = shared_from_this()](const error_code& fehler, std::size_t) {
                     if (fehler) {
                       self->behandleLesefehler(fehler);
                     } else {
                       self->bearbeite();
                     }
                   });
}

void Verbindung::leseGrossenRumpf(std::size_t laenge) {
  // A large body of known length goes straight into the request, in reads as large as the
  // socket allows, instead of through the buffer and the parser 64 KiB at a time. Its length was
  // checked against the limit with the header.
  anfrage.emplace(leser->release());
  leser.reset();
  const std::size_t vorhanden = std::min(puffer.size(), laenge);
  // While the advance for all large bodies stays within its bound, the body gets its whole
  // length at once: growing it step by step costs more than its check.
  if (umgebung.vorab + laenge <= 4 * umgebung.grenzen.maxBytes) {
    umgebung.vorab += laenge;
    vorabGenommen = laenge;
  }
  if (!wachse(vorabGenommen > 0 ? laenge : vorhanden, laenge)) {
    return;
  }
  asio::buffer_copy(asio::buffer(anfrage->body().data(), vorhanden), puffer.data());
  puffer.consume(vorhanden);
  leseWeiter(vorhanden, laenge);
}

bool Verbindung::wachse(std::size_t gelesen, std::size_t laenge) {
  std::string& rumpf = anfrage->body();
  const std::size_t ziel =
      gelesen == laenge ? laenge : std::min(laenge, gelesen + std::max(gelesen, LESEBLOCK));
  if (rumpf.size() >= ziel) {
    return true;
  }
  try {
    rumpf.resize(ziel);
    return true;
  } catch (const std::bad_alloc&) {
    sende(spaeterNochmal("Der Dienst hat keinen Speicher fuer diese Nachricht", 11,
                         Abweisung::ausgelastet, bericht),
          true);
    return false;
  }
}

void Verbindung::gibVorabZurueck() {
  umgebung.vorab -= vorabGenommen;
  vorabGenommen = 0;
}

void Verbindung::leseWeiter(std::size_t gelesen, std::size_t laenge) {
  if (gelesen == laenge) {
    gibVorabZurueck();
    pruefe();
    return;
  }
  if (!wachse(gelesen, laenge)) {
    return;
  }
  std::string& rumpf = anfrage->body();
  socket.async_read_some(
      asio::buffer(rumpf.data() + gelesen, rumpf.size() - gelesen),
      [self = shared_from_this(), gelesen, laenge](const error_code& fehler, std::size_t n) {
        if (fehler) {
          self->behandleLesefehler(fehler);
        } else {
          self->leseWeiter(gelesen + n, laenge);
        }
      });
}

void Verbindung::behandleLesefehler(const error_code& fehler) {
  if (bericht.id.empty()) {
    bericht.id = umgebung.bearbeitung.waehleId("");
  }
  if (fristVorbei) {
    bericht.abweisung = Abweisung::zeitueberschreitung;
    sende(problem(http::status::request_timeout,
                  "Die Anfrage kam nicht innerhalb der Lesefrist vollstaendig an", 11, bericht),
          true);
  } else if (fehler.category() == http::make_error_code(http::error::header_limit).category() &&
             fehler != http::error::end_of_stream && fehler != http::error::partial_message) {
    sende(lesefehler(fehler, bericht), true);
  } else {
    schliesse();  // the client left in the middle of its request
  }
}

void Verbindung::bearbeite() {
  anfrage.emplace(leser->release());
  leser.reset();
  pruefe();
}

void Verbindung::pruefe() {
  zustand = Zustand::arbeitet;
  loescheFrist();
  if (anfrage->body().size() <= umgebung.grenzen.sofortBis) {
    sende(umgebung.bearbeitung.beantworte(*anfrage, bericht), false);
    return;
  }
  Arbeiterpool::Aufgabe aufgabe = [self = shared_from_this()]() mutable {
    Antwort a = self->umgebung.bearbeitung.beantworte(*self->anfrage, self->bericht);
    return [self = std::move(self), a = std::move(a)]() mutable {
      asio::io_context& io = self->umgebung.io;
      asio::post(io, [self = std::move(self), a = std::move(a)]() mutable {
        self->sende(std::move(a), false);
      });
    };
  };
  if (!umgebung.arbeiter.versuche(aufgabe)) {
    bericht.bytes = anfrage->body().size();  // method and path were noted with the header
    Antwort a = spaeterNochmal("Alle Pruefer und die Warteschlange sind belegt", anfrage->version(),
                               Abweisung::ausgelastet, bericht);
    a.keep_alive(anfrage->keep_alive());
    sende(std::move(a), false);
  }
}

void Verbindung::sende(Antwort a, bool danachSchliessen) {
  zustand = Zustand::schreibt;
  anfrage.reset();
  machFertig(a, bericht, danachSchliessen || umgebung.stoppt);
  antwort.emplace(std::move(a));
  setzeFrist(umgebung.grenzen.lesefrist);
  http::async_write(socket, *antwort,
                    [self = shared_from_this()](const error_code& fehler, std::size_t) {
                      self->gesendet(fehler);
                    });
}

void Verbindung::gesendet(const error_code& fehler) {
  bericht.status = antwort->result_int();
  if (fehler) {
    bericht.grund = "Antwort nicht gesendet: " + fehler.message();
  }
  bericht.millisekunden = std::chrono::duration<double, std::milli>(Uhr::now() - beginn).count();
  umgebung.metriken.zaehle(bericht);
  umgebung.protokoll.anfrage(bericht);
  const bool weiter = !fehler && antwort->keep_alive();
  antwort.reset();
  if (fehler) {
    schliesse();
  } else if (!weiter) {
    schliesseSanft();
  } else {
    warteAufAnfrage(umgebung.grenzen.leerlauf);
  }
}

void Verbindung::schliesseSanft() {
  // Closing with unread bytes would reset the connection and could destroy the answer before
  // the client read it: the sending side is shut, and what the client still sends is read and
  // dropped for a moment.
  zustand = Zustand::schliesst;
  error_code egal;
  socket.shutdown(asio::ip::tcp::socket::shutdown_send, egal);
  setzeFrist(NACHLAUF);
  leseNach();
}

void Verbindung::leseNach() {
  puffer.consume(puffer.size());
  socket.async_read_some(puffer.prepare(ERSTER_LESEBLOCK),
                         [self = shared_from_this()](const error_code& fehler, std::size_t) {
                           if (fehler) {
                             self->schliesse();
                           } else {
                             self->leseNach();
                           }
                         });
}

void Verbindung::schliesse() {
  zustand = Zustand::schliesst;
  loescheFrist();
  error_code egal;
  socket.shutdown(asio::ip::tcp::socket::shutdown_both, egal);
  socket.close(egal);
}

}  // namespace vesk::dienst
