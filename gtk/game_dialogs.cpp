// The dialogs a game talks through: name entry, typing prompt and result.
#include "gtk/game_dialogs.h"

#include <cstdio>
#include <string>

#include "base/code_page.h"
#include "base/text_format.h"
#include "gtk/app.h"
#include "gtk/widgets.h"
#include "practice/game.h"
#include "resources/resource.h"

namespace tolvi {

namespace {

constexpr char kNameCaption[] = "Name 入力フォーム";
constexpr char kNamePrompt[] = "名前を入力して下さい。";
constexpr char kNameLabel[] = "名前";
constexpr char kCancelText[] = "ｷｬﾝｾﾙ";
constexpr char kTypingCaption[] = "Tolvi";
constexpr char kQuitText[] = "終了";
constexpr char kResultCaption[] = "今回の記録";
constexpr char kLengthLabel[] = "LENGTH：";
constexpr char kScoreLabel[] = "SCORE：";
constexpr char kResultOkText[] = "OK(_Y)";
constexpr char kRetryText[] = "_Retry";
constexpr char kHighScoreText[] = "_HighScore";
constexpr char kOkText[] = "OK";
constexpr int kLengthTextBytes = 16;
// Room for a whole sentence of double-byte characters.
constexpr int kTypingWidthChars = 80;

static_assert(kOutcomeOk == kOkId && kOutcomeCancel == kCancelId &&
                  kOutcomeHighScore == IDC_RESULT_HIGHSCORE && kOutcomeRetry == IDC_RESULT_RETRY,
              "the result dialog ends with its button's id, which is the outcome");

// Takes the entry into field in the program's code page, cut to whole characters within
// capacity; a character the code page lacks becomes '?'.
void TakeEntry(GtkWidget* entry, char* field, int capacity) {
  const std::string text = Utf8ToCp932(gtk_entry_get_text(GTK_ENTRY(entry)));
  CopyWholeCharacters(text, field, static_cast<std::size_t>(capacity));
}

// Plain letters press the buttons as their access keys do, as in a Windows dialog.
gboolean PressAccessKey(GtkWidget* dialog, GdkEventKey* event, gpointer) {
  if ((event->state & gtk_accelerator_get_default_mod_mask()) != 0) return FALSE;
  GtkWindow* window = GTK_WINDOW(dialog);
  return gtk_window_mnemonic_activate(window, gdk_keyval_to_lower(event->keyval),
                                      gtk_window_get_mnemonic_modifier(window));
}

}  // namespace

int ShowNameDialog(GtkWindow* owner) {
  GtkWidget* grid = NewGrid();
  // Starts empty even when a name is set, so change-user always asks afresh.
  GtkWidget* entry = NewEntry(IDC_NAME_ENTRY);
  GtkWidget* ok = NewButton(kOkText, kOkId);
  GtkWidget* label = NewLabel(kNameLabel);
  gtk_label_set_mnemonic_widget(GTK_LABEL(label), entry);
  gtk_grid_attach(GTK_GRID(grid), NewLabel(kNamePrompt), 0, 0, 3, 1);
  gtk_grid_attach(GTK_GRID(grid), label, 0, 1, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), entry, 1, 1, 2, 1);
  gtk_grid_attach(GTK_GRID(grid), ok, 1, 2, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), NewButton(kCancelText, kCancelId), 2, 2, 1, 1);
  ModalDialog dialog(owner, NewDialog(kNameCaption, grid));
  SetDefaultButton(dialog.get(), ok);
  gtk_widget_grab_focus(entry);

  const int response = dialog.Run();
  if (response == kOkId) TakeEntry(entry, PlayerName(), kPlayerNameBytes);
  return response;
}

int ShowTypingDialog(GtkWindow* owner) {
  GameState& game = Game();
  GtkWidget* grid = NewGrid();
  GtkWidget* ok = NewButton(kOkText, kOkId);
  GtkWidget* sentence = NewField(IDC_TYPING_SENTENCE, game.sentences[game.slot].data(), false);
  gtk_entry_set_has_frame(GTK_ENTRY(sentence), TRUE);
  gtk_entry_set_width_chars(GTK_ENTRY(sentence), kTypingWidthChars);
  GtkWidget* entry = NewEntry(IDC_TYPING_INPUT);
  gtk_entry_set_text(GTK_ENTRY(entry), Cp932ToUtf8(game.typed[game.slot].data()).c_str());
  gtk_entry_set_width_chars(GTK_ENTRY(entry), kTypingWidthChars);
  GtkWidget* slot = NewField(IDC_TYPING_LABEL, SlotLabel(game.slot), false);
  gtk_widget_set_hexpand(slot, TRUE);
  gtk_grid_attach(GTK_GRID(grid), slot, 0, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), ok, 1, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), NewButton(kQuitText, kCancelId), 2, 0, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), sentence, 0, 1, 3, 1);
  gtk_grid_attach(GTK_GRID(grid), entry, 0, 2, 3, 1);
  ModalDialog dialog(owner, NewDialog(kTypingCaption, grid));
  SetDefaultButton(dialog.get(), ok);
  // A rejected entry comes back selected, so what is typed next replaces it.
  gtk_widget_grab_focus(entry);
  gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1);

  const int response = dialog.Run();
  if (response == kOkId) TakeEntry(entry, game.typed[game.slot].data(), kTypedReadBytes);
  return response;
}

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
