// history.csv: each game's line as written, appended after torn and refused files, and read
// back from hostile ones into what the progress window shows.
#include "practice/history.h"

#include "base/calendar.h"
#include "base/text_format.h"
#include "practice/game.h"
#include "practice/progress.h"
#include "practice/progress_chart.h"
#include "support.h"

namespace tolvi {
namespace {

constexpr char kWhen[] = "2026-12-08T23:16:22+09:00";
const LocalTime kDecemberEighth{1796739382, 9 * 3600};  // kWhen

// A game of length in seconds with its misses, as PlayGame leaves it.
GameState GameOf(int length, double seconds, int misses = 0, const std::string& missed = "") {
  GameState game;
  game.total_length = length;
  game.timer_start = 1000.25;
  game.timer_end = 1000.25 + seconds;
  game.misses = misses;
  game.missed = missed;
  return game;
}

// A game's line with its fields as given.
std::string Line(const std::string& player, const std::string& speed,
                 const std::string& misses = "0", const std::string& missed = "\"\"",
                 const std::string& date = kWhen) {
  return date + "," + player + ",96," + "60.000," + speed + "," + misses + "," + missed;
}

const std::string kMark = "\xEF\xBB\xBF";
const std::string kHeader = "date,player,length,seconds,speed,misses,missed";

TEST(History, EachFieldAsTheLineHoldsIt) {
  struct Row {
    std::string player;  // code page 932
    int length;
    double seconds;
    std::string missed;  // UTF-8
    std::string line;    // after the date
  };
  const Row rows[] = {
      {"Ann", 96, 60, "", "Ann,96,60.000,96.00,0,\"\""},
      {"Ann", 96, 0.0625, "", "Ann,96,0.063,92160.00,0,\"\""},  // half a thousandth up
      // 100 in 62.4 s: 96.153846..., and a speed exactly halfway, both as SpeedText rounds.
      {"Ann", 100, 62.4, "o", "Ann,100,62.400,96.15,0,\"o\""},
      {"Ann", 1, 1 / 96.125 * 60, "", "Ann,1,0.624,96.13,0,\"\""},
      {"\x8E\x52\x93\x63", 96, 60, "\xE3\x81\x82", "山田,96,60.000,96.00,0,\"あ\""},
      {"a,b", 96, 60, "\"", "\"a,b\",96,60.000,96.00,0,\"\"\"\""},
      {"say \"hi\"", 96, 60, ",", "\"say \"\"hi\"\"\",96,60.000,96.00,0,\",\""},
      {" pad ", 96, 60, "", "\" pad \",96,60.000,96.00,0,\"\""},
      // What a spreadsheet would take for a formula reads as text.
      {"=1+1", 96, 60, "-", "'=1+1,96,60.000,96.00,0,\"'-\""},
      {"+x", 96, 60, "@", "'+x,96,60.000,96.00,0,\"'@\""},
      {"'q", 96, 60, "a'", "''q,96,60.000,96.00,0,\"a'\""},
      {"t\tab", -4, 1, "\r\x7F",
       "t\xE2\x90\x89"
       "ab,-4,1.000,-240.00,0,\"\xE2\x90\x8D\xE2\x90\xA1\""},
      {"", 0, 2.5, "", ",0,2.500,0.00,0,\"\""},
  };
  for (const Row& row : rows) {
    const std::string line =
        HistoryRecord(GameOf(row.length, row.seconds, 0, row.missed), row.player, kDecemberEighth);
    EXPECT_EQ(line, std::string(kWhen) + "," + row.line) << row.player;
  }
  // A formula name reads back as the same name.
  test::FreshFolder folder;
  test::WriteFile(
      kHistoryFile,
      kMark + kHeader + "\r\n" + HistoryRecord(GameOf(96, 60), "=1+1", kDecemberEighth) + "\r\n");
  EXPECT_EQ(ReadProgress("=1+1").games, 1);
  EXPECT_EQ(ReadProgress("'=1+1").games, 0);
}

TEST(History, TheCharacterEachWrongEntryMissed) {
  const std::string a = "\x82\xA0";   // a double-byte kana
  const std::string ya = "\x88\x9F";  // its trail byte looks like a lead byte
  struct Row {
    std::string sentence;
    std::string typed;
    std::string missed;
  };
  const Row rows[] = {
      {"abc", "abx", "c"},
      {"abc", "ab", "c"},
      {"abc", "", "a"},
      {"abc", "abc ", ""},  // the whole sentence, then more
      {"abc", "Abc", "a"},
      {a + ya, a + "\x88\x9E", ya},  // the trail differs: the whole character
      {a + ya, "\x82", a},
      {a + ya, a, ya},
      {"x" + a, "x" + a + "!", ""},
      {"x\x82", "x", "\x82"},  // a lead byte at the end stands alone
  };
  for (const Row& row : rows) {
    EXPECT_EQ(MissedCharacter(row.sentence, row.typed), row.missed)
        << row.sentence << "|" << row.typed;
  }
}

TEST(History, AppendsAfterTheHeaderATornLineAndNothingOnFailure) {
  test::FreshFolder folder;
  const HistoryFileOps system = HistoryOps();
  const std::string first = HistoryRecord(GameOf(96, 60), "Ann", kDecemberEighth) + "\r\n";
  ASSERT_EQ(RecordGame(GameOf(96, 60), "Ann", kDecemberEighth), 1);
  EXPECT_EQ(test::ReadFile(kHistoryFile), kMark + kHeader + "\r\n" + first) << "a new file";
  test::WriteFile(kHistoryFile, kMark + kHeader + "\r\n" + "2026-12-08T23:16:22+09:00,Ann,96,6");
  ASSERT_EQ(RecordGame(GameOf(96, 60), "Ann", kDecemberEighth), 1);
  EXPECT_EQ(test::ReadFile(kHistoryFile),
            kMark + kHeader + "\r\n" + "2026-12-08T23:16:22+09:00,Ann,96,6\r\n" + first)
      << "after a torn line, a line of its own";
  EXPECT_EQ(ReadProgress("Ann").games, 1);
  EXPECT_EQ(ReadProgress("Ann").skipped_lines, 1);
  test::WriteFile(kHistoryFile, "");
  ASSERT_EQ(RecordGame(GameOf(96, 60), "Ann", kDecemberEighth), 1);
  EXPECT_EQ(test::ReadFile(kHistoryFile), kMark + kHeader + "\r\n" + first) << "an empty file";

  // Refused, an append changes nothing that was there.
  const std::string before = test::ReadFile(kHistoryFile);
  struct Failure {
    HistoryFileOps ops;
    const char* what;
  };
  const Failure failures[] = {
      {{[](const char*, char*) { return TailResult::kUnreadable; }, system.append, system.flush},
       "unreadable"},
      {{system.last_byte, [](const char*, const void*, std::size_t) { return false; },
        system.flush},
       "unwritable"},
      {{system.last_byte, system.append, [](const char*) { return false; }}, "not flushed"},
  };
  for (const Failure& failure : failures) {
    HistoryOps() = failure.ops;
    EXPECT_EQ(RecordGame(GameOf(96, 60), "Ann", kDecemberEighth), 0) << failure.what;
    HistoryOps() = system;
  }
  EXPECT_EQ(test::ReadFile(kHistoryFile).substr(0, before.size()), before);
  std::filesystem::create_directory("folder");
  std::filesystem::current_path("folder");
  std::filesystem::create_directory(kHistoryFile);
  EXPECT_EQ(RecordGame(GameOf(96, 60), "Ann", kDecemberEighth), 0) << "a folder in its place";
  EXPECT_EQ(ReadProgress("Ann").games, 0);
  std::filesystem::current_path("..");
}

// The games read from lines after the mark and the header.
Progress Read(const std::string& lines, const std::string& player = "Ann") {
  test::WriteFile(kHistoryFile, lines);
  return ReadProgress(player);
}

TEST(Progress, HostileFilesGiveTheirWholeGamesOnly) {
  test::FreshFolder folder;
  const std::string ok = Line("Ann", "96.00") + "\r\n";
  const std::string head = kMark + kHeader + "\r\n";
  const std::string not_utf8[] = {Line("Ann", "96.00", "3", "\"\xE3\xC0\x80\"") + "\n",
                                  Line("Ann", "96.00", "3", "\"\xE0\x80\x80\"") + "\n",
                                  Line("Ann", "96.00", "3", "\"\xF0\x80\x80\"") + "\n"};
  struct Row {
    std::string file;
    std::int64_t games;
    std::int64_t skipped;
  };
  const Row rows[] = {
      {"", 0, 0},
      {head, 0, 0},
      {head + ok + ok, 2, 0},
      {kHeader + "\n" + Line("Ann", "96.00") + "\n", 1, 0},  // no mark, LF alone
      {ok + "\r\n\n" + ok, 2, 0},                            // empty lines are no games
      {head + ok + Line("Ann", "96.00").substr(0, 40), 1, 1},
      {head + ok + Line("Ann", "96.00", "1", "\"ab"), 1, 1},    // torn inside the quotes
      {head + ok + Line("Ann", "96.00", "2", "\"ab\""), 2, 0},  // whole, without its end
      {head + "junk\r\n" + ok + "a,b,c,d,e,f,g\r\n", 1, 2},
      {head + std::string(4096, '\0') + "\r\n" + ok, 1, 1},  // what a power cut can leave
      {head + ok.substr(0, 30) + std::string(1, '\0') + ok.substr(31), 0, 1},
      {head + std::string(1 << 20, 'x') + "\n" + ok + std::string(1 << 20, 'y'), 1, 2},
      {head + Line("Ann", "NaN") + "\n" + Line("Ann", "inf") + "\n" + Line("Ann", "1e300") + "\n",
       0, 3},
      {head + Line("Ann", "-96.00") + "\n" + Line("Ann", "1000000001") + "\n", 0, 2},
      {head + Line("Ann", "96.") + "\n" + Line("Ann", ".5") + "\n" + Line("Ann", "96") + "\n", 1,
       2},
      {head + Line("Ann", "96.00", "0", "\"\"", "1969-12-31T23:59:59+00:00") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "+275760-09-13T00:00:00Z") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "2026-02-29T12:00:00+09:00") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "2028-02-29T12:00:00Z") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "2026-12-08T24:00:00+09:00") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "2026-12-08T23:16:22+19:00") + "\n" +
           Line("Ann", "96.00", "0", "\"\"", "9999-12-31T23:59:59-18:00") + "\n",
       2, 5},
      {head + Line("Ann", "96.00", "1", "\"ab\"") + "\n" + Line("Ann", "96.00", "-1") + "\n", 0, 2},
      {head + Line("Ann", "96.00", "1", "\"\xE3\x81\"") + "\n" + Line("A\"n", "96.00") + "\n", 0,
       2},
      {head + Line("Ann", "96.00") + ",\n" + Line("\"Ann\"x", "96.00") + "\n", 0, 2},
      {head + Line("\"Ann\"", "96.00", "1", "\"'=\"") + "\n" + Line("Bob", "96.00") + "\n", 1, 0},
      {head + kWhen + ",Ann,-4,1.000,-240.00,0,\"\"\n" + kWhen + ",Ann,-4,1.000,240.00,0,\"\"\n", 1,
       1},  // a speed takes its length's sign
      {head + Line(std::string(30, 'A') + "\x7F", "96.00") + "\n" + Line("A\x7Fn", "96.00") + "\n" +
           Line("\"a\"x\"b\"", "96.00") + "\n",
       0, 3},
      {head + kWhen + ",Ann,96,60.000000,96.00,0,\"\"\n", 1, 0},
      {head + Line("Ann", "96.00", "x") + "\n" + Line("\"A,n\"", "96.00") + "\n", 0, 1},
      // Not UTF-8, though each lead looks like a kana's: C0 continues nothing, E0 80 and
      // F0 80 are overlong; sixteen bytes at a time, then one at a time at the end, and the
      // other way round.
      {head + not_utf8[0] + not_utf8[1] + not_utf8[2], 0, 3},
      {head + not_utf8[2] + not_utf8[1] + not_utf8[0], 0, 3},
      {head + Line("A~n", "96.00") + "\n", 0, 0},  // another player's whole game
  };
  for (const Row& row : rows) {
    const Progress progress = Read(row.file);
    EXPECT_EQ(progress.games, row.games) << row.file.substr(0, 120);
    EXPECT_EQ(progress.skipped_lines, row.skipped) << row.file.substr(0, 120);
  }
  test::WriteFile(kHistoryFile, head + ok);
  EXPECT_EQ(ReadProgress("Ann").games, 1);
  EXPECT_EQ(test::ReadFile(kHistoryFile), head + ok) << "the file is only read";
}

TEST(Progress, TheNumbersTheWindowShows) {
  test::FreshFolder folder;
  std::string file = kMark + kHeader + "\r\n";
  // 25 games of Ann's, speeds 1 to 25, with Bob's between them.
  for (int i = 1; i <= 25; ++i) {
    const std::string date =
        "2026-12-" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "T10:00:00+09:00";
    const std::string missed = i % 5 == 0 ? "\"あ\xF0\x9F\x98\x80é\"" : i % 2 ? "\"b\"" : "\"\"";
    file += Line("Ann", std::to_string(i) + ".00", i % 2 || i % 5 == 0 ? "3" : "0", missed, date) +
            "\r\n";
    file += Line("Bob", "500.00", "3", "\"zzz\"") + "\r\n";
  }
  const Progress ann = Read(file);
  EXPECT_EQ(ann.games, 25);
  EXPECT_EQ(ann.best_speed, 25);
  EXPECT_EQ(ann.total_seconds, 25 * 60);
  EXPECT_EQ(ann.total_misses, 3 * 15);
  EXPECT_EQ(ann.recent.size(), 25u);
  EXPECT_EQ(ann.recent.back().speed, 25);
  EXPECT_STREQ(ann.recent.front().date.data(), "2026-12-01T10:00:00+09:00");
  EXPECT_EQ(ann.averages[0], 1);
  EXPECT_EQ(ann.averages[24], 20.5) << "16 to 25";
  EXPECT_EQ(ann.recent_count, 10);
  EXPECT_EQ(ann.recent_mean, 20.5);
  EXPECT_EQ(ann.earlier_count, 10);
  EXPECT_EQ(ann.earlier_mean, 10.5);
  ASSERT_EQ(ann.most_missed.size(), 4u);
  EXPECT_EQ(ann.most_missed[0].character, U'b');
  EXPECT_EQ(ann.most_missed[0].count, 10);
  EXPECT_EQ(ann.most_missed[1].character, U'é') << "among equal counts the lower first";
  EXPECT_EQ(ann.most_missed[3].character, 0x1F600u);
  EXPECT_EQ(Read(file, "").games, 50) << "with no name, every player's";
  EXPECT_EQ(Read(file, "Bob").best_speed, 500);

  const ProgressFormats formats{"-----", "「%s」%s", "　", "%s ～ %s"};
  const ProgressTexts texts = ProgressTextsOf(ann, formats);
  EXPECT_EQ(texts.games, "25");
  EXPECT_EQ(texts.best, "25.00 char/60s");
  EXPECT_EQ(texts.recent_mean, "20.50 char/60s");
  EXPECT_EQ(texts.earlier_mean, "10.50 char/60s");
  EXPECT_EQ(texts.total_time, "0:25:00");
  EXPECT_EQ(texts.misses, "45");
  EXPECT_EQ(texts.most_missed, "「b」10　「é」5　「あ」5　「\xF0\x9F\x98\x80」5");
  EXPECT_EQ(texts.period, "2026-12-01 ～ 2026-12-25");
  EXPECT_EQ(texts.skipped, "");
  EXPECT_FALSE(texts.empty);

  // A hundred and twenty games: the chart shows the last hundred.
  file = "";
  for (int i = 1; i <= 120; ++i) file += Line("Ann", std::to_string(i) + ".00") + "\n";
  const Progress many = Read(file + "junk\n");
  EXPECT_EQ(many.recent.size(), 100u);
  EXPECT_EQ(many.recent.front().speed, 21);
  EXPECT_EQ(many.averages.front(), 16.5) << "12 to 21: the games before the chart count";
  EXPECT_EQ(many.earlier_count, 10);
  const ProgressTexts some = ProgressTextsOf(many, formats);
  EXPECT_EQ(some.skipped, "1");
  EXPECT_EQ(some.period, "2026-12-08");
  EXPECT_EQ(some.most_missed, "-----");

  // Forty characters missed once each, and a single game: its own mean.
  std::string forty;
  for (char c = '0'; c < '0' + 40; ++c) forty += c;
  const Progress one = Read(Line("Ann", "96.00", "40", "\"" + forty + "\"") + "\n");
  EXPECT_EQ(
      std::vector<std::uint32_t>({one.most_missed[0].character, one.most_missed[9].character}),
      std::vector<std::uint32_t>({'0', '9'}));
  EXPECT_EQ(ProgressTextsOf(one, formats).recent_mean, "96.00 char/60s");
  EXPECT_EQ(Read(std::string(kWhen) + ",Ann,-4,1.000,-240.00,0,\"\"\n").best_speed, -240)
      << "the best of games of no length";

  const ProgressTexts none = ProgressTextsOf(Read(""), formats);
  EXPECT_TRUE(none.empty);
  EXPECT_EQ(std::vector<std::string>({none.games, none.best, none.recent_mean, none.earlier_mean,
                                      none.total_time, none.period}),
            std::vector<std::string>({"0", "-----", "-----", "-----", "0:00:00", "-----"}));
}

TEST(Progress, ChartScalesAndTicks) {
  test::FreshFolder folder;
  std::string file;
  const int speeds[] = {120, 80, 200, 160};
  for (int speed : speeds)
    file += Line("Ann", std::to_string(speed) + ".00", speed == 80 ? "4" : "0") + "\n";
  const ChartLayout chart = LayOutChart(Read(file), 436, 150);
  EXPECT_EQ(chart.plot.left, 36);
  EXPECT_EQ(chart.plot.width, 436 - 36 - 8);
  EXPECT_EQ(chart.plot.height, 150 - 18 - 18);
  EXPECT_EQ(chart.legend.size(), 3u);
  EXPECT_EQ(chart.legend.back().x, chart.plot.left + chart.plot.width - 76);
  std::vector<std::string> labels;
  for (const ChartTick& tick : chart.speed_ticks) labels.push_back(tick.label);
  EXPECT_EQ(labels, std::vector<std::string>({"0", "50", "100", "150", "200"}));
  EXPECT_EQ(chart.speed_ticks.front().at, chart.plot.top + chart.plot.height);
  EXPECT_EQ(chart.speed_ticks.back().at, chart.plot.top);
  ASSERT_EQ(chart.speeds.size(), 4u);
  EXPECT_EQ(chart.speeds[2].y, chart.plot.top) << "200, the top of the scale";
  EXPECT_EQ(chart.speeds[0].x, chart.plot.left + chart.plot.width / 8);
  EXPECT_EQ(chart.averages[1].y, chart.plot.top + chart.plot.height / 2)
      << "the mean of 120 and 80";
  ASSERT_EQ(chart.miss_bars.size(), 1u);
  EXPECT_EQ(chart.miss_bars[0].height, chart.plot.height / 4);
  EXPECT_EQ(chart.miss_bars[0].top + chart.miss_bars[0].height, chart.plot.top + chart.plot.height);
  EXPECT_EQ(chart.game_ticks.size(), 4u);
  EXPECT_EQ(chart.game_ticks[3].label, "4");

  file = "";
  for (int i = 1; i <= 130; ++i) file += Line("Ann", i == 7 ? "0.02" : "0.04") + "\n";
  const ChartLayout slow = LayOutChart(Read(file), 436, 150);
  EXPECT_EQ(slow.speed_ticks[1].label, "0.01");
  labels.clear();
  for (const ChartTick& tick : slow.game_ticks) labels.push_back(tick.label);
  EXPECT_EQ(labels, std::vector<std::string>({"40", "60", "80", "100", "120"}));
  EXPECT_TRUE(LayOutChart(Read(""), 436, 150).speeds.empty());
  EXPECT_EQ(LayOutChart(Read(Line("Ann", "300.00") + "\n"), 436, 150).speed_ticks[1].label, "100");
  const ChartLayout negative = LayOutChart(Read(Line("Ann", "0.00") + "\n"), 436, 150);
  EXPECT_EQ(negative.speed_ticks.size(), 2u) << "a flat line still has a scale";
}

TEST(Calendar, DatesPast2038OnEveryBuild) {
  struct Row {
    LocalTime when;
    std::string iso;
    std::string date_text;
  };
  const Row rows[] = {
      {{0, 0}, "1970-01-01T00:00:00+00:00", "Jan 01 00:00:00 1970"},
      {kDecemberEighth, kWhen, "Dec 08 23:16:22 2026"},
      {{2147483647, 0}, "2038-01-19T03:14:07+00:00", "Jan 19 03:14:07 2038"},
      {{2147483648LL + 86400 * 366, -5 * 3600},
       "2039-01-19T22:14:08-05:00",
       "Jan 19 22:14:08 2039"},
      {{951782400, 5 * 3600 + 45 * 60}, "2000-02-29T05:45:00+05:45", "Feb 29 05:45:00 2000"},
      {{253402300799, 0}, "9999-12-31T23:59:59+00:00", "Dec 31 23:59:59 9999"},
      {{-62198755200, 0}, "-0001-01-01T00:00:00+00:00", "Jan 01 00:00:00 -1"},
      {{2216775600, 9 * 3600}, "2040-03-31T12:00:00+09:00", "Mar 31 12:00:00 2040"},
      {{4107542400, 0}, "2100-03-01T00:00:00+00:00", "Mar 01 00:00:00 2100"},
      {{-30610310400, 0}, "0999-12-31T00:00:00+00:00", "Dec 31 00:00:00 999"},
  };
  for (const Row& row : rows) {
    char iso[kIsoDateBytes];
    FormatIsoDate(row.when, iso);
    EXPECT_EQ(iso, row.iso);
    EXPECT_EQ(IsIsoDate(iso), row.when.seconds >= 0 && row.when.seconds < 253402300800) << row.iso;
    char text[kDateTextChars + 1];
    DateTextOf(row.when, text);
    EXPECT_EQ(text, row.date_text);
  }
  EXPECT_EQ(std::vector<std::int64_t>({DaysFromCivil(1995, 6, 1), DaysFromCivil(2000, 3, 1),
                                       DaysFromCivil(2000, 2, 29), DaysFromCivil(1969, 12, 31)}),
            std::vector<std::int64_t>({9282, 11017, 11016, -1}));
  for (const char* bad :
       {"x026-12-08T23:16:22+09:00", "2026-12-08T23:16:22+09:0x", "2026-04-31T23:16:22+09:00",
        "2026-12-08 23:16:22Z", "2026-12-08T23:16:22+18:10"}) {
    EXPECT_FALSE(IsIsoDate(bad)) << bad;
  }
  // Each build's clock: now, with an offset that its own calendar agrees with.
  const LocalTime now = LocalNow();
  const std::time_t c_now = std::time(nullptr);
  EXPECT_LE(std::abs(static_cast<long long>(now.seconds - c_now)), 2);
  EXPECT_LE(std::abs(now.offset_seconds), 18 * 3600);
  const std::tm local = *std::localtime(&c_now);
  const CivilTime civil = CivilTimeOf({static_cast<std::int64_t>(c_now), now.offset_seconds});
  EXPECT_EQ(std::vector<int>({civil.month, civil.day, civil.hour, civil.minute, civil.second}),
            std::vector<int>(
                {local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec}));
}

}  // namespace
}  // namespace tolvi
