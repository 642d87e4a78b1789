#pragma once
#include <string>
#include <vector>

namespace vesk {

// Makes standard output and error write their bytes unchanged, as on POSIX: on Windows no CR is
// added before LF, and a console shows the bytes as UTF-8. Nothing to do elsewhere.
void richteStandardkanaeleEin();

// The arguments of a program (without its own name) as the checker reads file names: the bytes
// given on POSIX, UTF-8 on Windows, where the command line arrives in UTF-16 and the narrow argv
// holds only what the ANSI code page can show. Calls richteStandardkanaeleEin first.
[[nodiscard]] std::vector<std::string> programmArgumente(int argc, char** argv);

}  // namespace vesk
