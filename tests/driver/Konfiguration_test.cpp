#include "driver/Konfiguration.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "config/Vesk_Exception.h"
#include "driver/NachrichtenDatei.h"
#include "driver/Vesk_Plausipruefung.h"
#include "errors/Vesk_FehlerListe.h"
#include "tests/support/Registry.h"

namespace {

namespace fs = std::filesystem;
using vesk::Konfiguration;

// The protocol lines of one check, or the exception's text when the check ended in one.
std::string ergebnis(const Vesk_Plausipruefung& pruefung, const NachrichtenDatei& nachricht) {
  try {
    const Vesk_FehlerListe liste = pruefung.pruefe(nachricht.bytes(), nullptr);
    std::string zeilen = liste.gibNachrichtenTyp().value_or("?") + "\n";
    for (std::size_t i = 0; i < liste.gibGroesse(); ++i) {
      zeilen += Vesk_FehlerListe::protokollZeile(liste.gibFehler(i)) + "\n";
    }
    return zeilen;
  } catch (const Vesk_Exception& e) {
    return e.toString();
  }
}

// Runs in a copy of the example configuration, whose definition files name each other and
// their value-set file relative to the current folder. A second copy, "zwei/", assigns the
// claim report another Sendeart.
class KonfigurationTest : public vesk::test::RegistryTest {
 protected:
  void SetUp() override {
    RegistryTest::SetUp();
    vorher = fs::current_path();
    for (const char* ziel : {"eins", "zwei"}) {
      fs::copy(fs::path(VESK_QUELLEN) / "examples", ordner.wurzel() / ziel,
               fs::copy_options::recursive);
    }
    const std::string struktur = vesk::test::leseDatei(ordner.pfad("zwei/struktur.ini"));
    std::string geaendert = struktur;
    geaendert.replace(geaendert.find("Schadenmeldung    = 01"), 22, "Schadenmeldung    = 09");
    ordner.schreibe("zwei/struktur.ini", geaendert);
    fs::current_path(ordner.wurzel());
    for (const auto& eintrag : fs::directory_iterator(ordner.wurzel() / "eins/nachrichten")) {
      if (eintrag.path().extension() == ".dat") {
        nachrichten.emplace_back(eintrag.path().string());
      }
    }
  }
  void TearDown() override {
    fs::current_path(vorher);
    RegistryTest::TearDown();
  }

  static Konfiguration::Dateien dateien(const std::string& unterordner) {
    return {unterordner + "/struktur.ini", unterordner + "/datensaetze.ini"};
  }

  fs::path vorher;
  std::vector<NachrichtenDatei> nachrichten;
};

TEST_F(KonfigurationTest, ChecksLikeTheProcessWideRegistriesAndLeavesThemAlone) {
  // Value-set files are named relative to the current folder, as in the checker.
  fs::current_path(ordner.wurzel() / "eins");
  const Konfiguration eigene(dateien("."));
  EXPECT_THROW(static_cast<void>(Vesk_SatzartenFabrik::gibSatzart("4001")), Vesk_Exception);

  const Vesk_Plausipruefung prozessweit("./struktur.ini", "./datensaetze.ini");
  const Vesk_Plausipruefung aufEigener(eigene);
  ASSERT_EQ(nachrichten.size(), 6U);
  for (const NachrichtenDatei& nachricht : nachrichten) {
    EXPECT_EQ(ergebnis(aufEigener, nachricht), ergebnis(prozessweit, nachricht));
  }
}

TEST_F(KonfigurationTest, TwoConfigurationsCheckSideBySideOnManyThreads) {
  fs::current_path(ordner.wurzel() / "eins");
  const Konfiguration eins(dateien("."));
  const Konfiguration zwei(dateien("../zwei"));
  const Vesk_Plausipruefung pruefungEins(eins);
  const Vesk_Plausipruefung pruefungZwei(zwei);
  std::vector<std::string> erwartetEins;
  std::vector<std::string> erwartetZwei;
  for (const NachrichtenDatei& nachricht : nachrichten) {
    erwartetEins.push_back(ergebnis(pruefungEins, nachricht));
    erwartetZwei.push_back(ergebnis(pruefungZwei, nachricht));
  }
  // The second configuration knows no Sendeart 01, and its fault names its own file.
  EXPECT_NE(erwartetEins, erwartetZwei);
  EXPECT_NE(std::find(erwartetZwei.begin(), erwartetZwei.end(),
                      "../zwei/struktur.ini:Nachrichtentyp nach Sendeart 01 nicht definiert"),
            erwartetZwei.end());

  std::vector<std::thread> faeden;
  std::vector<int> abweichungen(4, 0);
  for (std::size_t f = 0; f < abweichungen.size(); ++f) {
    faeden.emplace_back([&, f] {
      for (int runde = 0; runde < 25; ++runde) {
        for (std::size_t i = 0; i < nachrichten.size(); ++i) {
          abweichungen[f] += ergebnis(pruefungEins, nachrichten[i]) != erwartetEins[i];
          abweichungen[f] += ergebnis(pruefungZwei, nachrichten[i]) != erwartetZwei[i];
        }
      }
    });
  }
  for (std::thread& faden : faeden) {
    faden.join();
  }
  EXPECT_EQ(abweichungen, std::vector<int>(4, 0));
}

}  // namespace
