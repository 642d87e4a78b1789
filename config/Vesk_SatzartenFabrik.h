#pragma once
#include <string_view>

class IniFile;
class Vesk_Satzart;

namespace vesk {
class SatzartenRegister;
}

// The process-wide registry of record types, the one the checker's command line loads. Builds
// each record type from its group of the record-definition file on first request and keeps it
// until the process ends; a record type that fails to build is not kept, so asking again fails
// again the same way.
class Vesk_SatzartenFabrik {
 public:
  static constexpr std::string_view VORSATZ = "4001";
  static constexpr std::string_view NACHSATZ = "4999";
  static constexpr std::string_view ANHANGSBESCHREIBUNG = "4900";

  // Binds the registry to a copy of the record-definition file; acts only once.
  static void initialisiere(const IniFile& ini);
  // The record type `name`. Throws Vesk_Exception before initialisiere, and
  // Vesk_DatensatzDateiException (or another Vesk_IniFileException) when the type has no group
  // or a faulty definition.
  [[nodiscard]] static const Vesk_Satzart& gibSatzart(std::string_view name);
  // Like gibSatzart, but nullptr instead of an exception when the file has no group `name`.
  [[nodiscard]] static const Vesk_Satzart* sucheSatzart(std::string_view name);
  // The process-wide register. Throws Vesk_Exception before initialisiere.
  [[nodiscard]] static const vesk::SatzartenRegister& gibRegister();
  [[nodiscard]] static const Vesk_Satzart& gibVorsatz() { return gibSatzart(VORSATZ); }
  [[nodiscard]] static const Vesk_Satzart& gibNachsatz() { return gibSatzart(NACHSATZ); }

  // Empties the registry, for tests and fuzz targets; the checker never calls it.
  static void zuruecksetzenFuerTests();
};
