// The progress chart laid out once for every program: the speed of each game shown, their
// moving average, the misses as bars along the bottom, and the ticks of both axes, in the
// pixels of the area that a program draws it in.
#pragma once

#include <string>
#include <vector>

#include "practice/progress.h"

namespace tolvi {

struct ChartPoint {
  double x = 0;
  double y = 0;
};

struct ChartRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

struct ChartTick {
  double at = 0;  // y for the speed axis, x for the games' axis
  std::string label;
};

struct ChartLayout {
  ChartRect plot;                      // the axes' frame; the labels lie outside it
  std::vector<ChartPoint> speeds;      // a point for each game shown, joined by a line
  std::vector<ChartPoint> averages;    // the moving average at each, a second line
  std::vector<ChartRect> miss_bars;    // a bar for each game with misses
  std::vector<ChartTick> speed_ticks;  // the speeds' scale, from the bottom up
  std::vector<ChartTick> game_ticks;   // the games' numbers, counted from the first
  // Where the legend's three entries begin (speed, average, misses): the left of each
  // swatch, at the middle of the line of text above the frame.
  std::vector<ChartPoint> legend;
};

ChartLayout LayOutChart(const Progress& progress, double width, double height);

}  // namespace tolvi
