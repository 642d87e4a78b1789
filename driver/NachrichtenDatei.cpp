#include "driver/NachrichtenDatei.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "config/Vesk_Exception.h"

namespace {

constexpr std::size_t ABBILDEN_AB = 64 * 1024;  // bytes from which a message file is mapped

// Closes the descriptor when the constructor is left, also by an exception.
struct Deskriptor {
  int nummer;
  ~Deskriptor() {
    if (nummer >= 0) {
      ::close(nummer);
    }
  }
};

// A mapped file that can no longer be read (a disk error, or another process cutting it short)
// raises SIGBUS when its bytes are touched, in the thread that touched them. The handler then
// ends the run with the report of a read failure, prepared in advance by that thread (the last
// file it mapped), since a signal handler may not allocate. Plain bytes, so that the handler
// reads no object that needs constructing; a name too long for them is cut.
thread_local std::array<char, 8192> lesefehlerBericht{};
thread_local std::size_t lesefehlerLaenge = 0;

extern "C" void beiLesefehler(int /*signal*/) {
  static_cast<void>(::write(STDERR_FILENO, lesefehlerBericht.data(), lesefehlerLaenge));
  ::_exit(2);
}

void fangeLesefehler(const std::string& name) {
  const std::string bericht =
      "Ausnahmefehler aufgetreten:\nFehler beim Auslesen von " + name + "\nProgrammabbruch.\n";
  lesefehlerLaenge = std::min(bericht.size(), lesefehlerBericht.size());
  std::copy_n(bericht.begin(), lesefehlerLaenge, lesefehlerBericht.begin());
  struct sigaction aktion {};
  aktion.sa_handler = beiLesefehler;
  sigemptyset(&aktion.sa_mask);
  ::sigaction(SIGBUS, &aktion, nullptr);
}

}  // namespace

NachrichtenDatei::NachrichtenDatei(const std::string& name, Zugriff zugriff) {
  // Without O_NONBLOCK, opening a pipe that nobody writes to would wait for ever.
  const Deskriptor datei{::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (datei.nummer < 0) {
    struct stat vorhanden {};
    if (::stat(name.c_str(), &vorhanden) != 0) {
      throw Vesk_Exception("Nachrichtendatei " + name + " nicht gefunden");
    }
    throw Vesk_Exception("Fehler beim Auslesen von " + name);
  }
  struct stat status {};
  // A directory, a device or a pipe has no length and counts as not found, like an empty file.
  if (::fstat(datei.nummer, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) {
    throw Vesk_Exception("Nachrichtendatei " + name + " nicht gefunden");
  }
  laenge = static_cast<std::size_t>(status.st_size);
  // A small file is read: mapping and unmapping it costs more than the read, and unmapping
  // interrupts every core that runs another thread of the process.
  if (laenge < ABBILDEN_AB || zugriff == Zugriff::lesen) {
    lese(datei.nummer, name);
    return;
  }
  void* karte = ::mmap(nullptr, laenge, PROT_READ, MAP_PRIVATE, datei.nummer, 0);
  if (karte != MAP_FAILED) {
    fangeLesefehler(name);
    abbildung = karte;
    anfang = static_cast<const unsigned char*>(karte);
    return;
  }
  lese(datei.nummer, name);
}

void NachrichtenDatei::lese(int datei, const std::string& name) {
  puffer = std::make_unique_for_overwrite<unsigned char[]>(laenge);
  std::size_t gelesen = 0;
  while (gelesen < laenge) {
    const ssize_t stueck = ::read(datei, puffer.get() + gelesen, laenge - gelesen);
    if (stueck < 0 && errno == EINTR) {
      continue;
    }
    if (stueck <= 0) {
      throw Vesk_Exception("Fehler beim Auslesen von " + name);
    }
    gelesen += static_cast<std::size_t>(stueck);
  }
  anfang = puffer.get();
}

NachrichtenDatei::NachrichtenDatei(NachrichtenDatei&& andere) noexcept
    : anfang(std::exchange(andere.anfang, nullptr)),
      laenge(std::exchange(andere.laenge, 0)),
      abbildung(std::exchange(andere.abbildung, nullptr)),
      puffer(std::move(andere.puffer)) {}

NachrichtenDatei::~NachrichtenDatei() {
  if (abbildung != nullptr) {
    ::munmap(abbildung, laenge);
  }
}
