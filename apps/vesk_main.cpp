#include <iostream>
#include <string>
#include <vector>

#include "cli/Hauptprogramm.h"
#include "config/Ausgabe.h"

int main(int argc, char** argv) {
  std::vector<std::string> argumente;
  for (int i = 1; i < argc; ++i) {
    argumente.emplace_back(argv[i]);
  }
  return vesk::beende(vesk::cli::hauptprogramm(argumente, std::cout, std::cerr));
}
