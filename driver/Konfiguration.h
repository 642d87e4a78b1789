#pragma once
#include <memory>
#include <string>

#include "config/IniFile.h"

class Vesk_IniFileException;

namespace vesk {

class NachrichtenTypRegister;
class SatzartenRegister;
class WertemengenRegister;

// A loaded configuration: the two definition files and everything built from them (value sets,
// record types, message types). Owns all of it and never touches the process-wide registries, so
// several configurations can live side by side in one process. Immutable to its users once
// constructed and safe to use from many threads at once; record types are still built on first
// request, so a faulty one is reported only by a message that uses it, each time one does.
class Konfiguration {
 public:
  // The names of the two definition files in a main INI file's group "PLAUSIPRUEFUNG".
  struct Dateien {
    std::string struktur;
    std::string datensaetze;
  };
  // Reads the main INI file `hauptDatei`. Throws Vesk_Exception with the checker's texts when it
  // is missing, has no group "PLAUSIPRUEFUNG", or names no structure or record-definition file.
  [[nodiscard]] static Dateien leseHauptdatei(const std::string& hauptDatei);
  // Loads the configuration named by the main INI file `hauptDatei`.
  [[nodiscard]] static std::unique_ptr<Konfiguration> lade(const std::string& hauptDatei);

  // Loads both definition files and builds in the checker's order: value sets, record types on
  // demand, the listed message types. Throws what the checker's start throws, with the texts it
  // gives; the file exceptions name these files.
  explicit Konfiguration(const Dateien& dateien);
  ~Konfiguration();
  Konfiguration(const Konfiguration&) = delete;
  Konfiguration& operator=(const Konfiguration&) = delete;

  [[nodiscard]] const Dateien& gibDateien() const { return dateien; }
  [[nodiscard]] const WertemengenRegister& gibWertemengen() const { return *werteMengen; }
  [[nodiscard]] const SatzartenRegister& gibSatzarten() const { return *satzArten; }
  [[nodiscard]] const NachrichtenTypRegister& gibNachrichtenTypen() const {
    return *nachrichtenTypen;
  }
  // Gives an exception of a definition file the name of the file it lies in, as the checker's
  // report shows it; other exceptions are left as they are.
  void benenneDatei(Vesk_IniFileException& ausnahme) const;

  // Checks that both names are given and both files exist, in the checker's order. Throws
  // Vesk_Exception for an empty name and the file exceptions for a missing file.
  static void pruefeVorhanden(const Dateien& dateien);

 private:
  Dateien dateien;
  std::unique_ptr<WertemengenRegister> werteMengen;
  std::unique_ptr<SatzartenRegister> satzArten;
  std::unique_ptr<NachrichtenTypRegister> nachrichtenTypen;
};

}  // namespace vesk
