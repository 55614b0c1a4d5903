// The one way dialogs are shown: modal over their owner, at the main window's client area.
#pragma once

#include <gtk/gtk.h>

#include "gtk/holders.h"

namespace tolvi {

// The OK and cancel buttons' ids, which are also what they end their dialogs with; Esc and
// the close box end a dialog as cancel does.
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

// Shows window and gives it the focus. For a window not yet shown, presenting alone leaves
// the focus to the window manager, and there may be none.
void ShowFocused(GtkWindow* window);

// The widget at whose top-left corner every dialog opens; forgotten when it goes.
void SetClientArea(GtkWidget* area);

// Where a dialog opens: at the main window's client area, as a dialog template at 0, 0
// does, or over the middle of its owner, as a message box does.
enum class Placement { kClientArea, kOwnerCentre };

// A dialog owned by its holder, shown modally over owner by Run; it goes with the holder,
// so what it holds can be read after it has closed.
class ModalDialog {
 public:
  ModalDialog(GtkWindow* owner, GtkWidget* dialog, Placement placement = Placement::kClientArea);

  GtkWidget* get() const { return dialog_.get(); }

  // Shows the dialog until it ends, then hides it and gives the owner the focus back.
  // Returns the response it ended with, kCancelId for Esc and the close box.
  int Run();

 private:
  GtkWindow* owner_;
  WindowPtr dialog_;
  Placement placement_;
};

}  // namespace tolvi
