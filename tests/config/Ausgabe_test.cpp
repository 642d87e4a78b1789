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
      // U+00A0, "ä" and invalid UTF-8 (a lone 0x85, a lead byte at the end) pass unchanged.
      {"\xC2\xA0\xC3\xA4\x85\xC2", "\xC2\xA0\xC3\xA4\x85\xC2"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.erwartet);
    EXPECT_EQ(vesk::maskiert(fall.text), fall.erwartet);
    std::ostringstream zeile;
    vesk::schreibeZeile(zeile, fall.text);
    EXPECT_EQ(zeile.str(), std::string(fall.erwartet) + "\n");
  }
}

TEST(Ausgabe, EscapesEachLineOfATextAndKeepsAMissingLastLineEnd) {
  std::ostringstream aus;
  vesk::schreibeZeilen(aus, "a\tb\n\nc\x1B");
  EXPECT_EQ(aus.str(), "a\\x09b\n\nc\\x1B");
}

}  // namespace
