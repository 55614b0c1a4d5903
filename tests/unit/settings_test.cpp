// The StringFile setting. On Windows the same table runs against the system's INI
// reader and ours, which shows the two agree.
#include <gtest/gtest.h>

#include <string>

#include "practice/profile.h"
#include "practice/settings.h"
#include "temp_folder.h"

namespace tolvi {
namespace {

class Settings : public test::InTempFolder {
 protected:
  void TearDown() override {
    // Later tests expect the default name again.
    std::remove("Gelvo.ini");
    LoadSettings();
    InTempFolder::TearDown();
  }
};

std::string LongValue() {
  std::string value;
  for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
  return value;
}

struct IniCase {
  const char* what;
  std::string ini;  // empty: no file at all
  const char* expected;
};

const IniCase kIniCases[] = {
    {"no file", "", "string.dat"},
    {"plain key", "[Gelvo]\r\nStringFile=words.txt\r\n", "words.txt"},
    {"LF endings", "[Gelvo]\nStringFile=words.txt\n", "words.txt"},
    {"no final line ending", "[Gelvo]\nStringFile=words.txt", "words.txt"},
    {"section and key in other case", "[gELVO]\r\nstringfile=lower.dat\r\n", "lower.dat"},
    {"spaces around key and value", "[Gelvo]\r\n  StringFile   =   spaced.dat  \r\n", "spaced.dat"},
    {"tabs around key and value", "[Gelvo]\r\n\tStringFile\t=\ttabbed.dat\t\r\n", "tabbed.dat"},
    {"inner spaces stay", "[Gelvo]\r\nStringFile=my words.dat\r\n", "my words.dat"},
    {"other section", "[Other]\r\nStringFile=wrong.dat\r\n", "string.dat"},
    {"key in another section first", "[Other]\r\nStringFile=wrong.dat\r\n[Gelvo]\r\nStringFile=right.dat\r\n", "right.dat"},
    {"no section", "StringFile=orphan.dat\r\n", "string.dat"},
    {"other key", "[Gelvo]\r\nSentenceFile=x.dat\r\n", "string.dat"},
    {"commented out", "; pick one\r\n[Gelvo]\r\n;StringFile=japanese.dat\r\n", "string.dat"},
    {"25 characters cut to 19", "[Gelvo]\r\nStringFile=abcdefghijklmnopqrstuvwxy\r\n", "abcdefghijklmnopqrs"},
    {"300 characters cut to 19", "[Gelvo]\r\nStringFile=" + LongValue() + "\r\n", "abcdefghijklmnopqrs"},
    {"empty value", "[Gelvo]\r\nStringFile=\r\n", ""},
    {"quoted value", "[Gelvo]\r\nStringFile=\"quoted.dat\"\r\n", "quoted.dat"},
    {"first of two keys", "[Gelvo]\r\nStringFile=one.dat\r\nStringFile=two.dat\r\n", "one.dat"},
    {"subfolder", "[Gelvo]\r\nStringFile=data\\jp.dat\r\n", "data\\jp.dat"},
};

TEST_F(Settings, BothReadersGiveTheSameAnswers) {
  for (const IniCase& c : kIniCases) {
    std::remove("Gelvo.ini");
    if (!c.ini.empty()) WriteFile("Gelvo.ini", c.ini);

    char system_answer[kSentenceFileNameBytes] = "untouched";
    char our_answer[kSentenceFileNameBytes] = "untouched";
    ReadProfileString("Gelvo", "StringFile", kDefaultSentenceFile, system_answer,
                      sizeof system_answer, kSettingsFile);
    ReadProfileStringPortable("Gelvo", "StringFile", kDefaultSentenceFile, our_answer,
                              sizeof our_answer, kSettingsFile);
    EXPECT_STREQ(system_answer, c.expected) << c.what;
    EXPECT_STREQ(our_answer, c.expected) << c.what;

    LoadSettings();
    EXPECT_STREQ(SentenceFileName(), c.expected) << c.what;
  }
}

TEST_F(Settings, ReportsTheBytesCopied) {
  WriteFile("Gelvo.ini", "[Gelvo]\r\nStringFile=abcdefghijklmnopqrstuvwxy\r\n");
  char out[kSentenceFileNameBytes];
  EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", "d", out, sizeof out, kSettingsFile), 19u);
  EXPECT_EQ(ReadProfileStringPortable("Gelvo", "Missing", "dflt", out, sizeof out, kSettingsFile), 4u);
  EXPECT_STREQ(out, "dflt");
}

}  // namespace
}  // namespace tolvi
