#include <string>
#include <string_view>
#include <vector>

#include "config/Programmstart.h"
#include "driver/Vesk_Plausipruefer.h"

int main(int argc, char** argv) {
  const std::vector<std::string> namen = vesk::programmArgumente(argc, argv);
  const std::vector<std::string_view> argumente(namen.begin(), namen.end());
  return Vesk_Plausipruefer::main(argumente);
}
