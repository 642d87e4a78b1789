#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "batch/GeordnetParallel.h"
#include "driver/Konfiguration.h"
#include "driver/Vesk_Plausipruefer.h"
#include "report/JsonBericht.h"
#include "report/NachrichtenErgebnis.h"
#include "tests/support/TestDateien.h"

namespace {

namespace fs = std::filesystem;

// The error lines of the checker's console report for one message, run from examples/.
std::vector<std::string> konsolenFehler(const std::string& nachricht) {
  std::ostringstream aus;
  auto* vorher = std::cout.rdbuf(aus.rdbuf());
  const std::vector<std::string_view> argumente = {"plausi.ini", nachricht};
  static_cast<void>(Vesk_Plausipruefer::main(argumente));
  std::cout.rdbuf(vorher);
  std::vector<std::string> zeilen;
  std::istringstream text(aus.str());
  for (std::string zeile; std::getline(text, zeile);) {
    if (zeile.starts_with("Strukturfehler:") || zeile.starts_with("Technischer Fehler:") ||
        zeile.starts_with("Muss-Kann Fehler:")) {
      zeilen.push_back(zeile);
    }
  }
  return zeilen;
}

class BerichtBeispiele : public ::testing::Test {
 protected:
  void SetUp() override {
    vorher = fs::current_path();
    fs::current_path(fs::path(VESK_QUELLEN) / "examples");
  }
  void TearDown() override { fs::current_path(vorher); }
  fs::path vorher;
};

TEST_F(BerichtBeispiele, JsonFindingsMatchTheConsoleAndTheFileBytes) {
  const auto konfiguration = vesk::Konfiguration::lade("plausi.ini");
  for (const auto& eintrag : fs::directory_iterator("nachrichten")) {
    if (eintrag.path().extension() != ".dat") {
      continue;
    }
    const std::string pfad = eintrag.path().string();
    SCOPED_TRACE(pfad);
    const auto json =
        nlohmann::json::parse(vesk::alsJsonZeile(vesk::pruefeDatei(*konfiguration, pfad)));
    const std::vector<std::string> konsole = konsolenFehler(pfad);
    ASSERT_EQ(json["fehler"].size(), konsole.size());
    EXPECT_EQ(json["ergebnis"], konsole.empty() ? "ok" : "fehler");
    const std::string datei = vesk::test::leseDatei(pfad);
    for (std::size_t i = 0; i < konsole.size(); ++i) {
      const auto& fehler = json["fehler"][i];
      EXPECT_NE(konsole[i].find(fehler["beschreibung"].get<std::string>()), std::string::npos);
      if (fehler.contains("wert")) {
        const auto offset = fehler["offset"].get<std::size_t>();
        const auto laenge = fehler["laenge"].get<std::size_t>();
        EXPECT_EQ(vesk::test::alsBytes(fehler["wert"].get<std::string>()),
                  datei.substr(offset, laenge));
        EXPECT_EQ(konsole[i].find("Technischer Fehler"), 0U);
      }
    }
  }
}

TEST(JsonBericht, EveryByteValueOfAFieldComesBackExactly) {
  vesk::NachrichtenErgebnis ergebnis;
  ergebnis.nachricht = "x";
  ergebnis.art = vesk::NachrichtenErgebnis::Art::fehler;
  auto& fehler = ergebnis.fehler.emplace_back();
  fehler.wert.emplace();
  for (int b = 0; b < 256; ++b) {
    fehler.wert->push_back(static_cast<char>(b));
  }
  const std::string zeile = vesk::alsJsonZeile(ergebnis);
  EXPECT_EQ(zeile.find('\n'), std::string::npos);
  const auto json = nlohmann::json::parse(zeile);
  EXPECT_EQ(vesk::test::alsBytes(json["fehler"][0]["wert"].get<std::string>()), *fehler.wert);
}

std::string ausBase64(const std::string& text) {
  const std::string zeichen = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string bytes;
  std::uint32_t block = 0;
  int bits = 0;
  for (const char c : text) {
    if (c == '=') {
      break;
    }
    block = (block << 6U) | static_cast<std::uint32_t>(zeichen.find(c));
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((block >> static_cast<unsigned>(bits)) & 0xFFU);
    }
  }
  return bytes;
}

// A file name or a definition text in another encoding keeps its bytes: shown with \xHH for
// each byte that is no UTF-8, and exactly in the key beside it. Two such names stay two.
TEST(JsonBericht, TextsThatAreNoUtf8KeepTheirBytes) {
  struct Fall {
    std::string text;
    std::string lesbar;  // what the key itself shows
  };
  const Fall faelle[] = {
      {"csi\x9B"
       "31m.dat",
       "csi\\x9B31m.dat"},
      {"csi\xC2\x9B"
       "31m.dat",
       "csi\xC2\x9B"
       "31m.dat"},  // valid UTF-8: as it is
      {"Schaden\xE4rt", "Schaden\\xE4rt"},
      {"\xFF\xFE\xFD", "\\xFF\\xFE\\xFD"},
      {"a\\x9Bb\xE4", "a\\x9Bb\\xE4"},  // a backslash in the name: the base64 key tells
      {"\xE2\x82", "\\xE2\\x82"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.lesbar);
    vesk::NachrichtenErgebnis ergebnis;
    ergebnis.nachricht = fall.text;
    ergebnis.art = vesk::NachrichtenErgebnis::Art::fehler;
    auto& fehler = ergebnis.fehler.emplace_back();
    fehler.feldname = fall.text;
    fehler.text = "Feld " + fall.text;
    for (const int einzug : {-1, 2}) {
      const auto json =
          nlohmann::ordered_json::parse(vesk::alsJsonText(vesk::alsJson(ergebnis), einzug));
      const bool utf8 = fall.text == fall.lesbar;
      EXPECT_EQ(json["nachricht"], fall.lesbar);
      EXPECT_EQ(json["fehler"][0]["feldname"], fall.lesbar);
      EXPECT_EQ(json["fehler"][0]["text"], "Feld " + fall.lesbar);
      for (const auto& [objekt, schluessel] :
           {std::pair{json, "nachricht"}, std::pair{json["fehler"][0], "feldname"}}) {
        const std::string roh = std::string(schluessel) + "_base64";
        ASSERT_EQ(objekt.contains(roh), !utf8);
        if (!utf8) {
          EXPECT_EQ(ausBase64(objekt[roh].get<std::string>()), fall.text);
        }
      }
      // The key with the bytes stands right after the text's own.
      if (!utf8) {
        auto eintrag = json.begin();
        EXPECT_EQ(eintrag.key(), "nachricht");
        EXPECT_EQ((++eintrag).key(), "nachricht_base64");
      }
    }
  }
}

TEST(JsonBericht, Base64OfEveryLengthComesBack) {
  std::string bytes;
  for (int laenge = 0; laenge < 8; ++laenge) {
    SCOPED_TRACE(laenge);
    vesk::NachrichtenErgebnis ergebnis;
    ergebnis.nachricht = "\x80" + bytes;
    const auto json = nlohmann::json::parse(vesk::alsJsonZeile(ergebnis));
    EXPECT_EQ(json["nachricht_base64"].get<std::string>().size() % 4, 0U);
    EXPECT_EQ(ausBase64(json["nachricht_base64"].get<std::string>()), ergebnis.nachricht);
    bytes += static_cast<char>(0xF0 + laenge);
  }
}

// Results arrive out of order from the threads but are handed on in order; a failure of one
// task stops the run and reaches the caller.
TEST(GeordnetParallel, HandsResultsOnInOrderForAnyNumberOfThreads) {
  for (const unsigned faeden : {1U, 2U, 8U}) {
    std::vector<std::size_t> reihenfolge;
    vesk::fuehreGeordnetAus<std::size_t>(
        500, faeden,
        [](std::size_t i) {
          std::this_thread::sleep_for(std::chrono::microseconds((i * 7919) % 200));
          return i * i;
        },
        [&](std::size_t i, std::size_t quadrat) {
          EXPECT_EQ(quadrat, i * i);
          reihenfolge.push_back(i);
        });
    std::vector<std::size_t> erwartet(500);
    std::iota(erwartet.begin(), erwartet.end(), 0);
    EXPECT_EQ(reihenfolge, erwartet) << faeden << " threads";
  }
  std::atomic<int> begonnen{0};
  EXPECT_THROW(vesk::fuehreGeordnetAus<int>(
                   100000, 4,
                   [&](std::size_t i) {
                     ++begonnen;
                     if (i == 50) {
                       throw std::runtime_error("kaputt");
                     }
                     return 0;
                   },
                   [](std::size_t, int) {}),
               std::runtime_error);
  EXPECT_LT(begonnen.load(), 100000);
}

}  // namespace
