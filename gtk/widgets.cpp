// The controls the dialogs are made of, each known to assistive tools by its control id.
#include "gtk/widgets.h"

#include <algorithm>
#include <string>

#include "base/code_page.h"
#include "base/text_format.h"

namespace tolvi {

namespace {

constexpr int kGridSpacingPixels = 6;
constexpr int kDialogBorderPixels = 8;

void EndDialogWith(GtkWidget* button, gpointer id) {
  gtk_dialog_response(GTK_DIALOG(gtk_widget_get_toplevel(button)), GPOINTER_TO_INT(id));
}

}  // namespace

void SetControlId(GtkWidget* widget, int id) {
  atk_object_set_accessible_id(gtk_widget_get_accessible(widget), std::to_string(id).c_str());
}

GtkWidget* NewLabel(const char* text) {
  GtkWidget* label = gtk_label_new(text);
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  return label;
}

GtkWidget* NewField(int id, std::string_view text, bool focusable) {
  return NewUtf8Field(id, Cp932ToUtf8(text).c_str(), focusable);
}

GtkWidget* NewUtf8Field(int id, const char* text, bool focusable) {
  GtkWidget* field = gtk_entry_new();
  gtk_entry_set_text(GTK_ENTRY(field), text);
  gtk_editable_set_editable(GTK_EDITABLE(field), FALSE);
  gtk_entry_set_has_frame(GTK_ENTRY(field), FALSE);
  gtk_widget_set_can_focus(field, focusable);
  SetControlId(field, id);
  return field;
}

GtkWidget* NewEntry(int id) {
  GtkWidget* entry = gtk_entry_new();
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  SetControlId(entry, id);
  return entry;
}

void TakeEntry(GtkWidget* entry, char* field, int capacity) {
  CopyUtf8AsCp932(gtk_entry_get_text(GTK_ENTRY(entry)), field, static_cast<std::size_t>(capacity));
}

GtkWidget* NewButton(const char* label, int id) {
  // GTK marks an access key with '_' where a resource script marks it with '&'.
  std::string mnemonic(label);
  std::replace(mnemonic.begin(), mnemonic.end(), '&', '_');
  GtkWidget* button = gtk_button_new_with_mnemonic(mnemonic.c_str());
  g_signal_connect(button, "clicked", G_CALLBACK(EndDialogWith), GINT_TO_POINTER(id));
  SetControlId(button, id);
  return button;
}

void SetDefaultButton(GtkWidget* dialog, GtkWidget* button) {
  gtk_widget_set_can_default(button, TRUE);
  gtk_window_set_default(GTK_WINDOW(dialog), button);
}

GtkWidget* NewDialog(const char* title, GtkWidget* grid) {
  GtkWidget* dialog = gtk_dialog_new();
  gtk_window_set_title(GTK_WINDOW(dialog), title);
  gtk_container_set_border_width(GTK_CONTAINER(grid), kDialogBorderPixels);
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), grid);
  gtk_widget_show_all(grid);
  return dialog;
}

GtkWidget* NewGrid() {
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), kGridSpacingPixels);
  gtk_grid_set_column_spacing(GTK_GRID(grid), kGridSpacingPixels);
  return grid;
}

}  // namespace tolvi
