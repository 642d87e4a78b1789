#include <iostream>

#include "fields/datatypes/Vesk_DatentypAlphanumerisch.h"

// Runs the alphanumeric data type's test entry point; arguments are ignored.
int main() {
  return Vesk_DatentypAlphanumerisch::main(std::cout);
}
