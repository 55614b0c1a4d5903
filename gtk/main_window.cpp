// The main window: its menu bar, its keys and the commands it carries out.
#include "gtk/main_window.h"

#include "gtk/app.h"
#include "gtk/game_presenter.h"
#include "gtk/high_score_dialog.h"
#include "gtk/info_dialog.h"
#include "gtk/name_dialog.h"
#include "gtk/progress_dialog.h"
#include "practice/game.h"
#include "practice/progress.h"
#include "resources/resource.h"
#include "resources/texts.h"
#include "resources/window_layout.h"
#include "scores/high_scores.h"

namespace tolvi {

namespace {

GtkWindow* g_main_window = nullptr;

void StartGame(GtkWindow* window) {
  DialogPresenter presenter(window);
  PlayGame(presenter);
}

void ShowHighScoresFromFile(GtkWindow* window) {
  LoadHighScores();
  ShowHighScoreDialog(window);
}

void RunCommand(int command) {
  GtkWindow* window = g_main_window;
  switch (command) {
    case IDM_START: StartGame(window); break;
    case IDM_ABOUT: ShowAboutDialog(window); break;
    case IDM_VERSION: ShowVersionDialog(window); break;
    case IDM_QUIT: gtk_widget_destroy(GTK_WIDGET(window)); break;
    case IDM_CHANGE_USER: ShowNameDialog(window); break;
    case IDM_HIGHSCORE: ShowHighScoresFromFile(window); break;
    case IDM_PROGRESS: ShowProgressDialog(window, ReadProgress(PlayerName())); break;
  }
}

void ChooseMenuEntry(GtkMenuItem*, gpointer command) { RunCommand(GPOINTER_TO_INT(command)); }

// GTK's bar takes a release soon after the press for the start of a press-drag-release and
// only selects the entry; a command in the bar acts on its first click, as a popup opens on
// its first.
gboolean ReleaseOnCommandInBar(GtkWidget* item, GdkEventButton*, gpointer) {
  GtkMenuShell* bar = GTK_MENU_SHELL(gtk_widget_get_parent(item));
  if (gtk_menu_shell_get_selected_item(bar) != item) return FALSE;
  gtk_menu_shell_activate_item(bar, item, TRUE);
  return TRUE;
}

// F1 and Esc reach the window only while it has the focus; every other key keeps its usual
// meaning, F10 for the menu bar among them.
gboolean PressKey(GtkWidget*, GdkEventKey* event, gpointer) {
  switch (event->keyval) {
    case GDK_KEY_Escape: RunCommand(IDM_QUIT); return TRUE;
    case GDK_KEY_F1: RunCommand(IDM_START); return TRUE;
    default: return FALSE;
  }
}

// While a dialog holds the input the window cannot be closed, as a disabled window cannot.
gboolean AskToClose(GtkWidget*, GdkEvent*, gpointer) { return gtk_grab_get_current() != nullptr; }

GtkWidget* NewMenuBar() {
  GtkWidget* bar = gtk_menu_bar_new();
  GtkWidget* popup = nullptr;
  for (const MenuEntry& entry : kMenu) {
    GtkWidget* item = entry.place == MenuPlace::kSeparatorInBar
                          ? gtk_separator_menu_item_new()
                          : gtk_menu_item_new_with_label(entry.text);
    if (entry.command != 0) {
      g_signal_connect(item, "activate", G_CALLBACK(ChooseMenuEntry),
                       GINT_TO_POINTER(entry.command));
    }
    if (entry.place == MenuPlace::kCommandInBar) {
      g_signal_connect(item, "button-release-event", G_CALLBACK(ReleaseOnCommandInBar), nullptr);
    }
    GtkWidget* shell = entry.place == MenuPlace::kCommandInPopup ? popup : bar;
    gtk_menu_shell_append(GTK_MENU_SHELL(shell), item);
    if (entry.place == MenuPlace::kPopupInBar) {
      popup = gtk_menu_new();
      gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), popup);
    }
  }
  return bar;
}

}  // namespace

GtkWidget* CreateMainWindow() {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), kMainCaption);
  gtk_window_set_default_size(GTK_WINDOW(window), kMainWidth, kMainHeight);
  gtk_window_move(GTK_WINDOW(window), kMainX, kMainY);
  atk_object_set_accessible_id(gtk_widget_get_accessible(window), kMainClass);
  g_signal_connect(window, "key-press-event", G_CALLBACK(PressKey), nullptr);
  g_signal_connect(window, "delete-event", G_CALLBACK(AskToClose), nullptr);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

  GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
  gtk_box_pack_start(GTK_BOX(box), NewMenuBar(), FALSE, FALSE, 0);
  GtkWidget* client = gtk_event_box_new();
  gtk_box_pack_start(GTK_BOX(box), client, TRUE, TRUE, 0);
  gtk_container_add(GTK_CONTAINER(window), box);
  gtk_widget_show_all(box);
  SetClientArea(client);

  g_main_window = GTK_WINDOW(window);
  g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&g_main_window));
  return window;
}

}  // namespace tolvi
