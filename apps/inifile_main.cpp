#include <iostream>
#include <string_view>
#include <vector>

#include "config/Ausgabe.h"
#include "config/IniFile.h"

int main(int argc, char* argv[]) {
  std::vector<std::string_view> argumente;
  for (int i = 1; i < argc; ++i) {
    argumente.emplace_back(argv[i]);
  }
  return vesk::beende(IniFile::main(argumente, std::cout, std::cerr));
}
