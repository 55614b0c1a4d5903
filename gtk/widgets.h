// The controls the dialogs are made of, each known to assistive tools by its control id.
#pragma once

#include <gtk/gtk.h>

#include <string_view>

namespace tolvi {

// The id the Windows program gives the control, so tests and tools find it by the same number.
void SetControlId(GtkWidget* widget, int id);

// A label of fixed text, in UTF-8.
GtkWidget* NewLabel(const char* text);

// A read-only field showing text of the program's code page; focusable when it has a tab stop.
GtkWidget* NewField(int id, std::string_view text, bool focusable);

// The same for text already in UTF-8, as the core gives the progress window's.
GtkWidget* NewUtf8Field(int id, const char* text, bool focusable);

// An empty entry whose Enter presses the dialog's default button.
GtkWidget* NewEntry(int id);

// Takes the entry into field in the program's code page, cut to whole characters within
// capacity bytes, terminator included; a character the code page lacks becomes '?'.
void TakeEntry(GtkWidget* entry, char* field, int capacity);

// A push button that ends its dialog with id; the label may carry an access key (&Y).
GtkWidget* NewButton(const char* label, int id);

// Makes button the one Enter presses.
void SetDefaultButton(GtkWidget* dialog, GtkWidget* button);

// A dialog with title and grid as its content and no button row of its own.
GtkWidget* NewDialog(const char* title, GtkWidget* grid);

// A grid with the spacing every dialog uses.
GtkWidget* NewGrid();

}  // namespace tolvi
