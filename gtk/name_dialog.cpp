// The name dialog, asked before a player's first game and by the change-user command.
#include "gtk/name_dialog.h"

#include "gtk/app.h"
#include "gtk/widgets.h"
#include "practice/game.h"
#include "resources/resource.h"
#include "resources/texts.h"

namespace tolvi {

int ShowNameDialog(GtkWindow* owner) {
  GtkWidget* grid = NewGrid();
  // Starts empty even when a name is set, so change-user always asks afresh.
  GtkWidget* entry = NewEntry(IDC_NAME_ENTRY);
  GtkWidget* ok = NewButton(kOkText, kOkId);
  GtkWidget* label = NewLabel(kNameLabel);
  // Tells assistive tools what the entry is for; the label has no access key to press.
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

}  // namespace tolvi
