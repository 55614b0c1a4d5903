// The progress window: the chart of the last games and the numbers of the whole history.
#include "gtk/progress_dialog.h"

#include <cmath>
#include <iterator>
#include <string>

#include "gtk/app.h"
#include "gtk/holders.h"
#include "gtk/widgets.h"
#include "practice/progress_chart.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace tolvi {

namespace {

constexpr int kRows = static_cast<int>(std::size(kProgressRows));
static_assert(std::size(kProgressLabels) == kRows, "a label for each row");
static_assert(IDC_PROGRESS_GAMES + kRows - 1 == IDC_PROGRESS_PERIOD, "a field id for each row");

// The rows that the chart's description reads out, each named by its label.
constexpr int kSummaryFields[] = {IDC_PROGRESS_GAMES, IDC_PROGRESS_PERIOD, IDC_PROGRESS_BEST,
                                  IDC_PROGRESS_RECENT, IDC_PROGRESS_EARLIER};
constexpr char kSummarySeparator[] = "　";

// The template's 236 × 92 dialog units in its 9-point font.
constexpr int kChartWidthPixels = 413;
constexpr int kChartHeightPixels = 150;
constexpr int kSmallFontPixels = 9;
constexpr double kLabelGapPixels = 3;
constexpr double kSwatchPixels = 14;
constexpr double kBarSwatchHeightPixels = 7;
constexpr double kDotRadiusPixels = 1.75;
constexpr double kLineWidthPixels = 1.5;
constexpr double kDashPixels[] = {4, 2};

struct Colour {
  double red;
  double green;
  double blue;
};
constexpr Colour kPaper{1, 1, 1};
constexpr Colour kInk{0.2, 0.2, 0.2};
constexpr Colour kFrame{0.45, 0.45, 0.45};
constexpr Colour kGridLine{0.87, 0.87, 0.87};
constexpr Colour kSpeedColour{0.11, 0.36, 0.80};
constexpr Colour kAverageColour{0.95, 0.50, 0.05};
constexpr Colour kMissColour{0.80, 0.68, 0.58};

void SetColour(cairo_t* cr, const Colour& colour) {
  cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
}

// The middle of the pixel at v, where a line one pixel wide covers that pixel alone.
double Crisp(double v) { return std::floor(v) + 0.5; }

// Text in the chart's small font, placed by the point at its left (0), centre (0.5) or
// right (1) and its top (0) or middle (0.5).
class ChartText {
 public:
  explicit ChartText(GtkWidget* chart) : layout_(gtk_widget_create_pango_layout(chart, nullptr)) {
    const FontDescriptionPtr font(pango_font_description_copy(
        pango_context_get_font_description(gtk_widget_get_pango_context(chart))));
    pango_font_description_set_absolute_size(font.get(), kSmallFontPixels * PANGO_SCALE);
    pango_layout_set_font_description(layout_.get(), font.get());
  }

  // Returns the width of the text in pixels.
  double Draw(cairo_t* cr, const std::string& text, double x, double y, double x_align,
              double y_align) {
    pango_layout_set_text(layout_.get(), text.c_str(), static_cast<int>(text.size()));
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout_.get(), &width, &height);
    cairo_move_to(cr, std::round(x - x_align * width), std::round(y - y_align * height));
    pango_cairo_show_layout(cr, layout_.get());
    return width;
  }

 private:
  ObjectPtr<PangoLayout> layout_;
};

void JoinPoints(cairo_t* cr, const std::vector<ChartPoint>& points) {
  for (const ChartPoint& point : points) cairo_line_to(cr, point.x, point.y);
  cairo_stroke(cr);
}

void DrawSpeedSwatch(cairo_t* cr, double x, double y) {
  SetColour(cr, kSpeedColour);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + kSwatchPixels, y);
  cairo_stroke(cr);
  cairo_arc(cr, x + kSwatchPixels / 2, y, kDotRadiusPixels, 0, 2 * G_PI);
  cairo_fill(cr);
}

void DrawAverageSwatch(cairo_t* cr, double x, double y) {
  SetColour(cr, kAverageColour);
  cairo_set_dash(cr, kDashPixels, static_cast<int>(std::size(kDashPixels)), 0);
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + kSwatchPixels, y);
  cairo_stroke(cr);
  cairo_set_dash(cr, nullptr, 0, 0);
}

void DrawMissSwatch(cairo_t* cr, double x, double y) {
  SetColour(cr, kMissColour);
  cairo_rectangle(cr, x, y - kBarSwatchHeightPixels / 2, kSwatchPixels, kBarSwatchHeightPixels);
  cairo_fill(cr);
}

// The legend's swatches in the order of its entries: speed, average, misses.
constexpr void (*kSwatches[])(cairo_t*, double, double) = {DrawSpeedSwatch, DrawAverageSwatch,
                                                           DrawMissSwatch};
static_assert(std::size(kSwatches) == std::size(kProgressLegend), "a swatch for each entry");

// Draws what LayOutChart gives for the chart's allocated size, and nothing else.
gboolean DrawChart(GtkWidget* chart, cairo_t* cr, gpointer data) {
  const ChartLayout layout =
      LayOutChart(*static_cast<const Progress*>(data), gtk_widget_get_allocated_width(chart),
                  gtk_widget_get_allocated_height(chart));
  const ChartRect& plot = layout.plot;
  const double right = plot.left + plot.width;
  const double bottom = plot.top + plot.height;
  ChartText text(chart);
  SetColour(cr, kPaper);
  cairo_paint(cr);

  cairo_set_line_width(cr, 1);
  SetColour(cr, kGridLine);
  for (const ChartTick& tick : layout.speed_ticks) {
    cairo_move_to(cr, plot.left, Crisp(tick.at));
    cairo_line_to(cr, right, Crisp(tick.at));
  }
  cairo_stroke(cr);
  SetColour(cr, kFrame);
  cairo_rectangle(cr, Crisp(plot.left), Crisp(plot.top), std::round(plot.width),
                  std::round(plot.height));
  cairo_stroke(cr);
  SetColour(cr, kInk);
  for (const ChartTick& tick : layout.speed_ticks) {
    text.Draw(cr, tick.label, plot.left - kLabelGapPixels, tick.at, 1, 0.5);
  }
  for (const ChartTick& tick : layout.game_ticks) {
    text.Draw(cr, tick.label, tick.at, bottom + kLabelGapPixels, 0.5, 0);
  }

  SetColour(cr, kMissColour);
  for (const ChartRect& bar : layout.miss_bars) {
    cairo_rectangle(cr, bar.left, bar.top, bar.width, bar.height);
  }
  cairo_fill(cr);
  cairo_set_line_width(cr, kLineWidthPixels);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetColour(cr, kAverageColour);
  cairo_set_dash(cr, kDashPixels, static_cast<int>(std::size(kDashPixels)), 0);
  JoinPoints(cr, layout.averages);
  cairo_set_dash(cr, nullptr, 0, 0);
  SetColour(cr, kSpeedColour);
  JoinPoints(cr, layout.speeds);
  for (const ChartPoint& point : layout.speeds) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, point.x, point.y, kDotRadiusPixels, 0, 2 * G_PI);
  }
  cairo_fill(cr);

  for (std::size_t i = 0; i < layout.legend.size() && i < std::size(kSwatches); ++i) {
    const ChartPoint& at = layout.legend[i];
    kSwatches[i](cr, at.x, at.y);
    SetColour(cr, kInk);
    text.Draw(cr, kProgressLegend[i], at.x + kSwatchPixels + kLabelGapPixels, at.y, 0, 0.5);
  }
  return TRUE;
}

// What the chart shows, in words, for whoever cannot see it.
std::string Summary(const ProgressTexts& texts) {
  if (texts.empty) return kProgressEmpty;
  std::string summary;
  for (const int field : kSummaryFields) {
    const int row = field - IDC_PROGRESS_GAMES;
    if (!summary.empty()) summary += kSummarySeparator;
    summary += kProgressLabels[row];
    summary += texts.*kProgressRows[row];
  }
  return summary;
}

GtkWidget* NewChart(const Progress& progress, const ProgressTexts& texts) {
  GtkWidget* chart = gtk_drawing_area_new();
  gtk_widget_set_size_request(chart, kChartWidthPixels, kChartHeightPixels);
  g_signal_connect(chart, "draw", G_CALLBACK(DrawChart), const_cast<Progress*>(&progress));
  SetControlId(chart, IDC_PROGRESS_CHART);
  AtkObject* accessible = gtk_widget_get_accessible(chart);
  atk_object_set_role(accessible, ATK_ROLE_CHART);
  atk_object_set_name(accessible, kProgressChartName);
  atk_object_set_description(accessible, Summary(texts).c_str());
  return chart;
}

}  // namespace

int ShowProgressDialog(GtkWindow* owner, const Progress& progress) {
  const ProgressTexts texts = ProgressTextsOf(
      progress, {kProgressNone, kProgressMissedItem, kProgressMissedSeparator, kProgressPeriod});
  // The rows lie close, as a list of numbers; the chart and the notes keep the spacing.
  GtkWidget* rows = NewGrid();
  gtk_grid_set_row_spacing(GTK_GRID(rows), 0);
  for (int r = 0; r < kRows; ++r) {
    GtkWidget* label = NewLabel(kProgressLabels[r]);
    GtkWidget* field =
        NewUtf8Field(IDC_PROGRESS_GAMES + r, (texts.*kProgressRows[r]).c_str(), true);
    gtk_entry_set_activates_default(GTK_ENTRY(field), TRUE);
    gtk_widget_set_hexpand(field, TRUE);
    gtk_label_set_mnemonic_widget(GTK_LABEL(label), field);
    gtk_grid_attach(GTK_GRID(rows), label, 0, r, 1, 1);
    gtk_grid_attach(GTK_GRID(rows), field, 1, r, 1, 1);
  }
  GtkWidget* grid = NewGrid();
  gtk_grid_attach(GTK_GRID(grid), NewChart(progress, texts), 0, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), rows, 0, 1, 1, 1);
  const std::string skipped = texts.skipped.empty() ? "" : kProgressSkipped + texts.skipped;
  GtkWidget* notes = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
  gtk_box_set_homogeneous(GTK_BOX(notes), TRUE);
  gtk_box_pack_start(GTK_BOX(notes),
                     NewUtf8Field(IDC_PROGRESS_EMPTY, texts.empty ? kProgressEmpty : "", false),
                     TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(notes), NewUtf8Field(IDC_PROGRESS_SKIPPED, skipped.c_str(), false),
                     TRUE, TRUE, 0);
  gtk_grid_attach(GTK_GRID(grid), notes, 0, 2, 1, 1);
  GtkWidget* ok = NewButton(kOkText, kOkId);
  gtk_widget_set_halign(ok, GTK_ALIGN_END);
  gtk_grid_attach(GTK_GRID(grid), ok, 0, 3, 1, 1);
  ModalDialog dialog(owner, NewDialog(kProgressCaption, grid));
  SetDefaultButton(dialog.get(), ok);
  gtk_widget_grab_focus(ok);
  return dialog.Run();
}

}  // namespace tolvi
