// The result of a game: the player, LENGTH and the speed, and what to do next.
#include "gtk/result_dialog.h"

#include <cstdio>

#include "gtk/app.h"
#include "gtk/widgets.h"
#include "practice/game.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace tolvi {

namespace {

constexpr int kLengthTextBytes = 16;

static_assert(kOutcomeOk == kOkId && kOutcomeCancel == kCancelId &&
                  kOutcomeHighScore == IDC_RESULT_HIGHSCORE && kOutcomeRetry == IDC_RESULT_RETRY,
              "the result dialog ends with its button's id, which is the outcome");

// Plain letters press the buttons as their access keys do, as in a Windows dialog; an
// entry with the focus keeps its letters, as an edit control does.
gboolean PressAccessKey(GtkWidget* dialog, GdkEventKey* event, gpointer) {
  if ((event->state & gtk_accelerator_get_default_mod_mask()) != 0) return FALSE;
  GtkWindow* window = GTK_WINDOW(dialog);
  if (GTK_IS_ENTRY(gtk_window_get_focus(window))) return FALSE;
  return gtk_window_mnemonic_activate(window, gdk_keyval_to_lower(event->keyval),
                                      gtk_window_get_mnemonic_modifier(window));
}

}  // namespace

int ShowResultDialog(GtkWindow* owner) {
  const GameState& game = Game();
  char length_text[kLengthTextBytes];
  std::snprintf(length_text, sizeof length_text, "%d", static_cast<int>(game.total_length));
  GtkWidget* grid = NewGrid();
  GtkWidget* ok = NewButton(kResultOkText, kOkId);
  GtkWidget* length_label = NewLabel(kLengthLabel);
  GtkWidget* length = NewField(IDC_RESULT_LENGTH, length_text, false);
  gtk_label_set_mnemonic_widget(GTK_LABEL(length_label), length);
  GtkWidget* speed_label = NewLabel(kScoreLabel);
  GtkWidget* speed = NewField(IDC_RESULT_SPEED, game.speed_text.data(), false);
  gtk_label_set_mnemonic_widget(GTK_LABEL(speed_label), speed);
  gtk_grid_attach(GTK_GRID(grid), NewField(IDC_RESULT_NAME, PlayerName(), true), 0, 0, 2, 1);
  gtk_grid_attach(GTK_GRID(grid), length_label, 0, 1, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), length, 1, 1, 2, 1);
  gtk_grid_attach(GTK_GRID(grid), speed_label, 0, 2, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), speed, 1, 2, 2, 1);
  gtk_grid_attach(GTK_GRID(grid), ok, 0, 3, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), NewButton(kRetryText, IDC_RESULT_RETRY), 1, 3, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), NewButton(kHighScoreText, IDC_RESULT_HIGHSCORE), 2, 3, 1, 1);
  ModalDialog dialog(owner, NewDialog(kResultCaption, grid));
  SetDefaultButton(dialog.get(), ok);
  gtk_widget_grab_focus(ok);
  g_signal_connect(dialog.get(), "key-press-event", G_CALLBACK(PressAccessKey), nullptr);
  return dialog.Run();
}

}  // namespace tolvi
