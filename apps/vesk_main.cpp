#include <iostream>

#include "cli/Hauptprogramm.h"
#include "config/Ausgabe.h"
#include "config/Programmstart.h"

int main(int argc, char** argv) {
  return vesk::beende(
      vesk::cli::hauptprogramm(vesk::programmArgumente(argc, argv), std::cout, std::cerr));
}
