#include <string_view>
#include <vector>

#include "driver/Vesk_Plausipruefer.h"

int main(int argc, char** argv) {
  // A process may be started with an empty argument vector (argc 0); it then has no arguments
  // and gets the usage line like any other wrong count.
  std::vector<std::string_view> argumente;
  if (argc > 1) {
    argumente.assign(argv + 1, argv + argc);
  }
  return Vesk_Plausipruefer::main(argumente);
}
