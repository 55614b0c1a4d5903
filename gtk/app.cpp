// The one way dialogs are shown: modal over their owner, at the main window's client area.
#include "gtk/app.h"

namespace tolvi {

namespace {

GtkWidget* g_client_area = nullptr;

void PlaceAtClientArea(GtkWindow* dialog) {
  if (g_client_area == nullptr || !gtk_widget_get_realized(g_client_area)) return;
  GtkWidget* top = gtk_widget_get_toplevel(g_client_area);
  int x = 0;
  int y = 0;
  gtk_widget_translate_coordinates(g_client_area, top, 0, 0, &x, &y);
  int top_x = 0;
  int top_y = 0;
  gdk_window_get_origin(gtk_widget_get_window(top), &top_x, &top_y);
  gtk_window_move(dialog, top_x + x, top_y + y);
}

}  // namespace

void ShowFocused(GtkWindow* window) {
  gtk_widget_show(GTK_WIDGET(window));
  gtk_window_present(window);
}

void SetClientArea(GtkWidget* area) {
  g_client_area = area;
  g_object_add_weak_pointer(G_OBJECT(area), reinterpret_cast<gpointer*>(&g_client_area));
}

ModalDialog::ModalDialog(GtkWindow* owner, GtkWidget* dialog, Placement placement)
    : owner_(owner), dialog_(dialog), placement_(placement) {
  GtkWindow* window = GTK_WINDOW(dialog);
  if (placement == Placement::kOwnerCentre) {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  }
  gtk_window_set_transient_for(window, owner);
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_resizable(window, FALSE);
  // Tells assistive tools which window the dialog belongs to.
  atk_object_add_relationship(gtk_widget_get_accessible(dialog), ATK_RELATION_SUBWINDOW_OF,
                              gtk_widget_get_accessible(GTK_WIDGET(owner)));
}

int ModalDialog::Run() {
  if (placement_ == Placement::kClientArea) PlaceAtClientArea(GTK_WINDOW(get()));
  ShowFocused(GTK_WINDOW(get()));
  const int response = gtk_dialog_run(GTK_DIALOG(get()));
  gtk_widget_hide(get());
  // Without a window manager nobody else gives the focus back to the owner.
  gtk_window_present(owner_);
  return response == GTK_RESPONSE_DELETE_EVENT ? kCancelId : response;
}

}  // namespace tolvi
