#include "dienst/Dienstprotokoll.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(Dienstprotokoll, RequestLineStaysOneLineOfJsonWhateverTheClientSent) {
  std::ostringstream aus;
  vesk::dienst::Dienstprotokoll protokoll(aus);
  vesk::dienst::Anfragebericht bericht;
  bericht.id = "a\"b\\c";
  bericht.methode = "POST";
  bericht.pfad = std::string("/x\n\x1b[31m\xe4\x7f", 10);
  bericht.status = 500;
  bericht.bytes = 12;
  bericht.millisekunden = 1.23456;
  bericht.ergebnis = vesk::NachrichtenErgebnis::Art::abbruch;
  bericht.grund = "kein \"Speicher\"";
  protokoll.anfrage(bericht);
  bericht = {};
  bericht.id = "x";
  protokoll.anfrage(bericht);
  const std::string text = aus.str();
  ASSERT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
  const std::string ersteZeile = text.substr(0, text.find('\n'));
  const auto erste = nlohmann::json::parse(ersteZeile);
  EXPECT_EQ(erste["id"], "a\"b\\c");
  EXPECT_EQ(erste["pfad"], "/x\n\x1b[31m\xc3\xa4\x7f");  // bytes read as Latin-1
  EXPECT_EQ(erste["ms"], 1.235);
  EXPECT_EQ(erste["ergebnis"], "abbruch");
  EXPECT_EQ(erste["grund"], "kein \"Speicher\"");
  const auto zweite = nlohmann::json::parse(text.substr(text.find('\n') + 1));
  EXPECT_TRUE(zweite["methode"].is_null());
  EXPECT_TRUE(zweite["ergebnis"].is_null());
  EXPECT_FALSE(zweite.contains("grund"));
  std::vector<std::string> schluessel;
  for (const auto& [name, wert] : zweite.items()) {
    schluessel.push_back(name);
  }
  EXPECT_EQ(schluessel, (std::vector<std::string>{"bytes", "ergebnis", "id", "methode", "ms",
                                                  "pfad", "status", "zeit"}));
}

}  // namespace
