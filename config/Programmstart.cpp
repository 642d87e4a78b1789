#include "config/Programmstart.h"

#ifdef _WIN32
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "config/Dateien.h"
#endif

namespace vesk {

#ifdef _WIN32

namespace {

struct GibFrei {
  void operator()(wchar_t** argumente) const { ::LocalFree(static_cast<void*>(argumente)); }
};

UINT codeseiteZuvor = 0;  // the console's output code page before the program changed it

// The console belongs to the user's session: it gets its code page back when the program ends.
void stelleCodeseiteWiederHer() {
  ::SetConsoleOutputCP(codeseiteZuvor);
}

}  // namespace

void richteStandardkanaeleEin() {
  static_cast<void>(::_setmode(::_fileno(stdout), _O_BINARY));
  static_cast<void>(::_setmode(::_fileno(stderr), _O_BINARY));
  codeseiteZuvor = ::GetConsoleOutputCP();
  if (codeseiteZuvor != 0 && codeseiteZuvor != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8) != 0) {
    static_cast<void>(std::atexit(stelleCodeseiteWiederHer));
  }
}

std::vector<std::string> programmArgumente(int /*argc*/, char** /*argv*/) {
  richteStandardkanaeleEin();
  int anzahl = 0;
  const std::unique_ptr<wchar_t*, GibFrei> breit(
      ::CommandLineToArgvW(::GetCommandLineW(), &anzahl));
  std::vector<std::string> argumente;
  for (int i = 1; breit && i < anzahl; ++i) {
    argumente.push_back(dateiname(std::filesystem::path(breit.get()[i])));
  }
  return argumente;
}

#else

void richteStandardkanaeleEin() {}

std::vector<std::string> programmArgumente(int argc, char** argv) {
  // A process may be started with an empty argument vector (argc 0): it then has no arguments.
  std::vector<std::string> argumente;
  for (int i = 1; i < argc; ++i) {
    argumente.emplace_back(argv[i]);
  }
  return argumente;
}

#endif

}  // namespace vesk
