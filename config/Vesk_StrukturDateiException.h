#pragma once
#include <string>

#include "config/Vesk_IniFileException.h"

// A fault of the structure-definition file; its text names that file.
class Vesk_StrukturDateiException : public Vesk_IniFileException {
 public:
  using Vesk_IniFileException::Vesk_IniFileException;

  // "datei,gruppe:text", or "datei:text" without a group.
  [[nodiscard]] std::string toString() const override;
  // Sets the file name shown by every exception of this class from now on.
  static void setzeDateiname(std::string name) { dateiName = std::move(name); }
  [[nodiscard]] static const std::string& gibDateiname() { return dateiName; }

 private:
  inline static std::string dateiName = "Strukturdatei";
};
