#include "errors/ProtokollDatei.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "config/Dateien.h"
#include "config/Vesk_Exception.h"

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 4> KENNUNGEN = {"Struktur ,", "Muss     ,", "Technisch,",
                                                       "MussKann ,"};
constexpr std::size_t KENNUNG_LAENGE = 10;  // tag and comma
constexpr int MAX_VERWEISE = 40;            // as the kernel's limit for nested links
constexpr int MAX_VERSUCHE = 100;           // names tried for the temporary file

// The system calls a protocol file needs, on POSIX and on Windows. Descriptors are opened in
// binary mode (Windows would otherwise add a CR before each LF) and are not inherited.
#ifdef _WIN32

int oeffne(const fs::path& pfad, int art) {
  return ::_wopen(pfad.c_str(), art | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int schliesse(int fd) {
  return ::_close(fd);
}
ssize_t schreibeAuf(int fd, const char* daten, std::size_t laenge) {
  constexpr std::size_t HOECHSTENS = 1U << 30;  // _write takes an unsigned int
  return ::_write(fd, daten, static_cast<unsigned>(std::min(laenge, HOECHSTENS)));
}
bool sichere(int fd) {
  return ::_commit(fd) == 0;
}
bool darfSchreiben(const fs::path& pfad) {
  return ::_waccess(pfad.c_str(), 2) == 0;
}
// Windows knows no permission bits beyond read-only, which darfSchreiben has ruled out.
bool uebernimmRechte(int /*fd*/, const fs::path& /*vorbild*/) {
  return true;
}
bool benenneUm(const fs::path& von, const fs::path& nach) {
  return ::MoveFileExW(von.c_str(), nach.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
void entferne(const fs::path& pfad) {
  static_cast<void>(::_wunlink(pfad.c_str()));
}
int prozessNummer() {
  return ::_getpid();
}

#else

int oeffne(const fs::path& pfad, int art) {
  return ::open(pfad.c_str(), art | O_CLOEXEC, 0666);
}
int schliesse(int fd) {
  return ::close(fd);
}
ssize_t schreibeAuf(int fd, const char* daten, std::size_t laenge) {
  return ::write(fd, daten, laenge);
}
bool sichere(int fd) {
  return ::fsync(fd) == 0;
}
bool darfSchreiben(const fs::path& pfad) {
  return ::access(pfad.c_str(), W_OK) == 0;
}
// The new file keeps the permissions of the one it replaces.
bool uebernimmRechte(int fd, const fs::path& vorbild) {
  struct stat alt {};
  return ::stat(vorbild.c_str(), &alt) == 0 && ::fchmod(fd, alt.st_mode & 07777U) == 0;
}
bool benenneUm(const fs::path& von, const fs::path& nach) {
  return std::rename(von.c_str(), nach.c_str()) == 0;
}
void entferne(const fs::path& pfad) {
  static_cast<void>(::unlink(pfad.c_str()));
}
int prozessNummer() {
  return ::getpid();
}

#endif

// Follows the bytes of a file and tells whether every line is a protocol line so far.
class ZeilenPruefer {
 public:
  bool weiter(std::string_view block) {
    for (const char zeichen : block) {
      if (zeichen == '\n') {
        if (anfang.size() < KENNUNG_LAENGE || letztes != '\r') {
          return false;
        }
        anfang.clear();
      } else if (anfang.size() < KENNUNG_LAENGE) {
        anfang.push_back(zeichen);
        if (anfang.size() == KENNUNG_LAENGE && !istKennung(anfang)) {
          return false;
        }
      }
      letztes = zeichen;
    }
    return true;
  }
  // Whether the bytes so far end with a complete line (or there were none).
  [[nodiscard]] bool amZeilenende() const { return anfang.empty(); }

 private:
  static bool istKennung(std::string_view text) {
    for (const std::string_view kennung : KENNUNGEN) {
      if (text == kennung) {
        return true;
      }
    }
    return false;
  }

  std::string anfang;   // the first bytes of the current line, up to the comma after the tag
  char letztes = '\n';  // the byte before, as if a line had just ended
};

// The file a name leads to once its last component is no symbolic link: the link stays a link
// when the file it names is replaced.
#ifdef _WIN32
// std::filesystem of mingw-w64 sees no links (symlink_status follows them, read_symlink is not
// implemented), and wine shows a POSIX link as the file it names, without a reparse point. The
// system resolves every link when it opens a name, so the name a handle was opened under,
// without FILE_FLAG_OPEN_REPARSE_POINT, is the file the links lead to. A link to a missing file
// cannot be opened and stays as it is.
fs::path folgeVerweisen(fs::path pfad) {
  const HANDLE datei =
      ::CreateFileW(pfad.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (datei == INVALID_HANDLE_VALUE) {
    return pfad;
  }
  constexpr DWORD ART = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
  std::wstring ziel(MAX_PATH, L'\0');
  DWORD laenge =
      ::GetFinalPathNameByHandleW(datei, ziel.data(), static_cast<DWORD>(ziel.size()), ART);
  if (laenge >= ziel.size()) {  // too short: laenge is the size needed, terminator included
    ziel.resize(laenge);
    laenge = ::GetFinalPathNameByHandleW(datei, ziel.data(), static_cast<DWORD>(ziel.size()), ART);
  }
  ::CloseHandle(datei);
  if (laenge == 0 || laenge >= ziel.size()) {
    return pfad;
  }
  ziel.resize(laenge);
  return fs::path(std::move(ziel));
}
#else
// A link to a missing file leads to that missing file.
fs::path folgeVerweisen(fs::path pfad) {
  for (int i = 0; i < MAX_VERWEISE; ++i) {
    std::error_code fehler;
    if (!fs::is_symlink(fs::symlink_status(pfad, fehler))) {
      break;
    }
    const fs::path ziel = fs::read_symlink(pfad, fehler);
    if (fehler) {
      break;
    }
    pfad = ziel.is_absolute() ? ziel : pfad.parent_path() / ziel;
  }
  return pfad;
}
#endif

// Opens a new file beside `ziel` under a name no other file has; returns its descriptor and
// path, or -1 when none could be made.
std::pair<int, fs::path> oeffneTemporaer(const fs::path& ziel) {
  // Threads of one run write protocol files side by side.
  static std::atomic<unsigned> zaehler{0};
  const std::string basis = vesk::dateiname(ziel) + "." + std::to_string(prozessNummer()) + ".";
  for (int versuch = 0; versuch < MAX_VERSUCHE; ++versuch) {
    fs::path pfad = vesk::dateipfad(basis + std::to_string(++zaehler) + ".tmp");
    const int fd = oeffne(pfad, O_WRONLY | O_CREAT | O_EXCL);
    if (fd >= 0 || errno != EEXIST) {
      return {fd, std::move(pfad)};
    }
  }
  return {-1, {}};
}

}  // namespace

ProtokollDatei::ProtokollDatei(std::string dateiName)
    : ProtokollDatei(std::move(dateiName), schreibeAuf) {}

ProtokollDatei::ProtokollDatei(std::string dateiName, Schreiber schreibFunktion)
    : name(std::move(dateiName)), schreiber(std::move(schreibFunktion)) {}

bool ProtokollDatei::istProtokoll(std::istream& eingabe) {
  std::array<char, 1 << 16> block;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  ZeilenPruefer pruefer;
  while (eingabe) {
    eingabe.read(block.data(), block.size());
    const auto gelesen = static_cast<std::size_t>(eingabe.gcount());
    if (!pruefer.weiter(std::string_view(block.data(), gelesen))) {
      return false;
    }
  }
  return !eingabe.bad() && pruefer.amZeilenende();
}

void ProtokollDatei::schreibe(std::string_view inhalt) const {
  std::error_code fehler;
  const fs::path pfad = vesk::dateipfad(name);
  const fs::file_status status = fs::status(pfad, fehler);
  const bool vorhanden = status.type() != fs::file_type::not_found;
  if (vorhanden && fehler) {
    scheitere();
  }
  if (vorhanden && !fs::is_regular_file(status)) {
    if (fs::is_directory(status)) {
      scheitere();
    }
    schreibeDirekt(pfad, inhalt);
    return;
  }
  const fs::path ziel = folgeVerweisen(pfad);
  if (vorhanden) {
    pruefeAltenInhalt(ziel);
  }
  ersetze(ziel, vorhanden, inhalt);
}

void ProtokollDatei::scheitere() const {
  throw Vesk_Exception("Konnte Protokolldatei " + name + " nicht oeffnen");
}

void ProtokollDatei::pruefeAltenInhalt(const fs::path& ziel) const {
  // A file the user may not write stays as it is, as it did when it was written in place.
  std::ifstream alt(ziel, std::ios::binary);
  if (!alt || !darfSchreiben(ziel)) {
    scheitere();
  }
  if (!istProtokoll(alt)) {
    if (alt.bad()) {
      scheitere();
    }
    throw Vesk_Exception("Protokolldatei " + name +
                         " ist keine Protokolldatei und wird nicht ueberschrieben");
  }
}

void ProtokollDatei::schreibeDirekt(const fs::path& pfad, std::string_view inhalt) const {
  const int fd = oeffne(pfad, O_WRONLY | O_TRUNC);
  if (fd < 0) {
    scheitere();
  }
  const bool geschrieben = schreibeAlles(fd, inhalt);
  if (schliesse(fd) != 0 || !geschrieben) {
    scheitere();
  }
}

void ProtokollDatei::ersetze(const fs::path& ziel, bool vorhanden, std::string_view inhalt) const {
  const auto [fd, temporaer] = oeffneTemporaer(ziel);
  if (fd < 0) {
    scheitere();
  }
  bool erfolg = !vorhanden || uebernimmRechte(fd, ziel);
  erfolg = erfolg && schreibeAlles(fd, inhalt) && sichere(fd);
  erfolg = schliesse(fd) == 0 && erfolg;
  if (!erfolg || !benenneUm(temporaer, ziel)) {
    entferne(temporaer);
    scheitere();
  }
}

bool ProtokollDatei::schreibeAlles(int fd, std::string_view inhalt) const {
  while (!inhalt.empty()) {
    const ssize_t geschrieben = schreiber(fd, inhalt.data(), inhalt.size());
    if (geschrieben < 0 && errno == EINTR) {
      continue;
    }
    if (geschrieben <= 0) {
      return false;
    }
    inhalt.remove_prefix(static_cast<std::size_t>(geschrieben));
  }
  return true;
}
