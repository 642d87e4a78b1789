#pragma once
#include <string_view>

class Vesk_Feldart;

// The process-wide registry of the field kinds by code: "n", "an", "u4"/"u6" (one time kind),
// "d6"/"d8" (one date kind). Owns one immutable instance per kind until the process ends; every
// configuration and thread shares them.
class Vesk_FeldartenFabrik {
 public:
  // Fills the registry; acts only once, and is safe to call from several threads.
  static void initialisiere();
  // The kind of `code` (exact, case-sensitive), or nullptr after writing
  // "Feldart: <code> nicht gefunden" on standard error. Initialises on first use.
  [[nodiscard]] static const Vesk_Feldart* gibFeldart(std::string_view code);

  // Empties the registry, for tests and fuzz targets; the checker never calls it.
  static void zuruecksetzenFuerTests();
};
