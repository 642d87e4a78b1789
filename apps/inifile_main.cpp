#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "config/Ausgabe.h"
#include "config/IniFile.h"
#include "config/Programmstart.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> namen = vesk::programmArgumente(argc, argv);
  const std::vector<std::string_view> argumente(namen.begin(), namen.end());
  return vesk::beende(IniFile::main(argumente, std::cout, std::cerr));
}
