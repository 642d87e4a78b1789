#include "driver/Vesk_Meldung.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "driver/Vesk_Datensatz.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"
#include "tests/support/SatzBauer.h"

namespace {

constexpr std::string_view DEFINITIONEN = R"([Wertemengen]
Ziffern = 0 - 9

[4001]
Alles = , an, 1, 256

[4100.1]
Alles = , an, 1, 256

[4100.2]
Alles = , an, 1, 256

[4200]
Satzart = m, n, 1, 4
Zahl    =  , n, 5, 3
Rest    =  , an, 8, 249

[4999]
Alles = , an, 1, 256
)";

class MeldungTest : public vesk::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    vesk::test::ladeDefinitionen(ordner, DEFINITIONEN);
    bytes = vesk::test::NachrichtenBauer()
                .satz(vesk::test::SatzBauer("4200").setze(5, "123"))
                .satz(vesk::test::SatzBauer("4200").setze(5, "1x3"))
                .anhang(44)
                .satz(vesk::test::SatzBauer("4999"))
                .alsBytes();
  }

  // A record of the message under `name`, with the record type of `satzart`.
  [[nodiscard]] Vesk_Datensatz satz(std::string_view name, std::string_view satzart,
                                    std::size_t start = 0) const {
    return {name, Vesk_SatzartenFabrik::gibSatzart(satzart), bytes, start};
  }

  std::vector<unsigned char> bytes;
};

using DatensatzName = MeldungTest;

TEST_F(DatensatzName, GivesRecordTypeNumberAndPartialRecordNumber) {
  struct Fall {
    std::string_view name;
    std::string_view satzart;
    std::string_view bezeichner;
    std::int32_t teilSatzNummer;
  };
  const Fall faelle[] = {
      {"4001", "4001", "4001", 1},
      {"4100.1", "4100.1", "4100", 1},
      {"4100.2", "4100.2", "4100", 2},
      {"4100.", "4100.1", "4100", 1},  // a point without a number is no partial record
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const Vesk_Datensatz datensatz = satz(fall.name, fall.satzart);
    EXPECT_EQ(datensatz.gibBezeichner(), fall.bezeichner);
    EXPECT_EQ(datensatz.gibTeilSatzNummer(), fall.teilSatzNummer);
  }
}

TEST_F(DatensatzName, RejectsNamesThatAreNoNumbers) {
  for (const std::string_view name : {"41x0", "4100.a", "4100.1a", "4100.+1"}) {
    SCOPED_TRACE(name);
    try {
      static_cast<void>(satz(name, "4100.1"));
      ADD_FAILURE() << "no exception";
    } catch (const Vesk_Exception& e) {
      EXPECT_EQ(e.toString(),
                "Nummernformat bei der Satzart " + std::string(name) + " nicht korrekt");
    }
  }
}

TEST_F(DatensatzName, ComparesRecordTypeNumbersOnly) {
  const Vesk_Datensatz vorsatz = satz("4001", "4001");
  const Vesk_Datensatz teil1 = satz("4100.1", "4100.1", 256);
  const Vesk_Datensatz teil2 = satz("4100.2", "4100.2");

  EXPECT_TRUE(teil1.istGroesserGleich(teil2));
  EXPECT_TRUE(teil2.istGroesserGleich(teil1));
  EXPECT_FALSE(vorsatz.istGroesserGleich(teil1));
  EXPECT_TRUE(teil1.istGroesserGleich(vorsatz));
}

TEST_F(MeldungTest, KeepsRecordsInMessageOrderWithTheirOffsets) {
  Vesk_Meldung meldung;
  meldung.satzAnfuegen("4200", Vesk_SatzartenFabrik::gibSatzart("4200"), bytes, 0);
  meldung.satzAnfuegen("4200", Vesk_SatzartenFabrik::gibSatzart("4200"), bytes, 256);
  meldung.satzAnfuegen("4999", Vesk_SatzartenFabrik::gibSatzart("4999"), bytes, bytes.size() - 256);

  std::vector<std::string_view> bezeichner;
  std::vector<std::size_t> anfaenge;
  for (const Vesk_Datensatz& datensatz : meldung.gibDatensaetze()) {
    bezeichner.push_back(datensatz.gibBezeichner());
    anfaenge.push_back(meldung.gibStartAdresse(datensatz));
  }
  EXPECT_EQ(bezeichner, (std::vector<std::string_view>{"4200", "4200", "4999"}));
  EXPECT_EQ(anfaenge, (std::vector<std::size_t>{0, 256, 556}));
}

TEST_F(MeldungTest, ChecksTheFieldsOfItsOwnRecord) {
  Vesk_Meldung meldung;
  meldung.satzAnfuegen("4200", Vesk_SatzartenFabrik::gibSatzart("4200"), bytes, 0);
  meldung.satzAnfuegen("4200", Vesk_SatzartenFabrik::gibSatzart("4200"), bytes, 256);
  Vesk_FehlerListe liste;

  EXPECT_TRUE(meldung.gibDatensaetze()[0].pruefe(liste));
  EXPECT_EQ(liste.gibGroesse(), 0U);
  EXPECT_FALSE(meldung.gibDatensaetze()[1].pruefe(liste));
  ASSERT_EQ(liste.gibGroesse(), 1U);
  EXPECT_EQ(liste.gibFehler(0).gibFehlerNummer(), 11);
  EXPECT_EQ(liste.gibFehler(0).gibSatzart(), "4200");
}

}  // namespace
