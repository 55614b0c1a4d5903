// The game's presenter on the program's dialogs, all owned by the main window.
#pragma once

#include <gtk/gtk.h>

#include "practice/game.h"

namespace tolvi {

class DialogPresenter final : public GamePresenter {
 public:
  explicit DialogPresenter(GtkWindow* main_window) : main_window_(main_window) {}

  int AskPlayerName() override;
  int PromptSentence() override;
  int ShowGameResult() override;
  void ShowHighScores() override;
  void ReportNoSentences(const char* sentence_file) override;
  void EndProgram() override;

 private:
  GtkWindow* main_window_;
};

}  // namespace tolvi
