// The StringFile setting. Under Wine one table is answered by the system's INI reader
// and by ours, which shows the two agree.

#include "support.h"
#include "practice/profile.h"
#include "practice/settings.h"

namespace tolvi {
namespace {

TEST(Settings, BothReadersGiveTheSameAnswers) {
  test::FreshFolder folder;
  const std::string g = "[Gelvo]\r\nStringFile=";
  struct Row { std::string ini; const char* expected; bool ours_only = false; };  // no ini: no file
  for (const Row& row : {Row{"", "string.dat"}, {g + "words.txt\r\n", "words.txt"}, {"[Gelvo]\nStringFile=lf.txt", "lf.txt"},
                         {"[gELVO]\r\nstringfile=lower.dat\r\n", "lower.dat"}, {g + "my words.dat\r\n", "my words.dat"},
                         {"  [ Gelvo ]\r\n \t StringFile \t=\t spaced.dat \t\r\n", "spaced.dat"},
                         {"[Other]\r\nStringFile=wrong.dat\r\n", "string.dat"}, {"StringFile=orphan.dat\r\n", "string.dat"},
                         {"[Xelvo]\r\nStringFile=x\r\n[Gelvo]\r\nStringFile=right.dat\r\n", "right.dat"},
                         {"[Gelvo]\r\nXtringFile=x.dat\r\nnoequals\r\n;StringFile=japanese.dat\r\n", "string.dat"},
                         {g + "abcdefghijklmnopqrstuvwxy\r\n", "abcdefghijklmnopqrs"}, {g + "\r\n", ""},
                         {g + "\"quoted.dat\"\r\n", "quoted.dat"}, {g + "'single.dat'\r\n", "single.dat"}, {g + "\"\"\r\n", ""},
                         {g + "\"\r\n", "\""}, {g + "one.dat\r\nStringFile=two.dat\r\n", "one.dat"},
                         {g + "abc" + std::string(4082, ' ') + "d\r\n", "abc", true}}) {  // kept up to 4096 bytes
    std::remove("Gelvo.ini");
    if (!row.ini.empty()) test::WriteFile("Gelvo.ini", row.ini);
    char ours[kSentenceFileNameBytes] = "untouched";
    EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", kDefaultSentenceFile, ours, sizeof ours, kSettingsFile),
              std::strlen(row.expected)) << row.ini;
    EXPECT_STREQ(ours, row.expected) << row.ini;
    EXPECT_TRUE(row.ours_only || (LoadSettings() == 1 && std::string(SentenceFileName()) == row.expected)) << row.ini;
  }
  char none[1] = {'#'};
  EXPECT_EQ(ReadProfileStringPortable("Gelvo", "StringFile", "x", none, 0, kSettingsFile) +
                ReadProfileString("Gelvo", "StringFile", "x", none, 0, kSettingsFile), 0u);
  EXPECT_EQ(none[0], '#') << "no capacity, nothing written";
  std::remove("Gelvo.ini");
  LoadSettings();  // later tests expect the default name again
}

}  // namespace
}  // namespace tolvi
