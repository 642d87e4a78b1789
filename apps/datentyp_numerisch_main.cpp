#include <iostream>
#include <sstream>

#include "config/Ausgabe.h"
#include "config/Programmstart.h"
#include "fields/datatypes/Vesk_DatentypNumerisch.h"

// Runs the numeric data type's test entry point; arguments are ignored.
int main() {
  vesk::richteStandardkanaeleEin();
  std::ostringstream ausgabe;
  const int status = Vesk_DatentypNumerisch::main(ausgabe);
  vesk::schreibeZeilen(std::cout, ausgabe.str());
  return vesk::beende(status);
}
