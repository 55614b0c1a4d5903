// What the native program's memory is set against: GTK 3 and one window with one line of
// Japanese, and nothing of Tolvi. Shown until bench/native_program ends it.
#include <gtk/gtk.h>

namespace {

constexpr char kTitle[] = "bare";
constexpr char kText[] = "名前を入力して下さい。";

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), kTitle);
  gtk_container_add(GTK_CONTAINER(window), gtk_label_new(kText));
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
