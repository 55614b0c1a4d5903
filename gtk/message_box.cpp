// The message box that says no sentence could be read from the sentence file.
#include "gtk/message_box.h"

#include "base/code_page.h"
#include "gtk/app.h"
#include "gtk/holders.h"
#include "gtk/widgets.h"
#include "resources/texts.h"

namespace tolvi {

namespace {

constexpr char kWarningIcon[] = "dialog-warning";

}  // namespace

void ShowNoSentencesBox(GtkWindow* owner, const char* sentence_file) {
  const CharsPtr text(g_strdup_printf(kNoSentencesFormat, Cp932ToUtf8(sentence_file).c_str()));
  GtkWidget* grid = NewGrid();
  // The exclamation mark of a warning, where the icon theme has one.
  if (gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), kWarningIcon)) {
    GtkWidget* icon = gtk_image_new_from_icon_name(kWarningIcon, GTK_ICON_SIZE_DIALOG);
    gtk_grid_attach(GTK_GRID(grid), icon, 0, 0, 1, 1);
  }
  gtk_grid_attach(GTK_GRID(grid), NewLabel(text.get()), 1, 0, 1, 1);
  GtkWidget* ok = NewButton(kOkText, kOkId);
  gtk_widget_set_halign(ok, GTK_ALIGN_CENTER);
  gtk_grid_attach(GTK_GRID(grid), ok, 0, 1, 2, 1);
  ModalDialog dialog(owner, NewDialog(kMessageCaption, grid), Placement::kOwnerCentre);
  SetDefaultButton(dialog.get(), ok);
  gtk_widget_grab_focus(ok);
  dialog.Run();
}

}  // namespace tolvi
