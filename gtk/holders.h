// Owners for the GLib and GTK objects the program makes, each given back when its owner goes.
#pragma once

#include <gtk/gtk.h>

#include <memory>

namespace tolvi {

struct ObjectUnref {
  void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using ObjectPtr = std::unique_ptr<T, ObjectUnref>;

// A top-level window belongs to GTK until it is destroyed, not until it is unreferenced.
struct WindowDestroy {
  void operator()(GtkWidget* window) const { gtk_widget_destroy(window); }
};
using WindowPtr = std::unique_ptr<GtkWidget, WindowDestroy>;

struct GFree {
  void operator()(gpointer memory) const { g_free(memory); }
};
using CharsPtr = std::unique_ptr<char, GFree>;

struct MainLoopUnref {
  void operator()(GMainLoop* loop) const { g_main_loop_unref(loop); }
};
using MainLoopPtr = std::unique_ptr<GMainLoop, MainLoopUnref>;

struct FontDescriptionFree {
  void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionFree>;

}  // namespace tolvi
