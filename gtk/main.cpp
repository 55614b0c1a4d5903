// Entry point of tolvi: one copy only, the splash, the main window and its loop.
#include <gtk/gtk.h>

#include <cstdint>
#include <cstdio>

#include "gtk/app.h"
#include "gtk/instance_lock.h"
#include "gtk/main_window.h"
#include "gtk/program_icon.h"
#include "gtk/splash.h"
#include "practice/game.h"
#include "practice/random.h"
#include "practice/settings.h"
#include "resources/window_layout.h"

namespace {

constexpr gint64 kMicrosPerMilli = 1000;

}  // namespace

int main() {
  // Decided before the display is opened, so a second copy shows nothing at all.
  tolvi::InstanceLock instance_lock;
  if (instance_lock.HeldElsewhere()) return 0;
  // The command line is not looked at. Without a display there is nothing to show, but a
  // player at a terminal is told why.
  if (!gtk_init_check(nullptr, nullptr)) {
    const gchar* display = g_getenv("DISPLAY");
    std::fprintf(stderr, "tolvi: cannot open display %s\n",
                 display && *display ? display : "(DISPLAY is not set)");
    return 0;
  }
  tolvi::SetProgramIcon();

  tolvi::WindowPtr splash = tolvi::ShowSplash(tolvi::kSplashX, tolvi::kSplashY, tolvi::kSplashWidth,
                                              tolvi::kSplashHeight, tolvi::kSplashMillis);

  GtkWidget* main_window = tolvi::CreateMainWindow();
  tolvi::ShowFocused(GTK_WINDOW(main_window));
  splash.reset();

  tolvi::PlayerName()[0] = '\0';
  // The monotonic clock counts from the system's start, as the Windows tick count does.
  tolvi::SeedRandom(static_cast<std::uint32_t>(g_get_monotonic_time() / kMicrosPerMilli));
  tolvi::LoadSettings();

  gtk_main();
  return 0;
}
