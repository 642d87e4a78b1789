#pragma once
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "dienst/Anfragebearbeitung.h"

namespace vesk::dienst {

class Arbeiterpool;
class Dienstprotokoll;
class Metriken;

// What every connection of a server shares; all of it outlives the connections.
struct Verbindungsumgebung {
  boost::asio::io_context& io;  // run by one thread, on which every connection's steps run
  const Grenzen& grenzen;
  const Anfragebearbeitung& bearbeitung;
  Arbeiterpool& arbeiter;
  Metriken& metriken;
  Dienstprotokoll& protokoll;
  bool& stoppt;  // set once the server stops: no connection is kept open after its answer
  std::function<void(bool auf)> melde;  // a connection opens (true) or closes (false)
  // Bytes that large bodies have been given in advance, for all connections; at most four
  // times the body limit, so that headers alone cannot make the service hold much.
  std::uint64_t vorab = 0;
};

// One client connection: reads requests one after another under deadlines, has each checked by a
// worker, writes the answers, and closes when the client or a limit says so. Lives as long as an
// operation of its own is pending; every step runs on the I/O thread.
class Verbindung : public std::enable_shared_from_this<Verbindung> {
 public:
  Verbindung(boost::asio::ip::tcp::socket socket, Verbindungsumgebung& umgebung);
  ~Verbindung();
  Verbindung(const Verbindung&) = delete;
  Verbindung& operator=(const Verbindung&) = delete;

  // Waits for the first request.
  void beginne();
  // Answers 503 without reading and closes: the server has too many connections.
  void weiseAb();
  // Closes the connection if it is waiting for a next request; one that is reading or being
  // answered finishes its request and closes after the answer.
  void beendeWennUntaetig();

 private:
  enum class Zustand { wartet, liest, arbeitet, schreibt, schliesst };
  using Uhr = std::chrono::steady_clock;

  void warteAufAnfrage(std::chrono::milliseconds frist);
  void leseKopf();
  void kopfGelesen();
  void leseRumpf();
  void leseGrossenRumpf(std::size_t laenge);
  // Gives the body room for the next read; false after a refusal for want of memory.
  bool wachse(std::size_t gelesen, std::size_t laenge);
  void leseWeiter(std::size_t gelesen, std::size_t laenge);
  void gibVorabZurueck();
  void bearbeite();
  void pruefe();
  void behandleLesefehler(const boost::system::error_code& fehler);
  void sende(Antwort antwort, bool danachSchliessen);
  void gesendet(const boost::system::error_code& fehler);
  void schliesseSanft();
  void leseNach();
  void schliesse();
  void setzeFrist(std::chrono::milliseconds frist);
  void loescheFrist();

  boost::asio::ip::tcp::socket socket;
  boost::asio::steady_timer uhr;
  Verbindungsumgebung& umgebung;
  boost::beast::flat_buffer puffer;
  std::optional<Anfrageleser> leser;
  std::optional<Anfrage> anfrage;
  std::optional<Antwort> antwort;
  Anfragebericht bericht;
  Uhr::time_point beginn;
  Zustand zustand = Zustand::wartet;
  unsigned fristNummer = 0;  // tells a deadline that was replaced from the current one
  bool fristVorbei = false;
  std::uint64_t vorabGenommen = 0;  // of umgebung.vorab, while this connection's body arrives
};

}  // namespace vesk::dienst
