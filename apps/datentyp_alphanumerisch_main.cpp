#include <iostream>
#include <sstream>

#include "config/Ausgabe.h"
#include "config/Programmstart.h"
#include "fields/datatypes/Vesk_DatentypAlphanumerisch.h"

// Runs the alphanumeric data type's test entry point; arguments are ignored.
int main() {
  vesk::richteStandardkanaeleEin();
  std::ostringstream ausgabe;
  const int status = Vesk_DatentypAlphanumerisch::main(ausgabe);
  vesk::schreibeZeilen(std::cout, ausgabe.str());
  return vesk::beende(status);
}
