// The game's presenter on the program's dialogs, all owned by the main window.
#include "gtk/game_presenter.h"

#include "gtk/high_score_dialog.h"
#include "gtk/message_box.h"
#include "gtk/name_dialog.h"
#include "gtk/result_dialog.h"
#include "gtk/typing_dialog.h"

namespace tolvi {

int DialogPresenter::AskPlayerName() { return ShowNameDialog(main_window_); }

int DialogPresenter::PromptSentence() { return ShowTypingDialog(main_window_); }

int DialogPresenter::ShowGameResult() { return ShowResultDialog(main_window_); }

void DialogPresenter::ShowHighScores() { ShowHighScoreDialog(main_window_); }

void DialogPresenter::ReportNoSentences(const char* sentence_file) {
  ShowNoSentencesBox(main_window_, sentence_file);
}

// Ends the main loop once this game has returned, as the main window's WM_DESTROY does.
void DialogPresenter::EndProgram() { gtk_main_quit(); }

}  // namespace tolvi
