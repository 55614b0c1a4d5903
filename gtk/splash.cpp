// The title picture shown in a window of its own while the program starts.
#include "gtk/splash.h"

#include "gtk/app.h"
#include "gtk/title_picture.h"

namespace tolvi {

namespace {

constexpr char kSplashClass[] = "TitleWindow";

struct SplashWait {
  GMainLoop* loop;
  guint milliseconds;
  gulong drawn_handler;
};

gboolean EndWait(gpointer wait) {
  g_main_loop_quit(static_cast<SplashWait*>(wait)->loop);
  return G_SOURCE_REMOVE;
}

// The time runs from the first picture on the screen, not from the window's creation.
gboolean StartWait(GtkWidget* window, cairo_t*, gpointer data) {
  auto* wait = static_cast<SplashWait*>(data);
  g_signal_handler_disconnect(window, wait->drawn_handler);
  g_timeout_add(wait->milliseconds, EndWait, wait);
  return FALSE;
}

}  // namespace

WindowPtr ShowSplash(int x, int y, int width, int height, int milliseconds) {
  WindowPtr splash(gtk_window_new(GTK_WINDOW_TOPLEVEL));
  GtkWindow* window = GTK_WINDOW(splash.get());
  gtk_window_set_title(window, kSplashClass);
  gtk_window_set_decorated(window, FALSE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_SPLASHSCREEN);
  gtk_window_set_default_size(window, width, height);
  gtk_window_move(window, x, y);
  atk_object_set_accessible_id(gtk_widget_get_accessible(splash.get()), kSplashClass);
  // Neither closed nor put away before its time is up.
  g_signal_connect(splash.get(), "delete-event", G_CALLBACK(gtk_true), nullptr);
  ObjectPtr<GdkPixbuf> picture = NewTitlePicture();
  GtkWidget* image = gtk_image_new_from_pixbuf(picture.get());
  gtk_widget_set_halign(image, GTK_ALIGN_START);
  gtk_widget_set_valign(image, GTK_ALIGN_START);
  gtk_container_add(GTK_CONTAINER(window), image);

  // The loop runs meanwhile, so the picture stays drawn and assistive tools get answers.
  MainLoopPtr loop(g_main_loop_new(nullptr, FALSE));
  SplashWait wait{loop.get(), static_cast<guint>(milliseconds), 0};
  wait.drawn_handler = g_signal_connect_after(splash.get(), "draw", G_CALLBACK(StartWait), &wait);
  gtk_widget_show_all(image);
  ShowFocused(window);
  g_main_loop_run(loop.get());
  return splash;
}

}  // namespace tolvi
