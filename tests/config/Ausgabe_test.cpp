#include "config/Ausgabe.h"

#include <sstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace {

using namespace std::string_view_literals;

TEST(Ausgabe, EscapesControlCharactersAndNothingElse) {
  struct Fall {
    std::string_view text;
    std::string_view erwartet;
  };
  const Fall faelle[] = {
      {"", ""},
      {"Satzart 4100.1 a\\b", "Satzart 4100.1 a\\b"},
      {"a\r\nb", "a\\x0D\\x0Ab"},
      {"\x1B[2J\x7F", "\\x1B[2J\\x7F"},
      {"\0\x1F"sv, "\\x00\\x1F"},
      // U+0080 and U+009F as UTF-8; the Latin-1 display of a message byte 0x9B is C2 9B.
      {"\xC2\x80x\xC2\x9F\xC2\x9B", "\\x80x\\x9F\\x9B"},
      // U+00A0, "ä" and invalid UTF-8 outside 0x80-0x9F (a Latin-1 "ä", a lead byte at the
      // end) pass unchanged.
      {"\xC2\xA0\xC3\xA4\xE4\xC2", "\xC2\xA0\xC3\xA4\xE4\xC2"},
      // A byte 0x80-0x9F outside a valid sequence is the 8-bit form of a terminal control.
      {"csi\x9B"
       "31m.dat",
       "csi\\x9B31m.dat"},
      {"\x85\x80\x9F", "\\x85\\x80\\x9F"},
      // ... also after a lead byte whose sequence it cannot finish, or that it ends too early.
      {"\xE4\x9B"
       "a",
       "\xE4\\x9Ba"},
      {"\xE2\x80", "\xE2\\x80"},
      // Continuation bytes 0x80-0x9F inside valid sequences are no controls: U+201C, U+0800,
      // U+10000, U+FFFD.
      {"\xE2\x80\x9C\xE0\xA0\x80\xF0\x90\x80\x80\xEF\xBF\xBD",
       "\xE2\x80\x9C\xE0\xA0\x80\xF0\x90\x80\x80\xEF\xBF\xBD"},
      // Overlong forms and surrogates are no valid sequences: their 0x80-0x9F bytes stand alone.
      {"\xC0\x80\xED\xA0\x80", "\xC0\\x80\xED\xA0\\x80"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.erwartet);
    EXPECT_EQ(vesk::maskiert(fall.text), fall.erwartet);
    std::ostringstream zeile;
    vesk::schreibeZeile(zeile, fall.text);
    EXPECT_EQ(zeile.str(), std::string(fall.erwartet) + "\n");
  }
}

TEST(Ausgabe, TellsValidUtf8Sequences) {
  struct Fall {
    std::string_view text;
    bool gueltig;
  };
  const Fall faelle[] = {
      {"", true},
      {"abc", true},
      {"\xC3\xA4", true},
      {"\xE2\x82\xAC", true},
      {"\xF4\x8F\xBF\xBF", true},
      {"\xF4\x90\x80\x80", false},
      {"\xC1\xBF", false},
      {"\xE0\x9F\xBF", false},
      {"\xED\xA0\x80", false},
      {"\xC3", false},
      {"\x80", false},
      {"\xF8\x88\x80\x80\x80", false},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(testing::PrintToString(std::string(fall.text)));
    EXPECT_EQ(vesk::istUtf8(fall.text), fall.gueltig);
  }
}

TEST(Ausgabe, EscapesEachLineOfATextAndKeepsAMissingLastLineEnd) {
  std::ostringstream aus;
  vesk::schreibeZeilen(aus, "a\tb\n\nc\x1B");
  EXPECT_EQ(aus.str(), "a\\x09b\n\nc\\x1B");
}

}  // namespace
