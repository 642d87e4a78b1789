#include <iostream>

#include "fields/datatypes/Vesk_DatentypNumerisch.h"

// Runs the numeric data type's test entry point; arguments are ignored.
int main() {
  return Vesk_DatentypNumerisch::main(std::cout);
}
