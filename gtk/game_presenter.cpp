// The game's presenter on the program's dialogs, all owned by the main window.
#include "gtk/game_presenter.h"

#include "base/code_page.h"
#include "gtk/app.h"
#include "gtk/game_dialogs.h"
#include "gtk/info_dialogs.h"
#include "gtk/widgets.h"
#include "resources/resource.h"

namespace tolvi {

namespace {
constexpr char kMessageCaption[] = "Tolvi";
constexpr char kNoSentencesFormat[] = "文章ファイル「%s」から文章を読み込めません。";
constexpr char kOkText[] = "OK";
}  // namespace

int DialogPresenter::AskPlayerName() { return ShowNameDialog(main_window_); }

int DialogPresenter::PromptSentence() { return ShowTypingDialog(main_window_); }

int DialogPresenter::ShowGameResult() { return ShowResultDialog(main_window_); }

void DialogPresenter::ShowHighScores() { ShowHighScoreDialog(main_window_); }

void DialogPresenter::ReportNoSentences(const char* sentence_file) {
  GtkWidget* box =
      gtk_message_dialog_new(main_window_, GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING, GTK_BUTTONS_NONE,
                             kNoSentencesFormat, Cp932ToUtf8(sentence_file).c_str());
  gtk_window_set_title(GTK_WINDOW(box), kMessageCaption);
  ModalDialog dialog(main_window_, box);
  SetControlId(gtk_dialog_add_button(GTK_DIALOG(box), kOkText, kOkId), kOkId);
  dialog.Run();
}

// Ends the main loop once this game has returned, as the main window's WM_DESTROY does.
void DialogPresenter::EndProgram() { gtk_main_quit(); }

}  // namespace tolvi
