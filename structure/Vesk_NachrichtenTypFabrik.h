#pragma once
#include <string_view>

#include "fields/MeldungsText.h"

class IniFile;
class Vesk_NachrichtenTyp;

namespace vesk {
class NachrichtenTypRegister;
}

// The process-wide registry of message types from the structure-definition file, by name and by
// Sendeart. Owns them until the process ends.
class Vesk_NachrichtenTypFabrik {
 public:
  static constexpr std::string_view SCHADENMELDUNG = "Schadenmeldung";
  static constexpr std::string_view REPARATURFREIGABE = "Reparaturfreigabe";
  static constexpr std::string_view KOSTENUEBERNAHME = "Kostenuebernahme";
  static constexpr std::string_view FEHLERMELDUNG = "Fehlermeldung";

  // Builds every type listed in group "Nachrichtentypen" from a copy of `ini`; acts only once.
  // Throws Vesk_StrukturDateiException (or a record-definition fault) at the first fault.
  static void initialisiere(const IniFile& ini);
  // The type `name`, built from its group on first request when it was not listed.
  [[nodiscard]] static const Vesk_NachrichtenTyp& gibNachrichtenTyp(std::string_view name);
  // The type registered for the Sendeart `sendeArt` (exact; bytes 0x80 and above never match).
  [[nodiscard]] static const Vesk_NachrichtenTyp& gibNachrichtenTypSendeArt(
      vesk::MeldungsText sendeArt);

  // The process-wide register. Throws Vesk_Exception before initialisiere.
  [[nodiscard]] static const vesk::NachrichtenTypRegister& gibRegister();

  // Empties the registry, for tests and fuzz targets; the checker never calls it.
  static void zuruecksetzenFuerTests();
};
