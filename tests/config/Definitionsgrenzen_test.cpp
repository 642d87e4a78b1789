// Definition files at the edges of size and sense: they load in time proportional to their
// size and end in a fault text, never in a crash.
#include <chrono>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "config/Vesk_Satzart.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "driver/Vesk_Plausipruefung.h"
#include "tests/support/Registry.h"

namespace {

using Definitionsgrenzen = vesk::test::RegistryTest;

TEST_F(Definitionsgrenzen, HundredThousandRecordTypesLoadAndBuildQuickly) {
  std::string text = "[Wertemengen]\nZiffern = 0-9\n";
  text.reserve(4'000'000);
  for (int i = 0; i < 100'000; ++i) {
    text += "[" + std::to_string(100'000 + i) + "]\nAlles = , an, 1, 256\n";
  }
  const auto beginn = std::chrono::steady_clock::now();
  vesk::test::ladeDefinitionen(ordner, text);
  for (int i = 0; i < 100'000; i += 997) {
    const std::string name = std::to_string(100'000 + i);
    EXPECT_EQ(Vesk_SatzartenFabrik::gibSatzart(name).gibBezeichner(), name);
  }
  EXPECT_EQ(Vesk_SatzartenFabrik::gibSatzart("199999").gibAnzahlFelder(), 1U);
  EXPECT_LT(std::chrono::steady_clock::now() - beginn, std::chrono::seconds(30));
}

TEST_F(Definitionsgrenzen, FieldDefinitionOfTenMegabytesIsOneInlineValue) {
  const std::string wert(10'000'000, 'x');
  vesk::test::ladeDefinitionen(
      ordner, "[Wertemengen]\nZiffern = 0-9\n[4001]\nAlles = , an, 1, 256," + wert + "\n");
  const Vesk_DatenFeld* feld = Vesk_SatzartenFabrik::gibSatzart("4001").gibDatenFeld(1);
  ASSERT_NE(feld, nullptr);
  ASSERT_NE(feld->gibWerteMenge(), nullptr);
  EXPECT_TRUE(feld->gibWerteMenge()->inDerMenge(vesk::MeldungsText(wert)));
}

// Random bytes as both definition files: the checker refuses them with its own fault text.
TEST_F(Definitionsgrenzen, BinaryJunkAsDefinitionFilesIsAFaultOfTheConfiguration) {
  std::mt19937 zufall(4711);
  for (int versuch = 0; versuch < 20; ++versuch) {
    std::string junk(64 * 1024, '\0');
    for (char& byte : junk) {
      byte = static_cast<char>(zufall() & 0xFF);
    }
    vesk::test::setzeRegistrysZurueck();
    const std::string struktur = ordner.schreibe("struktur.ini", junk);
    const std::string datensaetze = ordner.schreibe("datensaetze.ini", junk);
    EXPECT_THROW(Vesk_Plausipruefung(struktur, datensaetze), Vesk_Exception);
  }
}

}  // namespace
