#pragma once
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>

#include "dienst/Anfragebearbeitung.h"
#include "dienst/Dienst.h"
#include "dienst/Dienstprotokoll.h"
#include "dienst/Grenzen.h"
#include "dienst/KonfigurationsHalter.h"
#include "dienst/Metriken.h"

namespace vesk::test {

// The example configuration loaded as the service holds it, with the current folder at the
// examples (their file names are relative), metrics and a log into a string.
class Dienstumgebung {
 public:
  explicit Dienstumgebung(dienst::Grenzen grenzen = {});
  ~Dienstumgebung();

  dienst::Grenzen grenzen;
  std::unique_ptr<dienst::KonfigurationsHalter> konfigurationen;
  dienst::Metriken metriken;
  std::ostringstream log;
  dienst::Dienstprotokoll protokoll{log};

 private:
  std::filesystem::path vorher;
};

// A real server of `umgebung` on a free port of 127.0.0.1, served by a thread of its own until
// the object ends (or stoppe was called and it has finished).
class LaufenderDienst {
 public:
  explicit LaufenderDienst(Dienstumgebung& umgebung);
  ~LaufenderDienst();

  [[nodiscard]] unsigned short port() const { return portNummer; }
  dienst::Dienst& dienst() { return *server; }
  // Stops the server and waits until it has finished.
  void stoppeUndWarte();

 private:
  std::unique_ptr<dienst::Dienst> server;
  unsigned short portNummer = 0;
  std::thread faden;
};

// A client connection that sends raw bytes and reads answers, with a deadline on every read.
class TestClient {
 public:
  explicit TestClient(unsigned short port);

  void sende(std::string_view bytes);
  // The next answer; absent when the connection ended or nothing came within `frist`.
  // With `aufHead`, the answer to a HEAD request: a head whose length names no body that follows.
  std::optional<dienst::Antwort> lies(std::chrono::milliseconds frist = std::chrono::seconds(10),
                                      bool aufHead = false);
  // True when the server closed the connection (reading gives end of file or a reset) within
  // `frist`; what it sent before is dropped.
  bool wirdGeschlossen(std::chrono::milliseconds frist = std::chrono::seconds(10));

 private:
  bool warteLesbar(std::chrono::milliseconds frist);

  boost::asio::io_context io;
  boost::asio::ip::tcp::socket socket{io};
  boost::beast::flat_buffer puffer;
};

// A request as raw bytes: `methode` `ziel` HTTP/1.1 with Host, the extra header lines `kopf`
// (each ending in CR LF) and `body` with its Content-Length when `mitLaenge`.
std::string anfrage(std::string_view methode, std::string_view ziel, std::string_view body = "",
                    std::string_view kopf = "", bool mitLaenge = true);

}  // namespace vesk::test
