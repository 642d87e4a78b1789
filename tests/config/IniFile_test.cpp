#include "config/IniFile.h"

#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/TestDateien.h"

namespace {

using Zeilen = std::vector<std::string>;

// Everything the readers can see, one "[subject]" line and one "name=value" line per variable.
std::string inhalt(const IniFile& datei) {
  std::string text;
  for (const std::string& subject : datei.getSubjects()) {
    text += "[" + subject + "]";
    for (const std::string& name : datei.getVariables(subject)) {
      text += " " + name + "=" + datei.getValue(subject, name);
    }
  }
  return text;
}

// Captures what the store writes to standard output and standard error while loading.
struct Mitschnitt {
  std::ostringstream aus;
  std::ostringstream fehler;
  std::streambuf* altAus = std::cout.rdbuf(aus.rdbuf());
  std::streambuf* altFehler = std::cerr.rdbuf(fehler.rdbuf());
  Mitschnitt() = default;
  Mitschnitt(const Mitschnitt&) = delete;
  Mitschnitt& operator=(const Mitschnitt&) = delete;
  ~Mitschnitt() {
    std::cout.rdbuf(altAus);
    std::cerr.rdbuf(altFehler);
  }
};

class IniTest : public ::testing::Test {
 protected:
  IniFile lade(std::string_view text) { return IniFile(ordner.schreibe("t.ini", text)); }
  vesk::test::TestOrdner ordner;
};

struct Fall {
  const char* text;
  const char* erwartet;
};

using IniDateiLesen = IniTest;

TEST_F(IniDateiLesen, FollowsTheSyntaxRules) {
  const std::vector<Fall> faelle = {
      {"", ""},
      {"a=1\n[A]\nb=2", "[A] b=2"},
      {"[]\na=1", ""},
      {"[A]\na=1\n[]\nb=2\n[A]\nc=3", "[A] a=1 c=3"},
      {"[ x ]\na=1", "[ x ] a=1"},
      {"[A]\nkey = a=b ; c", "[A] key=a=b"},
      {"[A]\nkey=\nk2 =  ", "[A] key= k2="},
      {"[A]\nx=1\ny=2\nx=3", "[A] x=3 y=2"},
      {"[A]\nx=1\n[B]\nz=1\n[A]\ny=2", "[A] x=1 y=2[B] z=1"},
      {"[A]\nx=1\nX=2\n[a]\nx=3", "[A] x=1 X=2[a] x=3"},
      {"[a=b]\nc=d", "[a=b] c=d"},
      {"[A]\n[B]\nx=1\n[A]\ny=2", "[B] x=1[A] y=2"},
      {"[A]\n=1\n; x=1\nohne\n[B\nx=2\nx ; =3", "[A] x=2"},
      {"[A] ; c\n x\t=\t1\x7f\x01", "[A] x=1\x7f"},
      {"[\xC3\x84]\nSchl\xFC"
       "ssel=W\xE4rt",
       "[\xC3\x84] Schl\xFCssel=W\xE4rt"},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.text);
    EXPECT_EQ(inhalt(lade(fall.text)), fall.erwartet);
  }
}

TEST_F(IniDateiLesen, SplitsLinesAtLfCrAndCrLf) {
  EXPECT_EQ(lade("a\r\nb\rc\nd").getLines(), (Zeilen{"a", "b", "c", "d"}));
  EXPECT_EQ(lade("a\n\r\n\n").getLines(), (Zeilen{"a", "", ""}));
  EXPECT_EQ(lade("\r\r\n\n").getLines(), (Zeilen{"", "", ""}));
  EXPECT_EQ(lade("  ; note \t\n\t[A]  ").getLines(), (Zeilen{"; note", "[A]"}));
}

TEST_F(IniDateiLesen, SkipsAByteOrderMarkOnlyAtTheStartAndKeepsOtherBytes) {
  using namespace std::string_literals;
  const IniFile datei = lade("\xEF\xBB\xBF[A]\nx=\xEF\xBB\xBFy\ny=a\0b\0"s);
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "x=\xEF\xBB\xBFy", "y=a\0b"s}));
  EXPECT_EQ(datei.getValue("A", "x"), "\xEF\xBB\xBFy");
  EXPECT_EQ(datei.getValue("A", "y"), "a\0b"s);
}

TEST_F(IniDateiLesen, ReportsAFileThatCannotBeReadAndStaysEmpty) {
  const std::vector<std::string> namen = {ordner.pfad("fehlt.ini"), ordner.wurzel().string()};
  for (const std::string& name : namen) {
    SCOPED_TRACE(name);
    Mitschnitt mitschnitt;
    const IniFile datei(name);
    const std::string aus = mitschnitt.aus.str();
    EXPECT_EQ(aus.rfind("IniFile load failed: " + name, 0), 0U) << aus;
    EXPECT_EQ(aus.find('\n'), aus.size() - 1) << aus;
    EXPECT_FALSE(mitschnitt.fehler.str().empty());
    EXPECT_TRUE(datei.getSubjects().empty());
    EXPECT_TRUE(datei.getVariables("A").empty());
    EXPECT_EQ(datei.getValue("A", "x"), "");
  }
}

TEST_F(IniDateiLesen, LoadsManyGroupsAndLongLines) {
  std::string text;
  for (int i = 0; i < 100000; ++i) {
    text += "[G" + std::to_string(i) + "]\nx=" + std::to_string(i) + "\n";
  }
  std::string lang;
  lang.resize(10'000'000, 'n');
  text += "[" + lang + "]\n" + lang + "=" + lang + "\n";
  for (int i = 0; i < 100000; ++i) {
    text += "v=" + std::to_string(i) + "\n";
  }
  const IniFile datei = lade(text);
  EXPECT_EQ(datei.getSubjects().size(), 100001U);
  EXPECT_EQ(datei.getValue("G99999", "x"), "99999");
  EXPECT_EQ(datei.getValue(lang, "v"), "99999");
  EXPECT_EQ(datei.getValue(lang, lang), lang);
}

TEST_F(IniDateiLesen, SurvivesBinaryJunk) {
  std::mt19937 zufall(42);
  std::string junk(1 << 20, '\0');
  for (char& zeichen : junk) {
    zeichen = static_cast<char>(zufall() & 0xFFU);
  }
  const IniFile datei = lade(junk);
  for (const std::string& subject : datei.getSubjects()) {
    EXPECT_TRUE(datei.hasVariables(subject));
  }
}

using IniDateiBearbeiten = IniTest;

TEST_F(IniDateiBearbeiten, SetValueAddsASectionThenReplacesItsLine) {
  IniFile datei = lade("[A]\nx=1");
  ASSERT_TRUE(datei.setValue("S", "v", "1"));
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "x=1", "[S]", "v=1"}));
  datei.setValue("S", "v", "2");
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "x=1", "[S]", "v=2"}));
  EXPECT_EQ(inhalt(datei), "[A] x=1[S] v=2");
  EXPECT_FALSE(datei.setValue("", "v", "1"));
  EXPECT_FALSE(datei.setValue("S", "", "1"));
}

TEST_F(IniDateiBearbeiten, SetValueWritesIntoTheFirstSectionAfterItsLastAssignment) {
  IniFile datei = lade("[A]\nx=1\n\n; c\n[B]\ny=1\n[A]\nz=1");
  datei.setValue("A", "z", "2");
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "x=1", "z=2", "", "; c", "[B]", "y=1", "[A]", "z=1"}));
  EXPECT_EQ(datei.getValue("A", "z"), "2");
}

// Stored lines keep their comments: "[B] ; c" neither ends section A nor is found as B's line.
TEST_F(IniDateiBearbeiten, SetValueFindsOnlyLinesWrittenAsNameEqualsValue) {
  IniFile datei = lade("[A]\nx = 1\n[B] ; c\ny=1");
  datei.setValue("A", "x", "2");
  datei.setValue("B", "y", "2");
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "x = 1", "[B] ; c", "y=1", "x=2", "[B]", "y=2"}));
}

TEST_F(IniDateiBearbeiten, SetValueNeverOverwritesTheSubjectLine) {
  IniFile datei = lade("[k=v]\n[k=1");
  ASSERT_EQ(inhalt(datei), "[k=v] [k=1");
  datei.setValue("k=v", "[k", "2");
  EXPECT_EQ(datei.getLines(), (Zeilen{"[k=v]", "[k=2"}));
}

TEST_F(IniDateiBearbeiten, DeleteValueKeepsLookupsInStep) {
  IniFile datei = lade("[A]\nx=1\ny=2\nz=3\n[B]\nw=4");
  datei.deleteValue("A", datei.variablesOf("A")[0]);
  EXPECT_EQ(inhalt(datei), "[A] y=2 z=3[B] w=4");
  datei.setValue("A", "z", "5");
  EXPECT_EQ(datei.getLines(), (Zeilen{"[A]", "y=2", "z=5", "[B]", "w=4"}));
  datei.deleteValue("A", "nix");
  datei.deleteValue("nix", "y");
  EXPECT_EQ(inhalt(datei), "[A] y=2 z=5[B] w=4");
}

TEST_F(IniDateiBearbeiten, DeletingTheLastVariableRemovesTheSubjectAndItsLines) {
  IniFile datei = lade("; k\n[A]\nx=1\n; c\n[B]\ny=2");
  datei.deleteValue("A", "x");
  EXPECT_EQ(datei.getLines(), (Zeilen{"; k", "; c", "[B]", "y=2"}));
  EXPECT_FALSE(datei.hasVariables("A"));
  EXPECT_EQ(inhalt(datei), "[B] y=2");
  datei.deleteSubject("B");
  datei.deleteSubject("B");
  EXPECT_EQ(datei.getLines(), (Zeilen{"; k", "; c"}));
  EXPECT_TRUE(datei.getSubjects().empty());
}

TEST_F(IniDateiBearbeiten, SectionBoundsFollowTheStoredLines) {
  const IniFile datei = lade("[A]\nx=1\n[B] ; c\nk ; y=2\n; z=3\n\n[C]\nw=1");
  EXPECT_EQ(datei.endOfSubject(0), 4);
  EXPECT_EQ(datei.endOfSubject(6), 8);
  EXPECT_EQ(datei.endOfSubject(99), 8);
  EXPECT_EQ(datei.endOfSubject(-3), -1);
  EXPECT_EQ(datei.findAssignmentBetween("x", -5, 99), 1);
  EXPECT_EQ(datei.findAssignmentBetween("x", 2, 1), -1);
  EXPECT_EQ(datei.findAssignmentLine("C", "w"), 7);
  EXPECT_EQ(datei.findAssignmentLine("B", "k ; y"), -1);
  EXPECT_EQ(datei.findAssignmentLine("D", "w"), -1);
}

TEST(IniFileKommando, PrintsEachSubjectWithItsVariables) {
  const vesk::test::TestOrdner ordner;
  const std::string name = ordner.schreibe("t.ini", "[A]\nx = 1\n[B]\n[C]\ny=\nz=a=b");
  const std::vector<std::string_view> argumente = {name};
  std::ostringstream aus;
  std::ostringstream fehler;
  EXPECT_EQ(IniFile::main(argumente, aus, fehler), 0);
  EXPECT_EQ(aus.str(), "A\n  x = 1\nC\n  y = \n  z = a=b\n");
  EXPECT_EQ(fehler.str(), "");
}

TEST(IniFileKommando, ShowsItsUsageUnlessGivenExactlyOneFile) {
  const std::vector<std::vector<std::string_view>> faelle = {{}, {"a.ini", "b.ini"}};
  for (const auto& argumente : faelle) {
    std::ostringstream aus;
    std::ostringstream fehler;
    EXPECT_EQ(IniFile::main(argumente, aus, fehler), 0);
    EXPECT_EQ(aus.str(), "IniFile <filename>\n");
  }
}

TEST(IniFileKommando, ReportsAMissingFileOnItsOwnStreams) {
  const std::vector<std::string_view> argumente = {"/nicht/da.ini"};
  std::ostringstream aus;
  std::ostringstream fehler;
  EXPECT_EQ(IniFile::main(argumente, aus, fehler), 0);
  EXPECT_EQ(aus.str(), "IniFile load failed: /nicht/da.ini (No such file or directory)\n");
  EXPECT_NE(fehler.str(), "");
}

}  // namespace
