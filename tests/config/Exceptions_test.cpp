#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_DatensatzDateiException.h"
#include "config/Vesk_Exception.h"
#include "config/Vesk_IniFileException.h"
#include "config/Vesk_StrukturDateiException.h"
#include "tests/support/Registry.h"

namespace {

using vesk::test::AusnahmeKlasse;

class Ausnahmen : public vesk::test::RegistryTest {};

struct Format {
  std::function<void()> wirf;
  const char* vorher;   // toString with the initial file names
  const char* nachher;  // after setzeDateiname("satz.ini") and ("struktur.ini")
};

TEST_F(Ausnahmen, PrintFileGroupAndTextByClass) {
  const std::vector<Format> faelle = {
      {[] { throw Vesk_Exception("Text"); }, "Text", "Text"},
      {[] { throw Vesk_IniFileException("Text"); }, "Text", "Text"},
      {[] { throw Vesk_IniFileException("Text", "4100"); }, "4100:Text", "4100:Text"},
      {[] { throw Vesk_IniFileException("Text", ""); }, ":Text", ":Text"},
      {[] { throw Vesk_DatensatzDateiException("Text"); }, "Datensatzdatei:Text", "satz.ini:Text"},
      {[] { throw Vesk_DatensatzDateiException("Text", "4100"); }, "Datensatzdatei,4100:Text",
       "satz.ini,4100:Text"},
      {[] { throw Vesk_StrukturDateiException("Text"); }, "Strukturdatei:Text",
       "struktur.ini:Text"},
      {[] { throw Vesk_StrukturDateiException("Text", "Schadenmeldung"); },
       "Strukturdatei,Schadenmeldung:Text", "struktur.ini,Schadenmeldung:Text"},
  };
  for (const Format& fall : faelle) {
    SCOPED_TRACE(fall.vorher);
    const auto ausnahme = vesk::test::fangeAusnahme(fall.wirf);
    ASSERT_TRUE(ausnahme.has_value());
    EXPECT_EQ(ausnahme->text, fall.vorher);
    EXPECT_EQ(ausnahme->beschreibung, "Text");
  }
  Vesk_DatensatzDateiException::setzeDateiname("satz.ini");
  Vesk_StrukturDateiException::setzeDateiname("struktur.ini");
  for (const Format& fall : faelle) {
    SCOPED_TRACE(fall.nachher);
    EXPECT_EQ(vesk::test::fangeAusnahme(fall.wirf)->text, fall.nachher);
  }
}

TEST_F(Ausnahmen, FileNameIsSharedByEveryExceptionOfOneClassOnly) {
  const Vesk_DatensatzDateiException frueher("Text", "4100");
  const Vesk_StrukturDateiException andereKlasse("Text");
  Vesk_DatensatzDateiException::setzeDateiname("satz.ini");
  EXPECT_EQ(frueher.toString(), "satz.ini,4100:Text");
  EXPECT_EQ(andereKlasse.toString(), "Strukturdatei:Text");
  Vesk_StrukturDateiException::setzeDateiname("");
  EXPECT_EQ(andereKlasse.toString(), ":Text");
}

TEST_F(Ausnahmen, GroupIsSetOrReplacedOnTheWayOut) {
  Vesk_DatensatzDateiException ausnahme("Text", "4100");
  ausnahme.setzeGruppe("Schadenmeldung");
  EXPECT_EQ(ausnahme.toString(), "Datensatzdatei,Schadenmeldung:Text");
  EXPECT_EQ(ausnahme.gibBeschreibung(), "Text");
}

TEST_F(Ausnahmen, RethrowKeepsTheClassAndTheAddedGroup) {
  const auto ausnahme = vesk::test::fangeAusnahme([] {
    try {
      throw Vesk_StrukturDateiException("Adresse 299 > 256 ");
    } catch (Vesk_IniFileException& e) {
      e.setzeGruppe("4100");
      throw;
    }
  });
  ASSERT_TRUE(ausnahme.has_value());
  EXPECT_EQ(ausnahme->klasse, AusnahmeKlasse::StrukturDatei);
  EXPECT_EQ(ausnahme->gruppe, "4100");
  EXPECT_EQ(ausnahme->text, "Strukturdatei,4100:Adresse 299 > 256 ");
}

}  // namespace
