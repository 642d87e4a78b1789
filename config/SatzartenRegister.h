#pragma once
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "config/EinmalGebaut.h"
#include "config/IniFile.h"

class Vesk_Satzart;

namespace vesk {

class WertemengenRegister;

// The record types of one record-definition file. Each is built from its group on first request
// and kept; one that fails to build is not kept, so asking again fails again the same way. Safe
// to use from many threads at once: a built record type is found without a lock.
class SatzartenRegister {
 public:
  // Binds the register to `ini` and to the named value sets the fields refer to, which must
  // outlive it; builds nothing yet.
  SatzartenRegister(IniFile ini, const WertemengenRegister& werteMengen);
  ~SatzartenRegister();
  SatzartenRegister(const SatzartenRegister&) = delete;
  SatzartenRegister& operator=(const SatzartenRegister&) = delete;

  // The record type `name`. Throws Vesk_DatensatzDateiException (or another
  // Vesk_IniFileException) when the file has no group `name` or its definition is faulty.
  [[nodiscard]] const Vesk_Satzart& gib(std::string_view name) const;
  // Like gib, but nullptr instead of an exception when the file has no group `name`.
  [[nodiscard]] const Vesk_Satzart* suche(std::string_view name) const;
  [[nodiscard]] const IniFile& gibDatei() const { return ini; }

 private:
  [[nodiscard]] const Vesk_Satzart& baue(std::string_view name,
                                         const EinmalGebaut<Vesk_Satzart>& platz) const;

  IniFile ini;
  const WertemengenRegister& werteMengen;
  // One place per group of the file, fixed once constructed, so lookups need no lock.
  std::map<std::string, EinmalGebaut<Vesk_Satzart>, std::less<>> plaetze;
  mutable std::mutex bauen;
};

}  // namespace vesk
