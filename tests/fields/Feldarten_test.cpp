#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "config/Text.h"
#include "config/Vesk_SatzartenFabrik.h"
#include "fields/Vesk_Feldart.h"
#include "fields/Vesk_FeldartAlphaNumerisch.h"
#include "fields/Vesk_FeldartDatum.h"
#include "fields/Vesk_FeldartNumerisch.h"
#include "fields/Vesk_FeldartUhrzeit.h"
#include "fields/Vesk_FeldartenFabrik.h"
#include "fields/Vesk_WerteMenge.h"
#include "fields/Vesk_WerteMengeAufzaehlung.h"
#include "fields/Vesk_WertemengenFabrik.h"
#include "structure/Vesk_NachrichtenTypFabrik.h"

namespace {

constexpr int U = Vesk_Feldart::UNGUELTIG;
constexpr int G = Vesk_Feldart::GUELTIG;
constexpr int I = Vesk_Feldart::INITIALWERT;
constexpr int N = Vesk_Feldart::NICHT_IM_WERTEBEREICH;
constexpr int IN = Vesk_Feldart::INITIALWERT_NICHT_IM_WERTEBEREICH;

void leereRegistries() {
  Vesk_NachrichtenTypFabrik::zuruecksetzenFuerTests();
  Vesk_SatzartenFabrik::zuruecksetzenFuerTests();
  Vesk_FeldartenFabrik::zuruecksetzenFuerTests();
  Vesk_WertemengenFabrik::zuruecksetzenFuerTests();
}

std::span<const unsigned char> alsBytes(std::string_view text) {
  return {reinterpret_cast<const unsigned char*>(text.data()), text.size()};
}

const Vesk_Feldart& feldart(std::string_view code) {
  const Vesk_Feldart* art = Vesk_FeldartenFabrik::gibFeldart(code);
  EXPECT_NE(art, nullptr) << code;
  return *art;
}

// Checks `feld` placed between other bytes, so that the start index counts.
int pruefe(std::string_view code, std::string_view feld, const Vesk_WerteMenge* menge = nullptr) {
  const std::string bytes = "##" + std::string(feld) + "##";
  return feldart(code).pruefe(alsBytes(bytes), 2, static_cast<std::int32_t>(feld.size()), menge);
}

std::string wert(std::string_view code, std::string_view feld) {
  return std::string(
      feldart(code).gibWert(alsBytes(feld), 0, static_cast<std::int32_t>(feld.size())).roh());
}

class FeldartTest : public ::testing::Test {
 protected:
  void SetUp() override { leereRegistries(); }
  void TearDown() override { leereRegistries(); }
};

struct Fall {
  std::string_view code;
  std::string_view feld;
  int status;
  std::string_view wert;
};

void PrintTo(const Fall& fall, std::ostream* out) {
  *out << fall.code << " '" << fall.feld << "'";
}

class FeldartInhalt : public FeldartTest, public ::testing::WithParamInterface<Fall> {};

TEST_P(FeldartInhalt, JudgesTheFieldAndCollectsItsValue) {
  const Fall& fall = GetParam();
  EXPECT_EQ(pruefe(fall.code, fall.feld), fall.status);
  EXPECT_EQ(wert(fall.code, fall.feld), fall.wert);
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(Numerisch, FeldartInhalt,
                         ::testing::Values(Fall{"n", "0042", G, "42"}, Fall{"n", "0000", I, ""},
                                           Fall{"n", "4200", G, "4200"}, Fall{"n", "  42", U, ""},
                                           Fall{"n", "42  ", U, "42"}, Fall{"n", "-42", U, ""},
                                           Fall{"n", "00000012ab", U, "12"}, Fall{"n", "", U, ""},
                                           Fall{"n", "4\xE4", U, "4"}));

INSTANTIATE_TEST_SUITE_P(AlphaNumerisch, FeldartInhalt,
                         ::testing::Values(Fall{"an", "AB  ", G, "AB"}, Fall{"an", "    ", I, ""},
                                           Fall{"an", " AB ", U, ""}, Fall{"an", "A B ", G, "A B"},
                                           Fall{"an", "\0\0\0"sv, G, ""}, Fall{"an", "\t", G, ""},
                                           Fall{"an", "\xE4 ", G, "\xE4"}, Fall{"an", "", U, ""}));

INSTANTIATE_TEST_SUITE_P(
    Datum, FeldartInhalt,
    ::testing::Values(Fall{"d8", "31121999", G, "31121999"}, Fall{"d8", "31021999", U, "31021999"},
                      Fall{"d8", "29022000", G, "29022000"}, Fall{"d8", "29021900", U, "29021900"},
                      Fall{"d8", "29022024", G, "29022024"}, Fall{"d8", "29022023", U, "29022023"},
                      Fall{"d8", "29020004", G, "29020004"}, Fall{"d8", "01010001", G, "01010001"},
                      Fall{"d8", "31129999", G, "31129999"}, Fall{"d8", "01010000", U, "01010000"},
                      Fall{"d8", "00121999", G, "00121999"}, Fall{"d8", "00001999", G, "00001999"},
                      Fall{"d8", "00131999", U, "00131999"}, Fall{"d8", "00000000", U, "00000000"},
                      Fall{"d8", "00000019", G, "00000019"}, Fall{"d8", "        ", I, ""},
                      Fall{"d8", "1999    ", U, "1999"}, Fall{"d8", "    1999", U, ""},
                      Fall{"d8", "3112199a", U, "3112199"}, Fall{"d6", "121999", G, "121999"},
                      Fall{"d6", "131999", U, "131999"}, Fall{"d6", "001999", G, "001999"},
                      Fall{"d6", "120000", U, "120000"}, Fall{"d6", "000019", G, "000019"},
                      Fall{"d6", "31121999", G, "31121999"}, Fall{"d6", "1999", G, "1999"},
                      Fall{"d6", "0019", G, "0019"}, Fall{"d6", "0032", U, "0032"},
                      Fall{"d6", "0000", U, "0000"}, Fall{"d6", "31", G, "31"},
                      Fall{"d6", "00", U, "00"}, Fall{"d6", "32", U, "32"},
                      Fall{"d6", "123", U, "123"}, Fall{"d6", "12345", U, "12345"},
                      Fall{"d6", "1234567", U, "1234567"}, Fall{"d6", "", U, ""}));

INSTANTIATE_TEST_SUITE_P(
    Uhrzeit, FeldartInhalt,
    ::testing::Values(Fall{"u6", "235959", G, "235959"}, Fall{"u6", "240000", U, "240000"},
                      Fall{"u6", "000000", G, "000000"}, Fall{"u6", "006000", U, "006000"},
                      Fall{"u6", "000060", U, "000060"}, Fall{"u4", "5959", G, "5959"},
                      Fall{"u4", "2400", G, "2400"}, Fall{"u4", "6000", U, "6000"},
                      Fall{"u4", "0060", U, "0060"}, Fall{"u4", "0000", G, "0000"},
                      Fall{"u4", "235959", G, "235959"}, Fall{"u4", "    ", I, ""},
                      Fall{"u4", "12 4", U, "12"}, Fall{"u4", "12", U, "12"},
                      Fall{"u4", "12345", U, "12345"}));

struct MengenFall {
  std::string_view code;
  std::string_view feld;
  std::string_view definition;
  int status;
};

class FeldartMitWertemenge : public FeldartTest,
                             public ::testing::WithParamInterface<MengenFall> {};

TEST_P(FeldartMitWertemenge, TestsTheCollectedValueAfterTheWholeValueCheck) {
  const MengenFall& fall = GetParam();
  const auto menge = Vesk_WertemengenFabrik::createWerteMenge("", fall.definition);
  EXPECT_EQ(pruefe(fall.code, fall.feld, menge.get()), fall.status)
      << fall.code << " '" << fall.feld << "' in " << fall.definition;
}

INSTANTIATE_TEST_SUITE_P(
    Tabelle, FeldartMitWertemenge,
    ::testing::Values(MengenFall{"n", "0005", "1-9", G}, MengenFall{"n", "0010", "1-9", N},
                      MengenFall{"n", "0000", "0-9", IN}, MengenFall{"n", "0000", "1,2,", I},
                      MengenFall{"n", "0007", "7", G}, MengenFall{"n", "0007", "07", N},
                      MengenFall{"n", "12a", "1-99", U}, MengenFall{"an", "B   ", "A,B", G},
                      MengenFall{"an", "C   ", "A,B", N}, MengenFall{"an", "    ", "A,B", IN},
                      MengenFall{"an", " A  ", "A,B", U},
                      MengenFall{"d8", "00121999", "00121999", G},
                      MengenFall{"d8", "00121999", "121999", N},
                      MengenFall{"d8", "31021999", "1,2", N},
                      MengenFall{"d8", "31021999", "31021999", U},
                      MengenFall{"d8", "        ", "1", IN}, MengenFall{"u4", "2400", "2400", G},
                      MengenFall{"n", "", "A", N}, MengenFall{"n", "", ",", U}));

TEST_F(FeldartTest, ByteCountZeroOrBeyondTheBytesIsInvalid) {
  const std::string bytes = "0042";
  for (const std::string_view code : {"n", "an", "d8", "u6"}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(feldart(code).pruefe(alsBytes(bytes), 0, 0, nullptr), U);
    EXPECT_EQ(feldart(code).pruefe(alsBytes(bytes), 4, 0, nullptr), U);
    EXPECT_EQ(feldart(code).pruefe(alsBytes(bytes), 2, 3, nullptr), U);
    EXPECT_EQ(feldart(code).pruefe(alsBytes(bytes), 5, 0, nullptr), U);
  }
}

TEST_F(FeldartTest, MessageBytesFromE4OnMatchNoFileTextButShowAsLatin1) {
  // "ä" as a UTF-8 value-set file or definition file holds it.
  const Vesk_WerteMengeAufzaehlung menge("", std::vector<std::string>{"\xC3\xA4", "A"});
  EXPECT_EQ(pruefe("an", "A ", &menge), G);
  EXPECT_EQ(pruefe("an", "\xE4 ", &menge), N);
  EXPECT_EQ(pruefe("an", "\xC3\xA4", &menge), N);
  const std::string feld = "\xE4";
  EXPECT_EQ(feldart("an").gibWert(alsBytes(feld), 0, 1).alsUtf8(), "\xC3\xA4");
}

TEST_F(FeldartTest, RegistryHoldsSixCodesOverFourInstances) {
  testing::internal::CaptureStderr();
  const Vesk_Feldart* n = Vesk_FeldartenFabrik::gibFeldart("n");
  const Vesk_Feldart* an = Vesk_FeldartenFabrik::gibFeldart("an");
  const Vesk_Feldart* u4 = Vesk_FeldartenFabrik::gibFeldart("u4");
  const Vesk_Feldart* d6 = Vesk_FeldartenFabrik::gibFeldart("d6");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_NE(dynamic_cast<const Vesk_FeldartNumerisch*>(n), nullptr);
  EXPECT_NE(dynamic_cast<const Vesk_FeldartAlphaNumerisch*>(an), nullptr);
  EXPECT_NE(dynamic_cast<const Vesk_FeldartUhrzeit*>(u4), nullptr);
  EXPECT_NE(dynamic_cast<const Vesk_FeldartDatum*>(d6), nullptr);
  EXPECT_EQ(Vesk_FeldartenFabrik::gibFeldart("u6"), u4);
  EXPECT_EQ(Vesk_FeldartenFabrik::gibFeldart("d8"), d6);
}

TEST_F(FeldartTest, UnknownCodeIsReportedOnStandardError) {
  for (const std::string_view code : {"N", "x", "", " n", "d4", "an "}) {
    SCOPED_TRACE(code);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Vesk_FeldartenFabrik::gibFeldart(code), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Feldart: " + std::string(code) + " nicht gefunden\n");
  }
}

// A plain interpreter of the step tables as the kinds are documented, with an independent
// lenient calendar for the whole-value check: the reference the optimised scans must match.
namespace referenz {

struct Uebergang {
  int status;
  bool behalten;
};
// Rows: UNDEFINIERT, INITIALWERT, GUELTIG. Columns: blank, "0", "1" to "9", anything else.
using Tabelle = std::array<std::array<Uebergang, 4>, 3>;
constexpr Uebergang R{U, false};
constexpr Tabelle numerisch{{{{{U, false}, {I, false}, {G, true}, R}},
                             {{{U, false}, {I, false}, {G, true}, R}},
                             {{{U, false}, {G, true}, {G, true}, R}}}};
constexpr Tabelle alphaNumerisch{{{{{I, false}, {G, true}, {G, true}, {G, true}}},
                                  {{{I, false}, R, R, R}},
                                  {{{G, true}, {G, true}, {G, true}, {G, true}}}}};
constexpr Tabelle zifferntabelle{{{{{I, false}, {G, true}, {G, true}, R}},
                                  {{{I, false}, R, R, R}},
                                  {{R, {G, true}, {G, true}, R}}}};

std::size_t spalte(char zeichen) {
  if (zeichen == ' ') {
    return 0;
  }
  if (zeichen == '0') {
    return 1;
  }
  return zeichen >= '1' && zeichen <= '9' ? 2 : 3;
}

std::size_t zeile(int status) {
  return status == Vesk_Feldart::UNDEFINIERT ? 0 : status == I ? 1 : 2;
}

int zahl(std::string_view ziffern) {
  int wert = 0;
  for (const char ziffer : ziffern) {
    wert = wert * 10 + (ziffer - '0');
  }
  return wert;
}

// The number of letters of the pattern field that starts at `i`.
std::size_t feldBreite(std::string_view muster, std::size_t i) {
  const std::size_t ende = muster.find_first_not_of(muster[i], i);
  return (ende == std::string_view::npos ? muster.size() : ende) - i;
}

// Parses `text` by `muster` from 1 January 1970 00:00:00 on, letting every field roll over into
// the next larger unit, and formats the resulting point in time back by the same pattern.
std::string rundreise(std::string_view muster, std::string_view text) {
  int tag = 1;
  int monat = 1;
  int jahr = 1970;
  long sekunden = 0;
  for (std::size_t i = 0; i < muster.size(); i += feldBreite(muster, i)) {
    const int feld = zahl(text.substr(i, feldBreite(muster, i)));
    switch (muster[i]) {
      case 'd':
        tag = feld;
        break;
      case 'M':
        monat = feld;
        break;
      case 'y':
        jahr = feld;
        break;
      case 'H':
        sekunden += 3600L * feld;
        break;
      case 'm':
        sekunden += 60L * feld;
        break;
      default:
        sekunden += feld;
        break;
    }
  }
  if (jahr == 0) {
    return "year 0";
  }
  using namespace std::chrono;
  const int monate = jahr * 12 + monat - 1;
  const auto ersterDesMonats =
      year{monate / 12} / month{static_cast<unsigned>(monate % 12 + 1)} / 1;
  const year_month_day datum{sys_days{ersterDesMonats} + days{tag - 1 + sekunden / 86400}};
  const long uhr = sekunden % 86400;
  std::string formatiert;
  for (std::size_t i = 0; i < muster.size(); i += feldBreite(muster, i)) {
    long feld = uhr % 60;
    switch (muster[i]) {
      case 'd':
        feld = static_cast<long>(static_cast<unsigned>(datum.day()));
        break;
      case 'M':
        feld = static_cast<long>(static_cast<unsigned>(datum.month()));
        break;
      case 'y':
        feld = static_cast<int>(datum.year());
        break;
      case 'H':
        feld = uhr / 3600;
        break;
      case 'm':
        feld = uhr / 60 % 60;
        break;
      default:
        break;
    }
    const std::string ziffern = std::to_string(feld);
    const std::size_t breite = feldBreite(muster, i);
    formatiert += std::string(breite > ziffern.size() ? breite - ziffern.size() : 0, '0') + ziffern;
  }
  return formatiert;
}

int datumGesamt(std::string_view s, int status) {
  if (s.size() > 4 && s.starts_with("0000")) {
    s.remove_prefix(4);
  } else if (s.size() > 2 && s.starts_with("00")) {
    s.remove_prefix(2);
  }
  const std::array<std::string_view, 9> muster{"", "",       "dd", "",        "yyyy",
                                               "", "MMyyyy", "",   "ddMMyyyy"};
  if (s.empty()) {
    return status;
  }
  if (s.size() >= muster.size() || muster[s.size()].empty()) {
    return U;
  }
  return rundreise(muster[s.size()], s) == s ? G : U;
}

int uhrzeitGesamt(std::string_view s, int status) {
  if (s.empty()) {
    return status;
  }
  if (s.size() != 4 && s.size() != 6) {
    return U;
  }
  return rundreise(s.size() == 4 ? "mmss" : "HHmmss", s) == s ? G : U;
}

struct Ergebnis {
  int status;
  std::string daten;
};

Ergebnis pruefe(const Tabelle& tabelle, const std::function<int(std::string_view, int)>& gesamt,
                std::string_view feld, const Vesk_WerteMenge* menge) {
  Ergebnis e{Vesk_Feldart::UNDEFINIERT, ""};
  for (const char zeichen : feld) {
    const Uebergang schritt = tabelle[zeile(e.status)][spalte(zeichen)];
    if (schritt.status == U) {
      e.status = U;
      return e;
    }
    if (schritt.behalten) {
      e.daten.push_back(zeichen);
    }
    e.status = schritt.status;
  }
  e.status = gesamt(e.daten, e.status);
  if (menge != nullptr && !menge->inDerMenge(vesk::MeldungsText(vesk::trimme(e.daten)))) {
    e.status = e.status == I ? IN : N;
  } else if (e.status == Vesk_Feldart::UNDEFINIERT) {
    e.status = U;
  }
  return e;
}

}  // namespace referenz

struct Art {
  std::string_view code;
  const referenz::Tabelle* tabelle;
  std::function<int(std::string_view, int)> gesamt;
};

std::array<Art, 4> alleArten() {
  const auto unveraendert = [](std::string_view, int status) { return status; };
  return {Art{"n", &referenz::numerisch, unveraendert},
          Art{"an", &referenz::alphaNumerisch, unveraendert},
          Art{"d8", &referenz::zifferntabelle, referenz::datumGesamt},
          Art{"u6", &referenz::zifferntabelle, referenz::uhrzeitGesamt}};
}

// Calls `pruefen` with every text over `alphabet` of `laenge` characters.
void fuerAlleTexte(std::string_view alphabet, std::size_t laenge,
                   const std::function<void(std::string_view)>& pruefen) {
  std::string text(laenge, alphabet.front());
  std::vector<std::size_t> stellen(laenge, 0);
  while (true) {
    pruefen(text);
    std::size_t i = 0;
    while (i < laenge && ++stellen[i] == alphabet.size()) {
      stellen[i] = 0;
      text[i] = alphabet.front();
      ++i;
    }
    if (i == laenge) {
      return;
    }
    text[i] = alphabet[stellen[i]];
  }
}

// Compares every kind with the reference over all texts of the given lengths; reports the first
// few differences only, as one wrong step shows up in thousands of texts.
void vergleiche(const Art& art, std::string_view alphabet,
                std::initializer_list<std::size_t> laengen, const Vesk_WerteMenge* menge) {
  const Vesk_Feldart& feldArt = feldart(art.code);
  int abweichungen = 0;
  for (const std::size_t laenge : laengen) {
    fuerAlleTexte(alphabet, laenge, [&](std::string_view feld) {
      const std::string bytes = "#" + std::string(feld) + "#";
      const auto [status, daten] =
          feldArt.untersuche(alsBytes(bytes), 1, static_cast<std::int32_t>(feld.size()), menge);
      const referenz::Ergebnis erwartet = referenz::pruefe(*art.tabelle, art.gesamt, feld, menge);
      if ((status != erwartet.status || daten.roh() != erwartet.daten) && ++abweichungen <= 5) {
        ADD_FAILURE() << art.code << " '" << feld << "': status " << status << " daten '"
                      << daten.roh() << "', expected " << erwartet.status << " '" << erwartet.daten
                      << "'";
      }
    });
  }
}

TEST_F(FeldartTest, EveryKindFollowsItsStepTableOverAllShortTexts) {
  const auto aufzaehlung = Vesk_WertemengenFabrik::createWerteMenge("", ",A,0");
  const auto intervall = Vesk_WertemengenFabrik::createWerteMenge("", "0-5");
  for (const Art& art : alleArten()) {
    const std::array<const Vesk_WerteMenge*, 3> mengen{nullptr, aufzaehlung.get(), intervall.get()};
    for (const Vesk_WerteMenge* menge : mengen) {
      vergleiche(art, " A0\x01\xE4", {0, 1, 2, 3, 4, 5}, menge);
    }
  }
}

TEST_F(FeldartTest, DatesAndTimesMatchTheLenientCalendarRoundTrip) {
  const auto arten = alleArten();
  vergleiche(arten[2], "0123456789", {2, 4}, nullptr);
  vergleiche(arten[2], " 01239", {6}, nullptr);
  vergleiche(arten[3], "0123456789", {4}, nullptr);
  vergleiche(arten[3], "0234569", {6}, nullptr);
  const std::array<std::string_view, 14> jahre{"0000", "0001", "0004", "0100", "0400",
                                               "1582", "1600", "1900", "1999", "2000",
                                               "2023", "2024", "2100", "9999"};
  const Vesk_Feldart& datum = feldart("d8");
  for (const std::string_view jahr : jahre) {
    for (int tag = 0; tag <= 32; ++tag) {
      for (int monat = 0; monat <= 13; ++monat) {
        const std::string feld = std::string(1, static_cast<char>('0' + tag / 10)) +
                                 static_cast<char>('0' + tag % 10) +
                                 static_cast<char>('0' + monat / 10) +
                                 static_cast<char>('0' + monat % 10) + std::string(jahr);
        EXPECT_EQ(datum.pruefe(alsBytes(feld), 0, 8, nullptr), referenz::datumGesamt(feld, G))
            << feld;
      }
    }
  }
}

}  // namespace
