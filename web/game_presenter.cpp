// The game's presenter on the page's dialogs, all owned by the main window.
#include "web/game_presenter.h"

#include "web/dialogs.h"

namespace tolvi {

int DialogPresenter::AskPlayerName() { return ShowNameDialog(); }

int DialogPresenter::PromptSentence() { return ShowTypingDialog(); }

int DialogPresenter::ShowGameResult() { return ShowResultDialog(); }

void DialogPresenter::ShowHighScores() { ShowHighScoreDialog(); }

void DialogPresenter::ReportNoSentences(const char* sentence_file) {
  ShowNoSentencesBox(sentence_file);
}

// The program quits once this game has returned, as after the main window's WM_DESTROY.
void DialogPresenter::EndProgram() { end_asked_ = true; }

}  // namespace tolvi
