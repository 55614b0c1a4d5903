// The About and Version boxes: lines of text and an OK button.
#include "gtk/info_dialog.h"

#include <cstddef>

#include "gtk/app.h"
#include "gtk/widgets.h"
#include "resources/texts.h"

namespace tolvi {

namespace {

// Esc would end a dialog before it is asked to close, so it is kept from the dialog.
gboolean IgnoreEscape(GtkWidget*, GdkEventKey* event, gpointer) {
  return event->keyval == GDK_KEY_Escape;
}

// OK sits where the box's template puts it: About's at the left, Version's in the middle.
template <std::size_t kLines>
int ShowInfoDialog(GtkWindow* owner, const char* caption, const char* const (&lines)[kLines],
                   GtkAlign ok_align) {
  GtkWidget* grid = NewGrid();
  for (std::size_t i = 0; i < kLines; ++i) {
    gtk_grid_attach(GTK_GRID(grid), NewLabel(lines[i]), 0, static_cast<int>(i), 1, 1);
  }
  GtkWidget* ok = NewButton(kOkText, kOkId);
  gtk_widget_set_halign(ok, ok_align);
  gtk_grid_attach(GTK_GRID(grid), ok, 0, static_cast<int>(kLines), 1, 1);
  ModalDialog dialog(owner, NewDialog(caption, grid));
  SetDefaultButton(dialog.get(), ok);
  // Esc and the close box leave the box open, as they do on Windows: only OK closes it.
  g_signal_connect(dialog.get(), "key-press-event", G_CALLBACK(IgnoreEscape), nullptr);
  g_signal_connect(dialog.get(), "delete-event", G_CALLBACK(gtk_true), nullptr);
  return dialog.Run();
}

}  // namespace

int ShowAboutDialog(GtkWindow* owner) {
  return ShowInfoDialog(owner, kAboutCaption, kAboutLines, GTK_ALIGN_START);
}

int ShowVersionDialog(GtkWindow* owner) {
  return ShowInfoDialog(owner, kVersionCaption, kVersionLines, GTK_ALIGN_CENTER);
}

}  // namespace tolvi
