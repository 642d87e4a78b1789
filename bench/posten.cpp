// Posts one file to a path of 127.0.0.1 and reads the whole answer, for the measurement of a
// large message sent to vesk dienst: a client that adds next to nothing to the transfer (the
// body goes from the page cache to the socket by sendfile), where curl's start and its reading
// of the file in small blocks cost about as much as the service's check of 16 MiB.
//
//   posten <port> <path> <file>     exit status 0 for an answer 200, else 1
#include <arpa/inet.h>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool sende(int verbindung, const std::string& kopf, int datei, std::size_t laenge) {
  for (std::size_t gesendet = 0; gesendet < kopf.size();) {
    const ssize_t n = ::write(verbindung, kopf.data() + gesendet, kopf.size() - gesendet);
    if (n <= 0) {
      return false;
    }
    gesendet += static_cast<std::size_t>(n);
  }
  off_t ab = 0;
  while (static_cast<std::size_t>(ab) < laenge) {
    if (::sendfile(verbindung, datei, &ab, laenge - static_cast<std::size_t>(ab)) <= 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: posten <port> <path> <file>\n", stderr);
    return 2;
  }
  const int datei = ::open(argv[3], O_RDONLY);
  struct stat angaben {};
  if (datei < 0 || ::fstat(datei, &angaben) != 0) {
    std::perror(argv[3]);
    return 1;
  }
  const auto laenge = static_cast<std::size_t>(angaben.st_size);
  const std::string kopf = std::string("POST ") + argv[2] +
                           " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\nContent-Length: " +
                           std::to_string(laenge) + "\r\n\r\n";
  const int verbindung = ::socket(AF_INET, SOCK_STREAM, 0);
  // Without it the last part of the body waits for the service's delayed acknowledgement.
  const int ohneVerzoegerung = 1;
  ::setsockopt(verbindung, IPPROTO_TCP, TCP_NODELAY, &ohneVerzoegerung, sizeof ohneVerzoegerung);
  sockaddr_in ziel{};
  ziel.sin_family = AF_INET;
  ziel.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[1])));
  ziel.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (verbindung < 0 ||
      ::connect(verbindung, reinterpret_cast<const sockaddr*>(&ziel), sizeof ziel) != 0 ||
      !sende(verbindung, kopf, datei, laenge)) {
    std::perror("posten");
    return 1;
  }
  std::string antwort;
  std::array<char, 65536> block{};
  for (ssize_t n; (n = ::read(verbindung, block.data(), block.size())) > 0;) {
    antwort.append(block.data(), static_cast<std::size_t>(n));
  }
  ::close(verbindung);
  ::close(datei);
  return antwort.rfind("HTTP/1.1 200 ", 0) == 0 ? 0 : 1;
}
