#pragma once
#include <span>
#include <string_view>

// The checker's command line: Vesk_Plausipruefer <Ini-Datei> <Nachrichten-Datei>
// [<Protokoll-Datei>]. The only place where exceptions become the report on standard error.
class Vesk_Plausipruefer {
 public:
  // Runs one check with `argumente` (without the program name) and returns the exit status:
  // 0 for "Nachricht OK !", 1 when errors were listed, 2 for the usage line or an exception.
  static int main(std::span<const std::string_view> argumente);
};
