// The game's presenter on the program's dialogs, all owned by the main window.
#include "shell/game_presenter.h"

#include <cstdio>

#include "resources/resource.h"
#include "shell/app.h"
#include "shell/game_dialogs.h"
#include "shell/info_dialogs.h"

namespace tolvi {

namespace {
constexpr char kMessageCaption[] = "Tolvi";
constexpr int kMessageBytes = 256;
}  // namespace

int DialogPresenter::AskPlayerName() { return static_cast<int>(ShowNameDialog(main_window_)); }

int DialogPresenter::PromptSentence() { return static_cast<int>(ShowTypingDialog(main_window_)); }

int DialogPresenter::ShowGameResult() { return static_cast<int>(ShowResultDialog(main_window_)); }

void DialogPresenter::ShowHighScores() { ShowHighScoreDialog(main_window_); }

void DialogPresenter::ReportNoSentences(const char* sentence_file) {
  char format[kMessageBytes];
  if (LoadStringA(AppInstance(), IDS_NO_SENTENCES, format, sizeof format) == 0) return;
  char text[kMessageBytes];
  std::snprintf(text, sizeof text, format, sentence_file);
  MessageBoxA(main_window_, text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

// The main window's WM_DESTROY posts the quit message, which ends the program once
// this game has returned.
void DialogPresenter::EndProgram() { SendMessageA(main_window_, WM_DESTROY, 0, 0); }

}  // namespace tolvi
