// The progress window: the player's numbers read back from history.csv and their chart,
// drawn with GDI exactly as the core lays it out.
#include "shell/progress_dialog.h"

#include <cmath>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "practice/progress_chart.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "shell/app.h"

namespace tolvi {

namespace {

static_assert(IDC_PROGRESS_PERIOD - IDC_PROGRESS_GAMES + 1 == std::size(kProgressLabels),
              "a value field for each row's label");

// The chart's colours (0x00BBGGRR) and strokes, in pixels.
constexpr COLORREF kPaperColour = RGB(255, 255, 255);
constexpr COLORREF kFrameColour = RGB(128, 128, 128);
constexpr COLORREF kGridColour = RGB(225, 225, 225);
constexpr COLORREF kLabelColour = RGB(64, 64, 64);
constexpr COLORREF kMissColour = RGB(215, 185, 160);
constexpr COLORREF kAverageColour = RGB(240, 135, 20);
constexpr COLORREF kSpeedColour = RGB(30, 90, 210);
constexpr int kChartFontPixels = 9;
constexpr int kLinePixels = 2;
constexpr DWORD kAverageDashPixels[] = {6, 3};
constexpr int kDotRadiusPixels = 2;
constexpr int kSwatchPixels = 16;
constexpr int kLabelGapPixels = 3;

int Pixel(double at) { return static_cast<int>(std::lround(at)); }

std::vector<POINT> PixelsOf(const std::vector<ChartPoint>& points) {
  std::vector<POINT> pixels;
  for (const ChartPoint& point : points) pixels.push_back({Pixel(point.x), Pixel(point.y)});
  return pixels;
}

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT box{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}

HPEN SolidPen(COLORREF colour, int width) { return CreatePen(PS_SOLID, width, colour); }

HPEN DashedPen(COLORREF colour) {
  const LOGBRUSH paint{BS_SOLID, colour, 0};
  return ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_ROUND, kLinePixels,
                      &paint, std::size(kAverageDashPixels), kAverageDashPixels);
}

// Joins the points with pen, which is deleted once they are drawn.
void DrawLine(HDC dc, const std::vector<POINT>& points, HPEN pen) {
  HGDIOBJ previous = SelectObject(dc, pen);
  Polyline(dc, points.data(), static_cast<int>(points.size()));
  SelectObject(dc, previous);
  DeleteObject(pen);
}

void DrawDots(HDC dc, const std::vector<POINT>& points, COLORREF colour) {
  HPEN pen = SolidPen(colour, 1);
  HBRUSH brush = CreateSolidBrush(colour);
  HGDIOBJ previous_pen = SelectObject(dc, pen);
  HGDIOBJ previous_brush = SelectObject(dc, brush);
  for (const POINT& at : points) {
    Ellipse(dc, at.x - kDotRadiusPixels, at.y - kDotRadiusPixels, at.x + kDotRadiusPixels + 1,
            at.y + kDotRadiusPixels + 1);
  }
  SelectObject(dc, previous_brush);
  SelectObject(dc, previous_pen);
  DeleteObject(brush);
  DeleteObject(pen);
}

// Writes text (code page 932) with its line's middle at y, from x as align says: TA_LEFT,
// TA_CENTER or TA_RIGHT.
void WriteText(HDC dc, int x, int y, UINT align, const std::string& text, int line_pixels) {
  SetTextAlign(dc, align | TA_TOP);
  TextOutA(dc, x, y - line_pixels / 2, text.data(), static_cast<int>(text.size()));
}

// The chart's font: the dialog's face, small enough for the room the layout leaves.
HFONT ChartFont(HWND control) {
  LOGFONTA shape{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof shape,
             &shape);
  shape.lfHeight = -kChartFontPixels;
  shape.lfWidth = 0;
  return CreateFontIndirectA(&shape);
}

void DrawMarks(HDC dc, const ChartLayout& chart, int line_pixels) {
  const ChartRect& plot = chart.plot;
  const int left = Pixel(plot.left);
  const int top = Pixel(plot.top);
  const int right = Pixel(plot.left + plot.width);
  const int bottom = Pixel(plot.top + plot.height);
  for (const ChartTick& tick : chart.speed_ticks) {
    DrawLine(dc, {{left, Pixel(tick.at)}, {right, Pixel(tick.at)}}, SolidPen(kGridColour, 1));
    WriteText(dc, left - kLabelGapPixels, Pixel(tick.at), TA_RIGHT, tick.label, line_pixels);
  }
  DrawLine(dc, {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}},
           SolidPen(kFrameColour, 1));
  for (const ChartTick& tick : chart.game_ticks) {
    WriteText(dc, Pixel(tick.at), bottom + kLabelGapPixels + line_pixels / 2, TA_CENTER, tick.label,
              line_pixels);
  }

  for (const ChartRect& bar : chart.miss_bars) {
    FillBox(dc, Pixel(bar.left), Pixel(bar.top), Pixel(bar.left + bar.width),
            Pixel(bar.top + bar.height), kMissColour);
  }
  DrawLine(dc, PixelsOf(chart.averages), DashedPen(kAverageColour));
  const std::vector<POINT> speeds = PixelsOf(chart.speeds);
  DrawLine(dc, speeds, SolidPen(kSpeedColour, kLinePixels));
  DrawDots(dc, speeds, kSpeedColour);

  // Each legend entry's swatch shows its mark as the chart draws it.
  const std::vector<POINT> legend = PixelsOf(chart.legend);
  const auto swatch = [](const POINT& at) {
    return std::vector<POINT>{at, {at.x + kSwatchPixels, at.y}};
  };
  DrawLine(dc, swatch(legend[0]), SolidPen(kSpeedColour, kLinePixels));
  DrawDots(dc, {{legend[0].x + kSwatchPixels / 2, legend[0].y}}, kSpeedColour);
  DrawLine(dc, swatch(legend[1]), DashedPen(kAverageColour));
  FillBox(dc, legend[2].x + kSwatchPixels / 4, legend[2].y - line_pixels / 3,
          legend[2].x + kSwatchPixels * 3 / 4, legend[2].y + line_pixels / 2, kMissColour);
  for (std::size_t i = 0; i < legend.size(); ++i) {
    WriteText(dc, legend[i].x + kSwatchPixels + kLabelGapPixels, legend[i].y, TA_LEFT,
              Utf8ToCp932(kProgressLegend[i]), line_pixels);
  }
}

void DrawChart(const DRAWITEMSTRUCT& item, const Progress& progress) {
  const int width = item.rcItem.right - item.rcItem.left;
  const int height = item.rcItem.bottom - item.rcItem.top;
  // Drawn off screen and copied in one step, so that no repaint shows it half drawn.
  HDC dc = CreateCompatibleDC(item.hDC);
  HBITMAP bitmap = CreateCompatibleBitmap(item.hDC, width, height);
  HGDIOBJ previous_bitmap = SelectObject(dc, bitmap);
  HFONT font = ChartFont(item.hwndItem);
  HGDIOBJ previous_font = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kLabelColour);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);

  FillBox(dc, 0, 0, width, height, kPaperColour);
  DrawMarks(dc, LayOutChart(progress, width, height), metrics.tmHeight);
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);

  SelectObject(dc, previous_font);
  DeleteObject(font);
  SelectObject(dc, previous_bitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      const ProgressTexts texts = ProgressTextsOf(
          *reinterpret_cast<const Progress*>(lParam),
          {kProgressNone, kProgressMissedItem, kProgressMissedSeparator, kProgressPeriod});
      for (int row = 0; row < static_cast<int>(std::size(kProgressRows)); ++row) {
        SetDlgItemTextA(dialog, IDC_PROGRESS_GAMES + row,
                        Utf8ToCp932(texts.*kProgressRows[row]).c_str());
      }
      const std::string empty = texts.empty ? Utf8ToCp932(kProgressEmpty) : "";
      const std::string skipped =
          texts.skipped.empty() ? "" : Utf8ToCp932(kProgressSkipped + texts.skipped);
      SetDlgItemTextA(dialog, IDC_PROGRESS_EMPTY, empty.c_str());
      SetDlgItemTextA(dialog, IDC_PROGRESS_SKIPPED, skipped.c_str());
      return TRUE;
    }
    case WM_DRAWITEM:
      DrawChart(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam),
                *reinterpret_cast<const Progress*>(GetWindowLongPtrA(dialog, DWLP_USER)));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); break;
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

INT_PTR ShowProgressDialog(HWND owner, const Progress& progress) {
  return RunDialog(owner, IDD_PROGRESS, ProgressDialogProc, reinterpret_cast<LPARAM>(&progress));
}

}  // namespace tolvi
