#pragma once
#include <memory>
#include <string_view>

class IniFile;
class Vesk_WerteMenge;

namespace vesk {
class WertemengenRegister;
}

// The process-wide registry of the named value sets of the group "Wertemengen" of the
// record-definition file. Owns them until the process ends.
class Vesk_WertemengenFabrik {
 public:
  static constexpr std::string_view werteMengenFeldname = "Wertemengen";

  // Builds one set per variable of the group; acts only once it has succeeded. Throws
  // Vesk_DatensatzDateiException when the group is missing or empty, or a definition is faulty;
  // only an interval bound that is no integer names the group "Wertemengen".
  static void initialisiere(const IniFile& ini);
  // Builds the sets of `ini` into a register of their own, which the process-wide one never sees;
  // throws as initialisiere does.
  [[nodiscard]] static vesk::WertemengenRegister lade(const IniFile& ini);
  // Parses one definition (interval, enumeration or "<file>") into a new set named `name`.
  // Throws Vesk_DatensatzDateiException, without a group, for a faulty definition.
  // Parses the definition of the named set `name` of the group "Wertemengen", as initialisiere
  // does for each: a bad interval bound names the group.
  [[nodiscard]] static std::unique_ptr<Vesk_WerteMenge> erzeugeBenannteWerteMenge(
      std::string_view name, std::string_view definition);
  [[nodiscard]] static std::unique_ptr<Vesk_WerteMenge> createWerteMenge(
      std::string_view name, std::string_view definition);
  // The named set, or nullptr when no set has that name.
  [[nodiscard]] static const Vesk_WerteMenge* gibWerteMenge(std::string_view name);
  // The process-wide sets, empty before initialisiere.
  [[nodiscard]] static const vesk::WertemengenRegister& gibRegister();

  // Empties the registry, so that tests and fuzz targets can load other files; the checker
  // itself never calls it.
  static void zuruecksetzenFuerTests();
};
