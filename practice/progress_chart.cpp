// Scales and ticks that read well: steps of 1, 2 or 5 times a power of ten.
#include "practice/progress_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text_format.h"

namespace tolvi {
namespace {

// Room for the labels around the frame, in pixels.
constexpr double kLeftMargin = 36;
constexpr double kRightMargin = 8;
constexpr double kTopMargin = 18;  // the legend's line
constexpr double kBottomMargin = 18;
constexpr double kSpeedTicks = 4;
constexpr double kGameTicks = 5;
constexpr double kBarBand = 0.25;  // of the plot's height, the tallest bar
constexpr double kBarWidth = 0.6;  // of a game's share of the width
constexpr double kSmallestStep = 0.01;
constexpr int kLegendEntries = 3;
constexpr double kLegendEntryWidth = 76;

// The least step of 1, 2 or 5 times a power of ten that is at least rough.
double NiceStep(double rough) {
  if (!(rough > kSmallestStep)) return kSmallestStep;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough) return factor * power;
  }
  return 10 * power;
}

std::string TickLabel(double value, double step) {
  char text[48];
  if (step >= 1) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    AppendFixed2(text, sizeof text, 0, value);
  }
  return text;
}

}  // namespace

ChartLayout LayOutChart(const Progress& progress, double width, double height) {
  ChartLayout chart;
  ChartRect& plot = chart.plot;
  plot.left = kLeftMargin;
  plot.top = kTopMargin;
  plot.width = std::max(1.0, width - kLeftMargin - kRightMargin);
  plot.height = std::max(1.0, height - kTopMargin - kBottomMargin);

  double low = 0;
  double high = 0;
  for (const ProgressGame& game : progress.recent) {
    low = std::min(low, game.speed);
    high = std::max(high, game.speed);
  }
  for (const double average : progress.averages) high = std::max(high, average);
  // A flat line, and no line at all, still get a scale of whole numbers.
  const double step = NiceStep(high > low ? (high - low) / kSpeedTicks
                                          : std::max(std::fabs(high), kSpeedTicks) / kSpeedTicks);
  low = std::floor(low / step) * step;
  high = std::max(low + step, std::ceil(high / step) * step);
  const auto y_of = [&](double speed) {
    return plot.top + plot.height * (1 - (speed - low) / (high - low));
  };
  for (int i = 0; low + i * step <= high + step / 2; ++i) {
    chart.speed_ticks.push_back({y_of(low + i * step), TickLabel(low + i * step, step)});
  }

  const auto shown = static_cast<double>(progress.recent.size());
  const double share = plot.width / std::max(1.0, shown);
  const auto x_of = [&](std::size_t i) {
    return plot.left + share * (static_cast<double>(i) + 0.5);
  };
  int most_misses = 0;
  for (const ProgressGame& game : progress.recent) most_misses = std::max(most_misses, game.misses);
  for (std::size_t i = 0; i < progress.recent.size(); ++i) {
    const ProgressGame& game = progress.recent[i];
    chart.speeds.push_back({x_of(i), y_of(game.speed)});
    chart.averages.push_back({x_of(i), y_of(progress.averages[i])});
    if (game.misses > 0) {
      const double bar = plot.height * kBarBand * game.misses / most_misses;
      chart.miss_bars.push_back(
          {x_of(i) - share * kBarWidth / 2, plot.top + plot.height - bar, share * kBarWidth, bar});
    }
  }

  for (int i = 0; i < kLegendEntries; ++i) {
    chart.legend.push_back(
        {plot.left + plot.width - (kLegendEntries - i) * kLegendEntryWidth, kTopMargin / 2});
  }

  // The games shown are numbered from the player's first.
  const std::int64_t first = progress.games - static_cast<std::int64_t>(progress.recent.size()) + 1;
  const auto game_step =
      static_cast<std::int64_t>(std::max(1.0, NiceStep((shown - 1) / kGameTicks)));
  for (std::int64_t number = (first + game_step - 1) / game_step * game_step;
       number <= progress.games; number += game_step) {
    chart.game_ticks.push_back(
        {x_of(static_cast<std::size_t>(number - first)), std::to_string(number)});
  }
  return chart;
}

}  // namespace tolvi
