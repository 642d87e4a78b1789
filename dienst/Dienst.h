#pragma once
#include <atomic>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dienst/Anfragebearbeitung.h"
#include "dienst/Arbeiterpool.h"
#include "dienst/Grenzen.h"
#include "dienst/Verbindung.h"

namespace vesk::dienst {

class Dienstprotokoll;
class KonfigurationsHalter;
class Metriken;

// The HTTP service: accepts connections on one address, reads their requests on one I/O thread
// and has a fixed pool of workers answer them. The only code that knows sockets; what a request
// gets is Anfragebearbeitung's.
class Dienst {
 public:
  // Everything given outlives the service.
  Dienst(const Grenzen& grenzen, KonfigurationsHalter& konfigurationen, Metriken& metriken,
         Dienstprotokoll& protokoll);
  ~Dienst();
  Dienst(const Dienst&) = delete;
  Dienst& operator=(const Dienst&) = delete;

  // Listens on `adresse`:`port` (0: a free port) and returns the port. Throws
  // boost::system::system_error when the address cannot be used.
  unsigned short binde(const std::string& adresse, unsigned short port);
  // From now on SIGTERM and SIGINT stop the service and SIGHUP reloads the configuration, once
  // laufe runs; until the service ends, none of them ends the process by its default action.
  void fangeSignale();
  // Serves on the calling thread until a stop has finished.
  void laufe();
  // Stops from any thread: no new connections, idle ones closed, requests in flight answered
  // within the stop deadline, then laufe returns.
  void stoppe();

  // The workers, for a test that occupies them.
  Arbeiterpool& arbeiterpoolFuerTests() { return arbeiter; }

 private:
#ifdef _WIN32
  void warteAufSignal();  // Asio's signal set, where no thread can wait for signals
#endif
  void nimmSignal(int signal);
  void nimmAn();
  void beginneStop();
  void ladeNeu();
  void melde(bool auf);

  // The order of the members is the order of their end: the workers finish before the I/O
  // context, whose destruction may still end connections, which report to what is declared
  // before it.
  Grenzen grenzen;
  KonfigurationsHalter& konfigurationen;
  Metriken& metriken;
  Dienstprotokoll& protokoll;
  bool stoppt = false;
  bool aufgeloest = false;  // set by the destructor: nothing is left to tell of a close
  std::size_t offen = 0;    // open connections, counted on the I/O thread
  std::vector<std::weak_ptr<Verbindung>> verbindungen;  // for the stop; pruned now and then
  Anfragebearbeitung bearbeitung;
  Verbindungsumgebung umgebung;  // refers to the I/O context and the workers below
  boost::asio::io_context io{1};
  boost::asio::ip::tcp::acceptor annahme{io};
  boost::asio::steady_timer stopUhr{io};
  boost::asio::steady_timer annahmePause{io};
  std::optional<boost::asio::signal_set> signale;  // Windows: how signals are caught there
  Arbeiterpool arbeiter;
  std::thread ladeFaden;
  std::thread signalFaden;  // POSIX: waits for the signals
  std::atomic<bool> signaleEnden{false};
  std::atomic<bool> laedt{false};
};

}  // namespace vesk::dienst
