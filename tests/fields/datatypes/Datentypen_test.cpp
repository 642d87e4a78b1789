#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "fields/datatypes/Vesk_DatentypAlphanumerisch.h"
#include "fields/datatypes/Vesk_DatentypDatum6.h"
#include "fields/datatypes/Vesk_DatentypDatum8.h"
#include "fields/datatypes/Vesk_DatentypNumerisch.h"
#include "fields/datatypes/Vesk_DatentypUhrzeit4.h"
#include "fields/datatypes/Vesk_DatentypUhrzeit6.h"

namespace {

constexpr std::int32_t ok = Vesk_Datentyp::ok;
constexpr std::int32_t falschesFormat = Vesk_Datentyp::falschesFormat;
constexpr std::int32_t nichtImWertebereich = Vesk_Datentyp::nichtImWertebereich;
constexpr std::int32_t wertemengeFalschDefiniert = Vesk_Datentyp::wertemengeFalschDefiniert;

struct NumerischerFall {
  std::string_view definition;
  std::string_view text;
  std::int32_t status;
  std::int32_t datum;  // after assigning `text` to an object that held 2
};

TEST(DatentypNumerisch, JudgesValuesAgainstTheirValueSet) {
  const std::vector<NumerischerFall> faelle = {
      {"1,2,3", " 3 ", ok, 3},
      {"1,2,3", "0", ok, 0},
      {"1,2,3", "4", nichtImWertebereich, 4},
      {"1,2,3", "abc", falschesFormat, 2},
      {" 7 ", "7", ok, 7},
      {" 7 ", "8", nichtImWertebereich, 8},
      {"1-3", "1", ok, 1},
      {"1-3", "3", ok, 3},
      {"1-3", "5", nichtImWertebereich, 5},
      {"1-3", "-1", nichtImWertebereich, -1},
      {"1-3", "0", ok, 0},
      {"3-1", "2", nichtImWertebereich, 2},
      {" 1 - 3 ", "2", ok, 2},
      {"", "-2147483648", ok, std::numeric_limits<std::int32_t>::min()},
      {"", "2147483647", ok, std::numeric_limits<std::int32_t>::max()},
      {"", "2147483648", falschesFormat, 2},
      {"", "+5", falschesFormat, 2},
      {"", "", falschesFormat, 2},
  };
  for (const NumerischerFall& fall : faelle) {
    SCOPED_TRACE(std::string(fall.definition) + " / " + std::string(fall.text));
    Vesk_DatentypNumerisch zahl("2");
    ASSERT_EQ(zahl.wertemengeDefinieren(fall.definition), ok);
    EXPECT_EQ(zahl.zuweisen(fall.text), fall.status);
    EXPECT_EQ(zahl.gibStatus(), fall.status);
    EXPECT_EQ(zahl.gibDatum(), fall.datum);
  }
}

TEST(DatentypNumerisch, FailedConversionStillChecksTheKeptValue) {
  Vesk_DatentypNumerisch zahl("2", "1,2,3");
  ASSERT_EQ(zahl.zuweisen("4"), nichtImWertebereich);
  EXPECT_EQ(zahl.zuweisen("x"), nichtImWertebereich);
  EXPECT_EQ(zahl.gibDatum(), 4);
}

TEST(DatentypNumerisch, MixedDefinitionStopsTheConstructorsAssignment) {
  const Vesk_DatentypNumerisch zahl("2", "1,2-3");
  EXPECT_EQ(zahl.gibStatus(), wertemengeFalschDefiniert);
  EXPECT_EQ(zahl.gibDatum(), 0);
  EXPECT_TRUE(zahl.istInitialwert());
}

TEST(DatentypNumerisch, UnreadableDefinitionLeavesStatusAndNoValueSet) {
  for (const std::string_view definition : {"1,x", "1-", "-3", "x", " "}) {
    SCOPED_TRACE(definition);
    Vesk_DatentypNumerisch zahl;
    EXPECT_EQ(zahl.wertemengeDefinieren(definition), falschesFormat);
    EXPECT_EQ(zahl.gibStatus(), ok);
    EXPECT_EQ(zahl.zuweisen("9"), ok);
  }
  const Vesk_DatentypNumerisch zahl("7", "1,x");
  EXPECT_EQ(zahl.gibStatus(), ok);
  EXPECT_EQ(zahl.gibDatum(), 7);
}

TEST(DatentypNumerisch, NewDefinitionReplacesTheOldOne) {
  Vesk_DatentypNumerisch zahl("1", "1,2");
  ASSERT_EQ(zahl.wertemengeDefinieren("5-6"), ok);
  EXPECT_EQ(zahl.zuweisen("1"), nichtImWertebereich);
  EXPECT_EQ(zahl.zuweisen("6"), ok);

  ASSERT_EQ(zahl.wertemengeDefinieren("1,2-3"), wertemengeFalschDefiniert);
  EXPECT_EQ(zahl.zuweisen("9"), ok);

  ASSERT_EQ(zahl.wertemengeDefinieren("4"), ok);
  ASSERT_EQ(zahl.zuweisen("9"), nichtImWertebereich);
  EXPECT_EQ(zahl.wertemengeDefinieren(""), ok);
  EXPECT_EQ(zahl.gibStatus(), ok);
  EXPECT_EQ(zahl.zuweisen("9"), ok);
}

TEST(DatentypNumerisch, StartsAtZeroWithoutValueSet) {
  const Vesk_DatentypNumerisch zahl;
  EXPECT_EQ(zahl.gibTyp(), "numerisch");
  EXPECT_EQ(zahl.gibStatus(), ok);
  EXPECT_TRUE(zahl.istInitialwert());
  EXPECT_EQ(Vesk_DatentypNumerisch(" 7 ").gibDatum(), 7);
}

TEST(DatentypAlphanumerisch, JudgesTrimmedValuesAgainstTheList) {
  struct Fall {
    std::string_view definition;
    std::string_view text;
    std::int32_t status;
    std::string_view datum;
  };
  const std::vector<Fall> faelle = {
      {"a, b,   c", "a", ok, "a"},
      {"a, b,   c", " c\t", ok, "c"},
      {"a, b,   c", "d", nichtImWertebereich, "d"},
      {"a, b,   c", "A", nichtImWertebereich, "A"},
      {"a, b,   c", "  ", ok, ""},
      {"a,,b", "", ok, ""},
      {"1-3", "2", nichtImWertebereich, "2"},
      {"1-3", "1-3", ok, "1-3"},
      {"", " frei ", ok, "frei"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(std::string(fall.definition) + " / " + std::string(fall.text));
    Vesk_DatentypAlphanumerisch text("a", fall.definition);
    EXPECT_EQ(text.zuweisen(fall.text), fall.status);
    EXPECT_EQ(text.gibStatus(), fall.status);
    EXPECT_EQ(text.gibDatum(), fall.datum);
  }
}

TEST(DatentypAlphanumerisch, NewDefinitionReplacesTheOldOne) {
  Vesk_DatentypAlphanumerisch text("b", "a,b");
  ASSERT_EQ(text.wertemengeDefinieren("c"), ok);
  EXPECT_EQ(text.zuweisen("b"), nichtImWertebereich);
  EXPECT_EQ(text.wertemengeDefinieren(""), ok);
  EXPECT_EQ(text.gibStatus(), ok);
  EXPECT_EQ(text.zuweisen("b"), ok);
}

TEST(DatentypAlphanumerisch, ConstructorReportsAValueOutsideTheList) {
  const Vesk_DatentypAlphanumerisch text("2", "1-3");
  EXPECT_EQ(text.gibStatus(), nichtImWertebereich);
  EXPECT_EQ(text.gibDatum(), "2");
  const Vesk_DatentypAlphanumerisch leer;
  EXPECT_EQ(leer.gibTyp(), "alphanumerisch");
  EXPECT_TRUE(leer.istInitialwert());
}

TEST(DatentypPlatzhalter, AcceptEveryValueAsGiven) {
  std::vector<std::unique_ptr<Vesk_DatentypPlatzhalter>> platzhalter;
  platzhalter.push_back(std::make_unique<Vesk_DatentypDatum6>());
  platzhalter.push_back(std::make_unique<Vesk_DatentypDatum8>());
  platzhalter.push_back(std::make_unique<Vesk_DatentypUhrzeit4>());
  platzhalter.push_back(std::make_unique<Vesk_DatentypUhrzeit6>());
  const std::vector<std::string> typen = {"Datum 6-stellig", "Datum 8-stellig", "Uhrzeit 4-stellig",
                                          "Uhrzeit 6-stellig"};
  for (std::size_t i = 0; i < platzhalter.size(); ++i) {
    Vesk_DatentypPlatzhalter& wert = *platzhalter[i];
    SCOPED_TRACE(typen[i]);
    EXPECT_EQ(wert.gibTyp(), typen[i]);
    EXPECT_EQ(wert.gibDatum(), "");
    EXPECT_FALSE(wert.istInitialwert());
    EXPECT_EQ(wert.wertemengeDefinieren("1,2-3"), ok);
    EXPECT_EQ(wert.zuweisen(" 31.02.x "), ok);
    EXPECT_EQ(wert.gibDatum(), " 31.02.x ");
    EXPECT_TRUE(wert.wertebereichEingehalten());
    EXPECT_FALSE(wert.istInitialwert());
  }
  EXPECT_EQ(Vesk_DatentypUhrzeit6(" 25:61 ").gibDatum(), " 25:61 ");
}

}  // namespace
