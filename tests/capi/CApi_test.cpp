#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#endif

#include <gtest/gtest.h>

#include "capi/vesk.h"
#include "driver/Konfiguration.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

struct KonfigurationFrei {
  void operator()(vesk_konfiguration* k) const { vesk_konfiguration_freigeben(k); }
};
struct ErgebnisFrei {
  void operator()(vesk_ergebnis* e) const { vesk_ergebnis_freigeben(e); }
};
using KonfigurationHandle = std::unique_ptr<vesk_konfiguration, KonfigurationFrei>;
using ErgebnisHandle = std::unique_ptr<vesk_ergebnis, ErgebnisFrei>;

// The configuration, or a failed assertion with the library's text.
KonfigurationHandle lade(const std::string& iniDatei) {
  char* fehler = nullptr;
  KonfigurationHandle konfiguration(vesk_konfiguration_laden(iniDatei.c_str(), &fehler));
  EXPECT_NE(konfiguration, nullptr) << (fehler != nullptr ? fehler : "");
  vesk_text_freigeben(fehler);
  return konfiguration;
}

std::optional<std::string> alsText(const char* text) {
  return text != nullptr ? std::optional<std::string>(text) : std::nullopt;
}

template <class Zahl>
std::optional<Zahl> alsZahl(Zahl zahl) {
  return zahl >= 0 ? std::optional<Zahl>(zahl) : std::nullopt;
}

// Every field of a C finding against the finding of the C++ report it stands for.
void vergleiche(const vesk_fehler& c, const vesk::VerorteterFehler& erwartet) {
  EXPECT_EQ(c.art, erwartet.art);
  EXPECT_EQ(c.nummer, erwartet.nummer);
  EXPECT_EQ(c.beschreibung, erwartet.beschreibung);
  EXPECT_EQ(alsText(c.text), erwartet.text);
  EXPECT_EQ(alsText(c.satzart), erwartet.satzart);
  EXPECT_EQ(alsZahl(c.feldnummer), erwartet.feldnummer);
  EXPECT_EQ(alsText(c.feldname), erwartet.feldname);
  EXPECT_EQ(alsZahl(c.datensatz), erwartet.datensatz);
  EXPECT_EQ(alsZahl(c.offset), erwartet.offset);
  EXPECT_EQ(alsZahl(c.laenge), erwartet.laenge);
  const std::optional<std::string> wert =
      c.wert != nullptr ? std::optional<std::string>(
                              std::in_place, reinterpret_cast<const char*>(c.wert), c.wert_laenge)
                        : std::nullopt;
  EXPECT_EQ(wert, erwartet.wert);
}

// Runs in examples/, whose definition files name their value-set file relative to it.
class CApiBeispiele : public ::testing::Test {
 protected:
  void SetUp() override {
    vorher = fs::current_path();
    fs::current_path(fs::path(VESK_QUELLEN) / "examples");
    for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
      if (eintrag.path().extension() == ".dat") {
        nachrichten.push_back(eintrag.path().string());
      }
    }
  }
  void TearDown() override { fs::current_path(vorher); }

  fs::path vorher;
  std::vector<std::string> nachrichten;
};

TEST_F(CApiBeispiele, FileAndBytesGiveTheFindingsOfTheReport) {
  const KonfigurationHandle konfiguration = lade("plausi.ini");
  ASSERT_NE(konfiguration, nullptr);
  const auto eigene = vesk::Konfiguration::lade("plausi.ini");
  ASSERT_EQ(nachrichten.size(), 6U);
  for (const std::string& pfad : nachrichten) {
    SCOPED_TRACE(pfad);
    const vesk::NachrichtenErgebnis erwartet = vesk::pruefeDatei(*eigene, pfad);
    const std::string bytes = vesk::test::leseDatei(pfad);
    const ErgebnisHandle ausDatei(vesk_pruefe_datei(konfiguration.get(), pfad.c_str()));
    const ErgebnisHandle ausBytes(
        vesk_pruefe_bytes(konfiguration.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                          bytes.size(), pfad.c_str()));
    for (const vesk_ergebnis* ergebnis : {ausDatei.get(), ausBytes.get()}) {
      ASSERT_NE(ergebnis, nullptr);
      EXPECT_EQ(vesk_ergebnis_json(ergebnis), vesk::alsJsonZeile(erwartet));
      EXPECT_EQ(vesk_ergebnis_exit_status(ergebnis), erwartet.exitStatus());
      EXPECT_EQ(vesk_ergebnis_nachricht(ergebnis), pfad);
      EXPECT_EQ(alsText(vesk_ergebnis_nachrichtentyp(ergebnis)), erwartet.nachrichtenTyp);
      EXPECT_EQ(vesk_ergebnis_abbruch(ergebnis), nullptr);
      ASSERT_EQ(vesk_ergebnis_anzahl_fehler(ergebnis), erwartet.fehler.size());
      for (std::size_t i = 0; i < erwartet.fehler.size(); ++i) {
        vergleiche(*vesk_ergebnis_fehler(ergebnis, i), erwartet.fehler[i]);
      }
      EXPECT_EQ(vesk_ergebnis_fehler(ergebnis, erwartet.fehler.size()), nullptr);
    }
  }
}

// A result owns what it shows, so it outlives its configuration.
TEST_F(CApiBeispiele, AResultOutlivesItsConfiguration) {
  KonfigurationHandle konfiguration = lade("plausi.ini");
  const ErgebnisHandle ergebnis(
      vesk_pruefe_datei(konfiguration.get(), "nachrichten/schadenmeldung_feldfehler.dat"));
  konfiguration.reset();
  ASSERT_EQ(vesk_ergebnis_anzahl_fehler(ergebnis.get()), 2U);
  EXPECT_STREQ(vesk_ergebnis_fehler(ergebnis.get(), 1)->feldname, "Schadennummer");
  EXPECT_STREQ(vesk_ergebnis_nachrichtentyp(ergebnis.get()), "Schadenmeldung");
}

// A library must leave the signal handlers of the program that loads it alone, also for a file
// large enough that the checker would map it (and catch SIGBUS for it).
TEST_F(CApiBeispiele, ALargeFileIsReadWithoutTouchingSignalHandlers) {
  const vesk::test::TestOrdner ordner;
  const std::string bytes(1024 * 1024, '0');
  const std::string pfad = ordner.schreibe("gross.dat", bytes);
  const KonfigurationHandle konfiguration = lade("plausi.ini");
#ifndef _WIN32
  // A sanitizer may have set its own handler before; it must still be there afterwards.
  struct sigaction zuvor {};
  ASSERT_EQ(::sigaction(SIGBUS, nullptr, &zuvor), 0);
#endif
  const ErgebnisHandle ausDatei(vesk_pruefe_datei(konfiguration.get(), pfad.c_str()));
#ifndef _WIN32
  struct sigaction danach {};
  ASSERT_EQ(::sigaction(SIGBUS, nullptr, &danach), 0);
  EXPECT_EQ(danach.sa_handler, zuvor.sa_handler);
#endif
  const ErgebnisHandle ausBytes(
      vesk_pruefe_bytes(konfiguration.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
                        bytes.size(), pfad.c_str()));
  EXPECT_STREQ(vesk_ergebnis_json(ausDatei.get()), vesk_ergebnis_json(ausBytes.get()));
  EXPECT_EQ(vesk_ergebnis_exit_status(ausDatei.get()), 1);
}

struct Abbruchfall {
  const char* name;
  std::string bytes;  // checked as bytes when `datei` is nullptr
  const char* datei;  // checked as this file when given
  const char* abbruch;
};

// Whatever ends the checker's run with the exception report ends the check with status 2 and
// the report's text, also for bytes in memory.
TEST_F(CApiBeispiele, FaultsEndTheCheckWithTheCheckersText) {
  const KonfigurationHandle konfiguration = lade("plausi.ini");
  const std::vector<Abbruchfall> faelle = {
      {"eingang", "", nullptr, "Nachrichtendatei eingang nicht gefunden"},
      {"", "", nullptr, "Nachrichtendatei  nicht gefunden"},
      {"", "", "fehlt.dat", "Nachrichtendatei fehlt.dat nicht gefunden"},
      {"", "", "nachrichten", "Nachrichtendatei nachrichten nicht gefunden"},
  };
  for (const Abbruchfall& fall : faelle) {
    SCOPED_TRACE(fall.abbruch);
    const ErgebnisHandle ergebnis(
        fall.datei != nullptr
            ? vesk_pruefe_datei(konfiguration.get(), fall.datei)
            : vesk_pruefe_bytes(konfiguration.get(),
                                reinterpret_cast<const unsigned char*>(fall.bytes.data()),
                                fall.bytes.size(), fall.name));
    ASSERT_NE(ergebnis, nullptr);
    EXPECT_EQ(vesk_ergebnis_exit_status(ergebnis.get()), 2);
    EXPECT_STREQ(vesk_ergebnis_abbruch(ergebnis.get()), fall.abbruch);
    EXPECT_EQ(vesk_ergebnis_nachrichtentyp(ergebnis.get()), nullptr);
    EXPECT_EQ(vesk_ergebnis_anzahl_fehler(ergebnis.get()), 0U);
  }
  // A short message is a finding of the frame, not a fault.
  const std::string kurz(100, '0');
  const ErgebnisHandle ergebnis(
      vesk_pruefe_bytes(konfiguration.get(), reinterpret_cast<const unsigned char*>(kurz.data()),
                        kurz.size(), nullptr));
  EXPECT_EQ(vesk_ergebnis_exit_status(ergebnis.get()), 1);
  EXPECT_STREQ(vesk_ergebnis_nachricht(ergebnis.get()), "");
}

TEST_F(CApiBeispiele, MisuseGivesNullAndNeverCrashes) {
  const KonfigurationHandle konfiguration = lade("plausi.ini");
  EXPECT_EQ(vesk_pruefe_bytes(nullptr, nullptr, 0, "x"), nullptr);
  EXPECT_EQ(vesk_pruefe_bytes(konfiguration.get(), nullptr, 1, "x"), nullptr);
  EXPECT_EQ(vesk_pruefe_datei(nullptr, "nachrichten/schadenmeldung_ok.dat"), nullptr);
  EXPECT_EQ(vesk_pruefe_datei(konfiguration.get(), nullptr), nullptr);
  EXPECT_EQ(vesk_ergebnis_exit_status(nullptr), 2);
  EXPECT_EQ(vesk_ergebnis_nachricht(nullptr), nullptr);
  EXPECT_EQ(vesk_ergebnis_nachrichtentyp(nullptr), nullptr);
  EXPECT_EQ(vesk_ergebnis_abbruch(nullptr), nullptr);
  EXPECT_EQ(vesk_ergebnis_anzahl_fehler(nullptr), 0U);
  EXPECT_EQ(vesk_ergebnis_fehler(nullptr, 0), nullptr);
  EXPECT_EQ(vesk_ergebnis_json(nullptr), nullptr);
  vesk_ergebnis_freigeben(nullptr);
  vesk_konfiguration_freigeben(nullptr);
  vesk_text_freigeben(nullptr);
  EXPECT_STREQ(vesk_version(), VESK_ERWARTETE_VERSION);
}

struct Ladefall {
  const char* iniDatei;
  const char* fehlertext;
};

TEST_F(CApiBeispiele, LoadingFailsWithTheCheckersText) {
  const std::vector<Ladefall> faelle = {
      {"fehlt.ini", "Pemo-Initialisierungsdatei fehlt.ini nicht gefunden"},
      {nullptr, "Pemo-Initialisierungsdatei  nicht gefunden"},
      {"datensaetze.ini", "Kein Feld fuer Plausipruefung in datensaetze.ini definiert"},
  };
  for (const Ladefall& fall : faelle) {
    SCOPED_TRACE(fall.fehlertext);
    char* fehler = reinterpret_cast<char*>(1);
    EXPECT_EQ(vesk_konfiguration_laden(fall.iniDatei, &fehler), nullptr);
    ASSERT_NE(fehler, nullptr);
    EXPECT_STREQ(fehler, fall.fehlertext);
    vesk_text_freigeben(fehler);
    EXPECT_EQ(vesk_konfiguration_laden(fall.iniDatei, nullptr), nullptr);
  }
  char* fehler = reinterpret_cast<char*>(1);
  const KonfigurationHandle konfiguration(vesk_konfiguration_laden("plausi.ini", &fehler));
  EXPECT_NE(konfiguration, nullptr);
  EXPECT_EQ(fehler, nullptr);
}

// Two copies of the example configuration; the second assigns the claim report another
// Sendeart, so that the two give different results for the same message.
class CApiFaeden : public ::testing::Test {
 protected:
  void SetUp() override {
    vorher = fs::current_path();
    for (const char* ziel : {"eins", "zwei"}) {
      fs::copy(fs::path(VESK_QUELLEN) / "examples", ordner.wurzel() / ziel,
               fs::copy_options::recursive);
    }
    std::string struktur = vesk::test::leseDatei(ordner.pfad("zwei/struktur.ini"));
    struktur.replace(struktur.find("Schadenmeldung    = 01"), 22, "Schadenmeldung    = 09");
    ordner.schreibe("zwei/struktur.ini", struktur);
    ordner.schreibe("zwei/plausi.ini",
                    "[PLAUSIPRUEFUNG]\nSTRUKTUR=../zwei/struktur.ini\n"
                    "DATENSAETZE=../zwei/datensaetze.ini\n");
    fs::current_path(ordner.wurzel() / "eins");
    for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
      if (eintrag.path().extension() == ".dat") {
        nachrichten.push_back(vesk::test::leseDatei(eintrag.path().string()));
      }
    }
  }
  void TearDown() override { fs::current_path(vorher); }

  static std::string json(const vesk_konfiguration* konfiguration, const std::string& bytes) {
    const ErgebnisHandle ergebnis(vesk_pruefe_bytes(
        konfiguration, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), "n"));
    return ergebnis ? vesk_ergebnis_json(ergebnis.get()) : "";
  }

  vesk::test::TestOrdner ordner;
  fs::path vorher;
  std::vector<std::string> nachrichten;
};

TEST_F(CApiFaeden, ManyThreadsCheckOnOneAndOnTwoConfigurationsAtOnce) {
  // Both load at once, too.
  KonfigurationHandle eins;
  KonfigurationHandle zwei;
  {
    std::thread ladeEins([&] { eins = lade("plausi.ini"); });
    std::thread ladeZwei([&] { zwei = lade("../zwei/plausi.ini"); });
    ladeEins.join();
    ladeZwei.join();
  }
  ASSERT_TRUE(eins && zwei);
  std::vector<std::string> erwartetEins;
  std::vector<std::string> erwartetZwei;
  for (const std::string& nachricht : nachrichten) {
    erwartetEins.push_back(json(eins.get(), nachricht));
    erwartetZwei.push_back(json(zwei.get(), nachricht));
  }
  ASSERT_EQ(nachrichten.size(), 6U);
  EXPECT_NE(erwartetEins, erwartetZwei);

  // The first half of the threads uses only the first configuration, the rest both.
  std::atomic<int> abweichungen{0};
  std::vector<std::thread> faeden;
  for (int f = 0; f < 6; ++f) {
    faeden.emplace_back([&, f] {
      for (int runde = 0; runde < 20; ++runde) {
        for (std::size_t i = 0; i < nachrichten.size(); ++i) {
          abweichungen += json(eins.get(), nachrichten[i]) != erwartetEins[i];
          if (f >= 3) {
            abweichungen += json(zwei.get(), nachrichten[i]) != erwartetZwei[i];
          }
        }
      }
    });
  }
  for (std::thread& faden : faeden) {
    faden.join();
  }
  EXPECT_EQ(abweichungen.load(), 0);
}

}  // namespace
