// The progress window: the numbers of the player's history, and its chart as the core lays
// it out in the page's pixels, handed to the page as JSON that it draws as it is.
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "base/text_format.h"
#include "practice/game.h"
#include "practice/progress.h"
#include "practice/progress_chart.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "web/dialogs.h"
#include "web/page.h"

namespace tolvi {

namespace {

constexpr int kRows = static_cast<int>(std::size(kProgressRows));
static_assert(std::size(kProgressLabels) == kRows, "a label for each row");
static_assert(IDC_PROGRESS_GAMES + kRows - 1 == IDC_PROGRESS_PERIOD, "a field id for each row");

// The chart's 236 × 92 dialog units in the page's pixels at the scale of one: a dialog unit
// is 1.75 pixels across and 1.625 down there (the dialogs' --dlu-x and --dlu-y). The page
// draws the chart in these units and scales it with everything else.
constexpr double kChartWidth = 236 * 1.75;
constexpr double kChartHeight = 92 * 1.625;

constexpr int kSpeedTextBytes = 48;
constexpr char kDescriptionSeparator[] = "、";
constexpr char kDescriptionEnd[] = "。";

// A hundredth of a pixel is finer than the page shows it at its largest scale.
void AppendNumber(std::string& json, double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", std::isfinite(value) ? value : 0.0);
  json += text;
}

void AppendString(std::string& json, std::string_view text) {
  json += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += '\\';
      json += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      json += escaped;
    } else {
      json += c;
    }
  }
  json += '"';
}

void AppendItem(std::string& json, const ChartPoint& point) {
  json += '[';
  AppendNumber(json, point.x);
  json += ',';
  AppendNumber(json, point.y);
  json += ']';
}

void AppendItem(std::string& json, const ChartRect& rect) {
  const char* separator = "[";
  for (const double value : {rect.left, rect.top, rect.width, rect.height}) {
    json += separator;
    AppendNumber(json, value);
    separator = ",";
  }
  json += ']';
}

void AppendItem(std::string& json, const ChartTick& tick) {
  json += '[';
  AppendNumber(json, tick.at);
  json += ',';
  AppendString(json, tick.label);
  json += ']';
}

std::string SpeedText(double speed) {
  char text[kSpeedTextBytes];
  FormatSpeedText(speed, text, sizeof text);
  return text;
}

// Each game the chart shows, in words, for whoever cannot see it: its date to the minute as
// its line has it ("2026-12-08 23:16"), then its speed, the average at it and its misses,
// each named as the legend names it.
std::string Description(const Progress& progress) {
  std::string text;
  for (std::size_t i = 0; i < progress.recent.size(); ++i) {
    const ProgressGame& game = progress.recent[i];
    const std::string_view date(game.date.data());
    text += date.substr(0, 10);
    text += ' ';
    text += date.substr(11, 5);
    const std::string values[] = {SpeedText(game.speed), SpeedText(progress.averages[i]),
                                  std::to_string(game.misses)};
    static_assert(std::size(values) == std::size(kProgressLegend), "a value for each mark");
    for (std::size_t v = 0; v < std::size(values); ++v) {
      text += kDescriptionSeparator;
      text += kProgressLegend[v];
      text += ' ';
      text += values[v];
    }
    text += kDescriptionEnd;
  }
  return text;
}

template <typename Item>
void AppendList(std::string& json, const char* key, const std::vector<Item>& items) {
  json += ",\"";
  json += key;
  json += "\":[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) json += ',';
    AppendItem(json, items[i]);
  }
  json += ']';
}

// The chart's size, everything LayOutChart placed in it, and its description.
std::string ChartJson(const Progress& progress) {
  const ChartLayout chart = LayOutChart(progress, kChartWidth, kChartHeight);
  std::string json = "{\"width\":";
  AppendNumber(json, kChartWidth);
  json += ",\"height\":";
  AppendNumber(json, kChartHeight);
  json += ",\"plot\":";
  AppendItem(json, chart.plot);
  AppendList(json, "speeds", chart.speeds);
  AppendList(json, "averages", chart.averages);
  AppendList(json, "bars", chart.miss_bars);
  AppendList(json, "speedTicks", chart.speed_ticks);
  AppendList(json, "gameTicks", chart.game_ticks);
  AppendList(json, "legend", chart.legend);
  json += ",\"description\":";
  AppendString(json, Description(progress));
  return json + "}";
}

}  // namespace

int ShowProgressDialog() {
  const Progress progress = ReadProgress(PlayerName());
  const ProgressTexts texts = ProgressTextsOf(
      progress, {kProgressNone, kProgressMissedItem, kProgressMissedSeparator, kProgressPeriod});
  std::vector<PageField> fields;
  for (int r = 0; r < kRows; ++r)
    fields.push_back({IDC_PROGRESS_GAMES + r, texts.*kProgressRows[r]});
  fields.push_back({IDC_PROGRESS_EMPTY, texts.empty ? kProgressEmpty : ""});
  fields.push_back(
      {IDC_PROGRESS_SKIPPED, texts.skipped.empty() ? "" : kProgressSkipped + texts.skipped});
  fields.push_back({IDC_PROGRESS_CHART, ChartJson(progress)});
  return RunPageDialog("progress", fields.data(), static_cast<int>(fields.size()));
}

}  // namespace tolvi
