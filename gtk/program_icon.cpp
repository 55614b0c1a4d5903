// The program's icon, built into the program from resources/tolvi.png.
#include "gtk/program_icon.h"

#include <gtk/gtk.h>

#include "gtk/holders.h"

namespace tolvi {

namespace {
constexpr unsigned char kIconPng[] = {
#include "tolvi_png.inc"
};
}  // namespace

void SetProgramIcon() {
  ObjectPtr<GdkPixbufLoader> loader(gdk_pixbuf_loader_new());
  const bool read = gdk_pixbuf_loader_write(loader.get(), kIconPng, sizeof kIconPng, nullptr) &&
                    gdk_pixbuf_loader_close(loader.get(), nullptr);
  // The loader owns the picture; the windows take their own reference.
  GdkPixbuf* icon = read ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;
  if (icon != nullptr) gtk_window_set_default_icon(icon);
}

}  // namespace tolvi
