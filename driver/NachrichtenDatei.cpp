#include "driver/NachrichtenDatei.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <string_view>
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
// Bytes from which a file is read only as the check asks for them, and the step in which it is.
constexpr std::size_t SAETZE_AB = 1024 * 1024;
constexpr std::size_t SCHRITT = 1024 * 1024;
constexpr std::size_t NACHSATZ = 256;  // the trailer: the last record of every message

[[noreturn]] void nichtGefunden(const std::string& name) {
  throw Vesk_Exception("Nachrichtendatei " + name + " nicht gefunden");
}

[[noreturn]] void nichtLesbar(const std::string& name) {
  throw Vesk_Exception("Fehler beim Auslesen von " + name);
}

}  // namespace

NachrichtenDatei::NachrichtenDatei(NachrichtenDatei&& andere) noexcept
    : dateiName(std::move(andere.dateiName)),
      anfang(std::exchange(andere.anfang, nullptr)),
      laenge(std::exchange(andere.laenge, 0)),
      abbildung(std::exchange(andere.abbildung, nullptr)),
      platz(std::exchange(andere.platz, -1)),
      puffer(std::move(andere.puffer)),
      bereich(std::exchange(andere.bereich, nullptr)),
      gesichert(std::exchange(andere.gesichert, 0)),
      quelle(std::exchange(andere.quelle, -1)) {}

std::size_t NachrichtenDatei::sichere(std::size_t bis) {
  if (bereich == nullptr) {
    return laenge;
  }
  if (bis > gesichert) {
    const std::size_t neu = std::min(laenge, std::max(bis, gesichert + SCHRITT));
    leseBereich(gesichert, neu);
    gesichert = neu;
  }
  return gesichert;
}

bool NachrichtenDatei::liesInTeilen(std::intptr_t datei, const std::string& name) {
  // The file stays open for the reads the check asks for; until this succeeds it is the
  // caller's, so that a failure neither closes it nor keeps it.
  quelle = datei;
  dateiName = name;
  try {
    if (reserviere()) {
      return true;
    }
  } catch (...) {
    quelle = -1;
    gibFrei();
    throw;
  }
  quelle = -1;
  dateiName.clear();
  return false;
}

bool NachrichtenDatei::reserviere() {
#ifdef _WIN32
  // Committed pages that are never written take no physical memory, though they count against
  // the system's commit limit; where that is too small, the file is read whole.
  bereich = ::VirtualAlloc(nullptr, laenge, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
#else
  void* frei = ::mmap(nullptr, laenge, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  bereich = frei == MAP_FAILED ? nullptr : frei;
#endif
  if (bereich == nullptr) {
    return false;
  }
  anfang = static_cast<const unsigned char*>(bereich);
  sichere(std::min(laenge, SCHRITT));
  const std::size_t nachsatz = std::max(gesichert, laenge - NACHSATZ);
  if (nachsatz < laenge) {
    leseBereich(nachsatz, laenge);
  }
  return true;
}

namespace {

std::atomic<NachrichtenDatei::Haken> testhaken{nullptr};

}  // namespace

void NachrichtenDatei::setzeTesthaken(Haken haken) {
  testhaken.store(haken);
}

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
  Griff datei{::CreateFileW(pfad.c_str(), GENERIC_READ,
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
  if (laenge >= SAETZE_AB && zugriff == Zugriff::saetze &&
      liesInTeilen(reinterpret_cast<std::intptr_t>(datei.wert), name)) {
    datei.wert = INVALID_HANDLE_VALUE;  // the object's now
    return;
  }
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

void NachrichtenDatei::leseBereich(std::size_t von, std::size_t bis) {
  auto* ziel = static_cast<unsigned char*>(bereich);
  while (von < bis) {
    constexpr std::size_t STUECK = 1U << 30;  // ReadFile counts in 32 bits
    OVERLAPPED stelle{};
    stelle.Offset = static_cast<DWORD>(von & 0xFFFFFFFFU);
    stelle.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(von) >> 32U);
    DWORD stueck = 0;
    if (::ReadFile(reinterpret_cast<HANDLE>(quelle), ziel + von,
                   static_cast<DWORD>(std::min(bis - von, STUECK)), &stueck, &stelle) == 0 ||
        stueck == 0) {
      nichtLesbar(dateiName);
    }
    von += stueck;
  }
}

void NachrichtenDatei::gibFrei() noexcept {
  if (bereich != nullptr) {
    ::VirtualFree(bereich, 0, MEM_RELEASE);
    bereich = nullptr;
  }
  if (quelle != -1) {
    ::CloseHandle(reinterpret_cast<HANDLE>(quelle));
    quelle = -1;
  }
}

NachrichtenDatei::~NachrichtenDatei() {
  if (abbildung != nullptr) {
    ::UnmapViewOfFile(abbildung);
  }
  gibFrei();
}

// Windows lets nobody cut a mapped file short.
void NachrichtenDatei::pruefeUnversehrt() const {}

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
// raises SIGBUS when its bytes are touched, in the thread that touched them, which may be any
// thread of a split check. The handler finds the mapping the address lies in among the entries
// below, puts zero bytes in place of all of it, so that the touching instruction and every later
// one can read on, and marks the entry; the check then ends as usual and its owner reports the
// read failure. Plain atomics in static storage, so that the handler reads nothing that needs
// constructing and may run at any moment.
struct Abbildungseintrag {
  std::atomic<std::uintptr_t> anfang{0};  // 0: free
  std::atomic<std::size_t> laenge{0};
  std::atomic<bool> abgeschnitten{false};
};
constexpr std::size_t EINTRAEGE = 8192;  // files mapped at once; beyond, files are read
std::array<Abbildungseintrag, EINTRAEGE> abbildungen;

constexpr std::string_view NOTBERICHT =
    "Ausnahmefehler aufgetreten:\nFehler beim Auslesen einer Nachrichtendatei\nProgrammabbruch.\n";

extern "C" void beiLesefehler(int /*signal*/, siginfo_t* info, void* /*kontext*/) {
  const auto adresse = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (Abbildungseintrag& eintrag : abbildungen) {
    const std::uintptr_t anfang = eintrag.anfang.load(std::memory_order_acquire);
    const std::size_t laenge = eintrag.laenge.load(std::memory_order_relaxed);
    if (anfang == 0 || adresse < anfang || adresse - anfang >= laenge) {
      continue;
    }
    eintrag.abgeschnitten.store(true);
    void* ersatz = ::mmap(reinterpret_cast<void*>(anfang), laenge, PROT_READ,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (ersatz != MAP_FAILED) {
      return;
    }
    break;
  }
  // Not a mapping of ours, or no way to read on: the run ends with the report of a read failure.
  static_cast<void>(::write(STDERR_FILENO, NOTBERICHT.data(), NOTBERICHT.size()));
  ::_exit(2);
}

// The entry for a new mapping of `laenge` bytes at `anfang`, the handler set first; -1 when
// every entry is taken.
int trageEin(const void* anfang, std::size_t laenge) {
  static std::once_flag gesetzt;
  std::call_once(gesetzt, [] {
    struct sigaction aktion {};
    aktion.sa_sigaction = beiLesefehler;
    aktion.sa_flags = SA_SIGINFO;
    sigemptyset(&aktion.sa_mask);
    ::sigaction(SIGBUS, &aktion, nullptr);
  });
  const auto wert = reinterpret_cast<std::uintptr_t>(anfang);
  for (std::size_t i = 0; i < abbildungen.size(); ++i) {
    Abbildungseintrag& eintrag = abbildungen[i];
    std::uintptr_t frei = 0;
    if (eintrag.anfang.load(std::memory_order_relaxed) == 0 &&
        eintrag.anfang.compare_exchange_strong(frei, 1)) {  // taken, not yet valid
      eintrag.abgeschnitten.store(false);
      eintrag.laenge.store(laenge, std::memory_order_relaxed);
      eintrag.anfang.store(wert, std::memory_order_release);
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

NachrichtenDatei::NachrichtenDatei(const std::string& name, Zugriff zugriff) {
  // Without O_NONBLOCK, opening a pipe that nobody writes to would wait for ever.
  Deskriptor datei{::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
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
  if (laenge >= SAETZE_AB && zugriff == Zugriff::saetze && liesInTeilen(datei.nummer, name)) {
    datei.nummer = -1;  // the object's now
    return;
  }
  // A small file is read: mapping and unmapping it costs more than the read, and unmapping
  // interrupts every core that runs another thread of the process.
  if (laenge < ABBILDEN_AB || zugriff != Zugriff::abbilden) {
    lese(datei.nummer, name);
    return;
  }
  void* karte = ::mmap(nullptr, laenge, PROT_READ, MAP_PRIVATE, datei.nummer, 0);
  if (karte != MAP_FAILED) {
    platz = trageEin(karte, laenge);
    if (platz >= 0) {
      dateiName = name;
      abbildung = karte;
      anfang = static_cast<const unsigned char*>(karte);
      if (const Haken haken = testhaken.load()) {
        haken(name);
      }
      return;
    }
    ::munmap(karte, laenge);
  }
  lese(datei.nummer, name);
}

void NachrichtenDatei::pruefeUnversehrt() const {
  if (platz >= 0 && abbildungen[static_cast<std::size_t>(platz)].abgeschnitten.load()) {
    nichtLesbar(dateiName);
  }
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

void NachrichtenDatei::leseBereich(std::size_t von, std::size_t bis) {
  auto* ziel = static_cast<unsigned char*>(bereich);
  while (von < bis) {
    const ssize_t stueck =
        ::pread(static_cast<int>(quelle), ziel + von, bis - von, static_cast<off_t>(von));
    if (stueck < 0 && errno == EINTR) {
      continue;
    }
    if (stueck <= 0) {  // an error, or the file cut short since it was opened
      nichtLesbar(dateiName);
    }
    von += static_cast<std::size_t>(stueck);
  }
}

void NachrichtenDatei::gibFrei() noexcept {
  if (bereich != nullptr) {
    ::munmap(bereich, laenge);
    bereich = nullptr;
  }
  if (quelle >= 0) {
    ::close(static_cast<int>(quelle));
    quelle = -1;
  }
}

NachrichtenDatei::~NachrichtenDatei() {
  if (abbildung != nullptr) {
    // The handler forgets the mapping before it goes: the address range may be reused at once.
    abbildungen[static_cast<std::size_t>(platz)].anfang.store(0, std::memory_order_release);
    ::munmap(abbildung, laenge);
  }
  gibFrei();
}

#endif
