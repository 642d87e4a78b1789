#pragma once
#include <exception>
#include <string>

// A fault of the checker's own configuration or a programming error; ends the run through the
// driver's report. Findings about a message are never thrown.
class Vesk_Exception : public std::exception {
 public:
  explicit Vesk_Exception(std::string text) : fehlerString(std::move(text)) {}

  // The text the driver prints; subclasses add file and group.
  [[nodiscard]] virtual std::string toString() const;
  // The bare text, without file or group, for every subclass.
  [[nodiscard]] virtual std::string gibBeschreibung() const;
  [[nodiscard]] const char* what() const noexcept override { return fehlerString.c_str(); }

 private:
  std::string fehlerString;
};
