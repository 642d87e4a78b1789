#include "driver/NachrichtenDatei.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "config/Dateien.h"
#include "config/Vesk_Exception.h"

namespace {

constexpr std::size_t ABBILDEN_AB = 64 * 1024;  // bytes from which a message file is mapped

[[noreturn]] void nichtGefunden(const std::string& name) {
  throw Vesk_Exception("Nachrichtendatei " + name + " nicht gefunden");
}

[[noreturn]] void nichtLesbar(const std::string& name) {
  throw Vesk_Exception("Fehler beim Auslesen von " + name);
}

}  // namespace

NachrichtenDatei::NachrichtenDatei(NachrichtenDatei&& andere) noexcept
    : anfang(std::exchange(andere.anfang, nullptr)),
      laenge(std::exchange(andere.laenge, 0)),
      abbildung(std::exchange(andere.abbildung, nullptr)),
      puffer(std::move(andere.puffer)) {}

#ifdef _WIN32

namespace {

// Closes the handle when the constructor is left, also by an exception.
struct Griff {
  HANDLE wert;
  ~Griff() {
    if (wert != nullptr && wert != INVALID_HANDLE_VALUE) {
      ::CloseHandle(wert);
    }
  }
};

}  // namespace

NachrichtenDatei::NachrichtenDatei(const std::string& name, Zugriff zugriff) {
  // Shared for writing and deleting, as a POSIX program would find it: another program that has
  // the file open does not keep the checker from reading it.
  const std::filesystem::path pfad = vesk::dateipfad(name);
  const Griff datei{::CreateFileW(pfad.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (datei.wert == INVALID_HANDLE_VALUE) {
    // What does not exist, and a directory (which Windows does not open as a file), is not
    // found; what exists but cannot be opened cannot be read.
    const DWORD art = ::GetFileAttributesW(pfad.c_str());
    if (art == INVALID_FILE_ATTRIBUTES || (art & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      nichtGefunden(name);
    }
    nichtLesbar(name);
  }
  // A directory, a device or a pipe has no length and counts as not found, like an empty file.
  LARGE_INTEGER groesse{};
  if (::GetFileType(datei.wert) != FILE_TYPE_DISK || ::GetFileSizeEx(datei.wert, &groesse) == 0 ||
      groesse.QuadPart <= 0) {
    nichtGefunden(name);
  }
  laenge = static_cast<std::size_t>(groesse.QuadPart);
  if (laenge >= ABBILDEN_AB && zugriff == Zugriff::abbilden) {
    const Griff karte{::CreateFileMappingW(datei.wert, nullptr, PAGE_READONLY, 0, 0, nullptr)};
    if (karte.wert != nullptr) {
      abbildung = ::MapViewOfFile(karte.wert, FILE_MAP_READ, 0, 0, 0);
    }
    if (abbildung != nullptr) {
      anfang = static_cast<const unsigned char*>(abbildung);
      return;
    }
  }
  puffer = std::make_unique_for_overwrite<unsigned char[]>(laenge);
  std::size_t gelesen = 0;
  while (gelesen < laenge) {
    constexpr std::size_t STUECK = 1U << 30;  // ReadFile counts in 32 bits
    DWORD stueck = 0;
    if (::ReadFile(datei.wert, puffer.get() + gelesen,
                   static_cast<DWORD>(std::min(laenge - gelesen, STUECK)), &stueck, nullptr) == 0 ||
        stueck == 0) {
      nichtLesbar(name);
    }
    gelesen += stueck;
  }
  anfang = puffer.get();
}

NachrichtenDatei::~NachrichtenDatei() {
  if (abbildung != nullptr) {
    ::UnmapViewOfFile(abbildung);
  }
}

#else

namespace {

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
      nichtGefunden(name);
    }
    nichtLesbar(name);
  }
  struct stat status {};
  // A directory, a device or a pipe has no length and counts as not found, like an empty file.
  if (::fstat(datei.nummer, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0) {
    nichtGefunden(name);
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
      nichtLesbar(name);
    }
    gelesen += static_cast<std::size_t>(stueck);
  }
  anfang = puffer.get();
}

NachrichtenDatei::~NachrichtenDatei() {
  if (abbildung != nullptr) {
    ::munmap(abbildung, laenge);
  }
}

#endif
