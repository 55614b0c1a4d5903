// The commands of the main window, from its menu bar and its keys.
#include "web/commands.h"

#include "resources/resource.h"
#include "scores/high_scores.h"
#include "web/dialogs.h"
#include "web/game_presenter.h"

namespace tolvi {

namespace {

bool StartGame() {
  DialogPresenter presenter;
  PlayGame(presenter);
  return !presenter.EndAsked();
}

void ShowHighScoresFromFile() {
  LoadHighScores();
  ShowHighScoreDialog();
}

}  // namespace

bool RunCommand(int command) {
  switch (command) {
    case IDM_START: return StartGame();
    case IDM_ABOUT: ShowAboutDialog(); break;
    case IDM_VERSION: ShowVersionDialog(); break;
    case IDM_QUIT: return false;
    case IDM_CHANGE_USER: ShowNameDialog(); break;
    case IDM_HIGHSCORE: ShowHighScoresFromFile(); break;
    case IDM_PROGRESS: ShowProgressDialog(); break;
  }
  return true;
}

}  // namespace tolvi
