// The typing prompt: one of the game's four sentences, and the entry it is typed into.
#include "gtk/typing_dialog.h"

#include "base/code_page.h"
#include "gtk/app.h"
#include "gtk/widgets.h"
#include "practice/game.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace tolvi {

namespace {
// Room for a whole sentence of double-byte characters.
constexpr int kTypingWidthChars = 80;
}  // namespace

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

}  // namespace tolvi
