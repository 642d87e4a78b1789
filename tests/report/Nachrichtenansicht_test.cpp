#include "report/Nachrichtenansicht.h"

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "driver/Konfiguration.h"
#include "report/AnsichtBericht.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

// Where the view put each finding: "<record>:<field number>", "<record>" or "Nachricht".
std::vector<std::string> fundorte(const nlohmann::json& json) {
  std::vector<std::string> orte;
  for (const auto& satz : json["datensaetze"]) {
    const std::string datensatz = std::to_string(satz["datensatz"].get<int>());
    for (std::size_t i = 0; i < satz["fehler"].size(); ++i) {
      orte.push_back(datensatz);
    }
    for (const auto& feld : satz["felder"]) {
      for (std::size_t i = 0; i < feld.value("fehler", nlohmann::json::array()).size(); ++i) {
        orte.push_back(datensatz + ":" + std::to_string(feld["feldnummer"].get<int>()));
      }
    }
  }
  for (std::size_t i = 0; i < json["fehler"].size(); ++i) {
    orte.emplace_back("Nachricht");
  }
  return orte;
}

class NachrichtenansichtBeispiele : public ::testing::Test {
 protected:
  void SetUp() override {
    vorher = fs::current_path();
    fs::current_path(fs::path(VESK_QUELLEN) / "examples");
    konfiguration = vesk::Konfiguration::lade("plausi.ini");
  }
  void TearDown() override { fs::current_path(vorher); }

  nlohmann::json zeige(const std::string& bytes) const {
    const std::span<const unsigned char> nachricht(
        reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return nlohmann::json::parse(
        vesk::alsJson(vesk::zeigeBytes(*konfiguration, nachricht, "n")).dump());
  }

  fs::path vorher;
  std::unique_ptr<vesk::Konfiguration> konfiguration;
};

TEST_F(NachrichtenansichtBeispiele, ShowsTheFileBytesAndPutsEachFindingOnItsRecordAndField) {
  const std::map<std::string, std::vector<std::string>> erwartet = {
      {"schadenmeldung_ok.dat", {}},
      {"schadenmeldung_feldfehler.dat", {"1:5", "2:2"}},
      {"schadenmeldung_wertemenge.dat", {"1:7", "2:4"}},
      {"schadenmeldung_musskann.dat", {"Nachricht"}},
      {"schadenmeldung_satzanzahl.dat", {"4", "Nachricht"}},
      {"reparaturfreigabe_struktur.dat", {"Nachricht", "Nachricht"}},
  };
  for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
    if (eintrag.path().extension() != ".dat") {
      continue;
    }
    const std::string name = eintrag.path().filename().string();
    SCOPED_TRACE(name);
    const std::string datei = vesk::test::leseDatei(eintrag.path().string());
    const nlohmann::json json = zeige(datei);
    std::size_t felder = 0;
    for (const auto& satz : json["datensaetze"]) {
      EXPECT_FALSE(satz["satzart"].is_null());
      for (const auto& feld : satz["felder"]) {
        ++felder;
        EXPECT_EQ(
            vesk::test::alsBytes(feld["wert"].get<std::string>()),
            datei.substr(feld["offset"].get<std::size_t>(), feld["laenge"].get<std::size_t>()))
            << feld["feldname"];
      }
    }
    EXPECT_GT(felder, 30U);
    ASSERT_TRUE(erwartet.contains(name));
    EXPECT_EQ(fundorte(json), erwartet.at(name));
  }
}

TEST_F(NachrichtenansichtBeispiele, PlacesEveryAttachmentBehindTheLastRecord) {
  const nlohmann::json json = zeige(vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat"));
  const auto& saetze = json["datensaetze"];
  ASSERT_EQ(saetze.size(), 5U);
  EXPECT_EQ(saetze[3]["anhang"],
            nlohmann::json({{"offset", 1024}, {"laenge", 300}, {"vollstaendig", true}}));
  EXPECT_EQ(saetze[4]["satzart"], "4999");
  EXPECT_EQ(saetze[4]["offset"], 1324);
}

// Damaged messages are shown as far as they can be read, never beyond their bytes.
TEST_F(NachrichtenansichtBeispiele, ShowsDamagedMessagesAsFarAsTheyCanBeRead) {
  const std::string gut = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  struct Fall {
    const char* name;
    std::string bytes;
    std::vector<std::string> satzarten;  // "-" for a record shown raw
  };
  std::string unbekannt = gut;
  unbekannt.replace(512, 4, "XXXX");
  std::string zuLang = gut;
  zuLang.replace(885, 10, "0000009999");
  std::string keineLaenge = gut;
  keineLaenge.replace(885, 10, "         x");
  const std::vector<Fall> faelle = {
      {"leer", "", {}},
      {"ein Byte", "4", {"-"}},
      {"300 Byte", gut.substr(0, 300), {"4001", "-"}},
      {"511 Byte", gut.substr(0, 511), {"4001", "-"}},
      {"unbekannte Satzart", unbekannt, {"4001", "4100.1", "-", "4999"}},
      {"Anhang zu lang", zuLang, {"4001", "4100.1", "4100.2", "4900", "4999"}},
      {"Anhanglaenge keine Zahl", keineLaenge, {"4001", "4100.1", "4100.2", "4900", "4999"}},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const nlohmann::json json = zeige(fall.bytes);
    std::vector<std::string> satzarten;
    for (const auto& satz : json["datensaetze"]) {
      satzarten.push_back(satz["satzart"].is_null() ? "-" : satz["satzart"].get<std::string>());
      if (satz["satzart"].is_null()) {
        EXPECT_EQ(vesk::test::alsBytes(satz["wert"].get<std::string>()),
                  fall.bytes.substr(satz["offset"].get<std::size_t>(),
                                    satz["laenge"].get<std::size_t>()));
      }
    }
    EXPECT_EQ(satzarten, fall.satzarten);
    EXPECT_NE(json["ergebnis"], "ok");
  }
  EXPECT_FALSE(zeige(zuLang)["datensaetze"][3]["anhang"]["vollstaendig"]);
  EXPECT_EQ(fundorte(zeige(unbekannt)), std::vector<std::string>{"2"});
}

TEST_F(NachrichtenansichtBeispiele, WritesControlCharactersOfTheMessageAsHexInText) {
  std::string bytes = vesk::test::leseDatei("nachrichten/schadenmeldung_ok.dat");
  bytes.replace(98 + 256 - 1, 4, "\x01\x1B\x85\xE4");  // Schadenort_PLZ of record 1
  const std::span<const unsigned char> nachricht(
      reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  const std::string text = vesk::alsText(vesk::zeigeBytes(*konfiguration, nachricht, "n"), 1);
  EXPECT_NE(text.find("\"\\x01\\x1B\\x85\xC3\xA4"
                      "5\""),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\x1B'), std::string::npos);
}

}  // namespace
