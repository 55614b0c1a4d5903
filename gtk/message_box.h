// The message box that says no sentence could be read from the sentence file.
#pragma once

#include <gtk/gtk.h>

namespace tolvi {

// Over owner until OK, Enter or Esc; sentence_file is in the program's code page.
void ShowNoSentencesBox(GtkWindow* owner, const char* sentence_file);

}  // namespace tolvi
