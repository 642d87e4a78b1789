#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "config/EinmalGebaut.h"
#include "config/IniFile.h"
#include "fields/MeldungsText.h"

class Vesk_NachrichtenTyp;

namespace vesk {

class SatzartenRegister;

// The message types of one structure-definition file, by name and by Sendeart. The types listed
// in group "Nachrichtentypen" are built by baueAufgelistete; any other group is built on its first
// request by name. Safe to use from many threads at once once baueAufgelistete has returned.
class NachrichtenTypRegister {
 public:
  // Binds the register to `ini` and to the record types the message types name, which must
  // outlive it; builds nothing yet.
  NachrichtenTypRegister(IniFile ini, const SatzartenRegister& satzArten);
  ~NachrichtenTypRegister();
  NachrichtenTypRegister(const NachrichtenTypRegister&) = delete;
  NachrichtenTypRegister& operator=(const NachrichtenTypRegister&) = delete;

  // Builds every listed type and registers its Sendeart, in the order of the list. Throws
  // Vesk_StrukturDateiException (or a record-definition fault) at the first fault, keeping what
  // was registered before it. Call once, before the register is shared between threads.
  void baueAufgelistete();
  // The type `name`. Throws Vesk_StrukturDateiException when the file has no group `name`.
  [[nodiscard]] const Vesk_NachrichtenTyp& gib(std::string_view name) const;
  // The type registered for `sendeArt` (exact; bytes 0x80 and above never match). Throws
  // Vesk_StrukturDateiException "Nachrichtentyp nach Sendeart <s> nicht definiert".
  [[nodiscard]] const Vesk_NachrichtenTyp& gibSendeArt(MeldungsText sendeArt) const;
  [[nodiscard]] const IniFile& gibDatei() const { return ini; }

 private:
  IniFile ini;
  const SatzartenRegister& satzArten;
  // One place per group of the file, fixed once constructed, so lookups need no lock.
  std::map<std::string, EinmalGebaut<Vesk_NachrichtenTyp>, std::less<>> plaetze;
  std::map<std::string, const Vesk_NachrichtenTyp*, std::less<>> nachSendeArt;
  mutable std::mutex bauen;
};

}  // namespace vesk
