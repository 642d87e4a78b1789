#pragma once
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "config/IniFile.h"
#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_IniFileException.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "config/Vesk_StrukturDateiException.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"
#include "tests/support/TestDateien.h"

namespace vesk::test {

// File names the helpers below write into the test folder.
inline constexpr std::string_view datensatzDateiName = "datensaetze.ini";
inline constexpr std::string_view strukturDateiName = "struktur.ini";

// Empties all four registries and restores both class-wide exception file names.
inline void setzeRegistrysZurueck() {
  Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests();
  Vesk_SatzartenFabrik::zuruecksetzenFuerTests();
  Vesk_FeldartenFabrik::zuruecksetzenFuerTests();
  Vesk_WertemengenFabrik::zuruecksetzenFuerTests();
  Vesk_DatensatzDateiException::setzeDateiname("Datensatzdatei");
  Vesk_StrukturDateiException::setzeDateiname("Strukturdatei");
}

// Writes `datensaetze` as the record-definition file into `ordner` and initialises the registries
// in the checker's order: value sets, field kinds, record types. When `struktur` is not empty it
// is written as the structure-definition file and the message-type registry is initialised too.
// Exceptions of the registries propagate (the value-set registry requires a non-empty group
// "Wertemengen"). Call setzeRegistrysZurueck (or use RegistryTest) before loading other files.
inline void ladeDefinitionen(const TestOrdner& ordner, std::string_view datensaetze,
                             std::string_view struktur = {}) {
  const IniFile datensatzIni(ordner.schreibe(datensatzDateiName, datensaetze));
  Vesk_WertemengenFabrik::initialisiere(datensatzIni);
  Vesk_FeldartenFabrik::initialisiere();
  Vesk_SatzartenFabrik::initialisiere(datensatzIni);
  if (!struktur.empty()) {
    const IniFile strukturIni(ordner.schreibe(strukturDateiName, struktur));
    Vesk_NachrichtenTypFabrik::initialisiere(strukturIni);
  }
}

// Fixture base: every test starts and ends with empty registries and the default exception file
// names, and has its own scratch folder.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { setzeRegistrysZurueck(); }
  void TearDown() override { setzeRegistrysZurueck(); }

  TestOrdner ordner;
};

// The most derived of the four exception classes, and what an exception of it shows.
enum class AusnahmeKlasse { Exception, IniFile, StrukturDatei, DatensatzDatei };

struct Ausnahme {
  AusnahmeKlasse klasse;
  std::string text;                   // toString(), as the driver prints it
  std::string beschreibung;           // gibBeschreibung(), the bare text
  std::optional<std::string> gruppe;  // the group of a Vesk_IniFileException
};

inline Ausnahme beschreibe(const Vesk_Exception& e) {
  Ausnahme a{AusnahmeKlasse::Exception, e.toString(), e.gibBeschreibung(), std::nullopt};
  if (const auto* ini = dynamic_cast<const Vesk_IniFileException*>(&e)) {
    a.gruppe = ini->gibGruppe();
    a.klasse = AusnahmeKlasse::IniFile;
    if (dynamic_cast<const Vesk_StrukturDateiException*>(&e) != nullptr) {
      a.klasse = AusnahmeKlasse::StrukturDatei;
    } else if (dynamic_cast<const Vesk_DatensatzDateiException*>(&e) != nullptr) {
      a.klasse = AusnahmeKlasse::DatensatzDatei;
    }
  }
  return a;
}

// Runs `aktion` and returns what the Vesk_Exception it threw shows; nullopt when nothing was
// thrown. Any other exception passes on and fails the test.
template <class Aktion>
std::optional<Ausnahme> fangeAusnahme(Aktion&& aktion) {
  try {
    aktion();
  } catch (const Vesk_Exception& e) {
    return beschreibe(e);
  }
  return std::nullopt;
}

}  // namespace vesk::test
