#pragma once
#include <iosfwd>
#include <span>
#include <string>

namespace vesk::cli {

// The front end `vesk`: parses the command line (without the program name) into one of its
// subcommands and runs it. Returns the exit status; help and version are 0, a usage error 2.
int hauptprogramm(std::span<const std::string> argumente, std::ostream& aus, std::ostream& fehler);

}  // namespace vesk::cli
