// The history reader on any file: what it reads lies in range and fits the chart, and a
// game of any name and any missed characters appended after it reads back whole, as that
// name's, whatever came before. Input: one byte whose low bits give the
// length of a name taken from the next bytes, then the file.
#include <cmath>

#include "base/calendar.h"
#include "base/code_page.h"
#include "fuzz.h"
#include "practice/game.h"
#include "practice/history.h"
#include "practice/progress.h"
#include "practice/progress_chart.h"

namespace {

using tolvi::fuzz::Check;

tolvi::Progress Read(std::string bytes, std::string_view player) {
  tolvi::File file(fmemopen(bytes.data(), bytes.size(), "rb"));
  return tolvi::ReadProgress(bytes.empty() ? nullptr : file.get(), player);
}

void CheckInRange(const tolvi::Progress& progress, std::size_t lines) {
  Check(progress.games >= 0 && progress.skipped_lines >= 0 &&
            static_cast<std::size_t>(progress.games + progress.skipped_lines) <= lines,
        "each line is a game, skipped, or neither");
  Check(progress.recent.size() ==
                static_cast<std::size_t>(std::min<std::int64_t>(progress.games, 100)) &&
            progress.averages.size() == progress.recent.size(),
        "the last hundred games and an average for each");
  for (const tolvi::ProgressGame& game : progress.recent) {
    Check(std::fabs(game.speed) <= 1e9 && game.misses >= 0 && game.speed <= progress.best_speed &&
              tolvi::IsIsoDate(game.date.data()),
          "a game's numbers and date are in range");
  }
  Check(progress.most_missed.size() <= 10, "ten most missed characters at most");
  for (std::size_t i = 0; i < progress.most_missed.size(); ++i) {
    Check(progress.most_missed[i].count > 0 &&
              (i == 0 || progress.most_missed[i - 1].count >= progress.most_missed[i].count),
          "the most missed first");
  }
  const tolvi::ChartLayout chart = tolvi::LayOutChart(progress, 400, 150);
  const tolvi::ChartRect& plot = chart.plot;
  const auto inside = [&](double x, double y) {
    return x >= plot.left && x <= plot.left + plot.width && y >= plot.top - 1e-6 &&
           y <= plot.top + plot.height + 1e-6;
  };
  for (std::size_t i = 0; i < chart.speeds.size(); ++i) {
    Check(inside(chart.speeds[i].x, chart.speeds[i].y) &&
              inside(chart.averages[i].x, chart.averages[i].y),
          "every point lies in the chart");
  }
  Check(chart.speed_ticks.size() >= 2 && chart.speed_ticks.size() <= 12, "a readable scale");
  tolvi::ProgressTextsOf(progress, {"-----", "%s %s", " ", "%s - %s"});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t name_bytes = std::min<std::size_t>(data[0] & 15, size - 1);
  const std::string_view name(reinterpret_cast<const char*>(data + 1), name_bytes);
  const std::string file(reinterpret_cast<const char*>(data + 1 + name_bytes),
                         size - 1 - name_bytes);
  const std::size_t lines =
      static_cast<std::size_t>(std::count(file.begin(), file.end(), '\n')) + 1;
  const std::string player = tolvi::HistoryPlayer(name);
  const tolvi::Progress before = Read(file, player);
  CheckInRange(before, lines);

  // A game of the name, with the file's first bytes as the characters it missed.
  tolvi::GameState game;
  game.total_length = 96;
  game.timer_end = 60;
  game.missed = tolvi::Cp932ToUtf8(file.substr(0, 12));
  game.misses = static_cast<std::int32_t>(game.missed.size());
  const std::string line = tolvi::HistoryRecord(game, name, {1796739382, 32400}) + "\r\n";
  const bool ended = file.empty() || file.back() == '\n';
  const tolvi::Progress after = Read(file + (ended ? "" : "\r\n") + line, player);
  CheckInRange(after, lines + 1);
  Check(after.games == before.games + 1 && after.skipped_lines == before.skipped_lines &&
            after.recent.back().speed == 96 && after.recent.back().misses == game.misses,
        "a game of any name appended after anything is read whole, as that name's");
  return 0;
}
