#include <string_view>
#include <vector>

#include "driver/Vesk_Plausipruefer.h"

int main(int argc, char** argv) {
  const std::vector<std::string_view> argumente(argv + 1, argv + argc);
  return Vesk_Plausipruefer::main(argumente);
}
