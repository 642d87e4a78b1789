#pragma once
#include <optional>
#include <string>

#include "config/Vesk_Exception.h"

// A fault that lies in one group (record type or message type) of a definition file.
class Vesk_IniFileException : public Vesk_Exception {
 public:
  explicit Vesk_IniFileException(std::string text) : Vesk_Exception(std::move(text)) {}
  Vesk_IniFileException(std::string text, std::string gruppeDesFehlers)
      : Vesk_Exception(std::move(text)), gruppe(std::move(gruppeDesFehlers)) {}

  // "gruppe:text", or the text alone without a group.
  [[nodiscard]] std::string toString() const override;
  // Sets or replaces the group, on the way out of the builder that knows it.
  virtual void setzeGruppe(std::string neueGruppe);
  [[nodiscard]] const std::optional<std::string>& gibGruppe() const { return gruppe; }
  // Names the file this fault lies in for this exception alone, in place of the class-wide name
  // of the file exceptions; set by a configuration loaded beside others.
  void setzeEigeneDatei(std::string name) { eigeneDatei = std::move(name); }

 protected:
  // "datei,gruppe:text", or "datei:text" without a group; `klassenweit` unless a file of its own
  // was set.
  [[nodiscard]] std::string mitDatei(const std::string& klassenweit) const;

 private:
  [[maybe_unused]] int zeile = 0;  // the line of the fault; no thrower knows it, nothing reads it
  std::optional<std::string> gruppe;
  std::optional<std::string> eigeneDatei;
};
