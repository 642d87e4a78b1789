#include "tests/support/Dienstumgebung.h"

#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/http/read.hpp>
#include <filesystem>
#include <stdexcept>

#include "driver/Konfiguration.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <poll.h>
#endif

namespace vesk::test {

namespace asio = boost::asio;
namespace http = boost::beast::http;

Dienstumgebung::Dienstumgebung(dienst::Grenzen limits)
    : grenzen(limits), vorher(std::filesystem::current_path()) {
  std::filesystem::current_path(std::filesystem::path(VESK_QUELLEN) / "examples");
  konfigurationen = std::make_unique<dienst::KonfigurationsHalter>(
      "plausi.ini", Konfiguration::lade("plausi.ini"));
}

Dienstumgebung::~Dienstumgebung() {
  std::filesystem::current_path(vorher);
}

LaufenderDienst::LaufenderDienst(Dienstumgebung& umgebung)
    : server(std::make_unique<dienst::Dienst>(umgebung.grenzen, *umgebung.konfigurationen,
                                              umgebung.metriken, umgebung.protokoll)) {
  portNummer = server->binde("127.0.0.1", 0);
  faden = std::thread([this] { server->laufe(); });
}

LaufenderDienst::~LaufenderDienst() {
  stoppeUndWarte();
}

void LaufenderDienst::stoppeUndWarte() {
  if (faden.joinable()) {
    server->stoppe();
    faden.join();
  }
}

TestClient::TestClient(unsigned short port) {
  socket.connect(asio::ip::tcp::endpoint(asio::ip::make_address("127.0.0.1"), port));
}

void TestClient::sende(std::string_view bytes) {
  asio::write(socket, asio::buffer(bytes.data(), bytes.size()));
}

bool TestClient::warteLesbar(std::chrono::milliseconds frist) {
#ifdef _WIN32
  WSAPOLLFD eintrag{socket.native_handle(), POLLRDNORM, 0};
  return WSAPoll(&eintrag, 1, static_cast<INT>(frist.count())) > 0;
#else
  pollfd eintrag{socket.native_handle(), POLLIN, 0};
  return ::poll(&eintrag, 1, static_cast<int>(frist.count())) > 0;
#endif
}

std::optional<dienst::Antwort> TestClient::lies(std::chrono::milliseconds frist, bool aufHead) {
  http::response_parser<http::string_body> leser;
  leser.skip(aufHead);
  leser.body_limit(std::uint64_t{1} << 30);
  const auto ende = std::chrono::steady_clock::now() + frist;
  boost::system::error_code fehler;
  while (!leser.is_done()) {
    if (puffer.size() > 0) {
      const std::size_t genommen = leser.put(puffer.data(), fehler);
      puffer.consume(genommen);
      if (fehler && fehler != http::error::need_more) {
        return std::nullopt;
      }
      if (leser.is_done()) {
        break;
      }
      if (genommen > 0 && !fehler) {
        continue;
      }
      fehler = {};
    }
    const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(
        ende - std::chrono::steady_clock::now());
    if (rest.count() <= 0 || !warteLesbar(rest)) {
      return std::nullopt;
    }
    puffer.commit(socket.read_some(puffer.prepare(65536), fehler));
    if (fehler) {
      return std::nullopt;
    }
  }
  return leser.release();
}

bool TestClient::wirdGeschlossen(std::chrono::milliseconds frist) {
  const auto ende = std::chrono::steady_clock::now() + frist;
  for (;;) {
    const auto rest = std::chrono::duration_cast<std::chrono::milliseconds>(
        ende - std::chrono::steady_clock::now());
    if (rest.count() <= 0 || !warteLesbar(rest)) {
      return false;
    }
    std::array<char, 4096> muell{};
    boost::system::error_code fehler;
    socket.read_some(asio::buffer(muell), fehler);
    if (fehler) {
      return true;
    }
  }
}

std::string anfrage(std::string_view methode, std::string_view ziel, std::string_view body,
                    std::string_view kopf, bool mitLaenge) {
  std::string text = std::string(methode) + " " + std::string(ziel) + " HTTP/1.1\r\nHost: test\r\n";
  text += kopf;
  if (mitLaenge) {
    text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  text += "\r\n";
  text += body;
  return text;
}

}  // namespace vesk::test
