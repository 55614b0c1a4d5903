// The high-score list: the ten places with their names, speeds and dates.
#include "gtk/high_score_dialog.h"

#include <iterator>

#include "gtk/app.h"
#include "gtk/widgets.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "scores/high_scores.h"

namespace tolvi {

namespace {

static_assert(std::size(kRankTexts) == kHighScoreEntries, "a rank label for each place");
// Wide enough for a 16-byte name and a score with its date.
constexpr int kNameWidthChars = 16;
constexpr int kScoreWidthChars = 30;

// With no button to be the default, Enter itself ends the list with OK.
gboolean EndOnEnter(GtkWidget* dialog, GdkEventKey* event, gpointer) {
  switch (event->keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: gtk_dialog_response(GTK_DIALOG(dialog), kOkId); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

int ShowHighScoreDialog(GtkWindow* owner) {
  GtkWidget* grid = NewGrid();
  for (int i = 0; i < kHighScoreEntries; ++i) {
    const ShownEntry shown = EntryShown(i);
    GtkWidget* rank = NewLabel(kRankTexts[i]);
    GtkWidget* name_field = NewField(IDC_HS_NAME1 + 2 * i, shown.name, false);
    gtk_entry_set_width_chars(GTK_ENTRY(name_field), kNameWidthChars);
    gtk_label_set_mnemonic_widget(GTK_LABEL(rank), name_field);
    GtkWidget* score_field = NewField(IDC_HS_SCORE1 + 2 * i, shown.score, false);
    gtk_entry_set_width_chars(GTK_ENTRY(score_field), kScoreWidthChars);
    gtk_grid_attach(GTK_GRID(grid), rank, 0, i, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), name_field, 1, i, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), score_field, 2, i, 1, 1);
  }
  ModalDialog dialog(owner, NewDialog(kHighScoreCaption, grid));
  g_signal_connect(dialog.get(), "key-press-event", G_CALLBACK(EndOnEnter), nullptr);
  return dialog.Run();
}

}  // namespace tolvi
