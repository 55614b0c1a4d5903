// The game's presenter on the page's dialogs, all owned by the main window.
#pragma once

#include "practice/game.h"

namespace tolvi {

class DialogPresenter final : public GamePresenter {
 public:
  int AskPlayerName() override;
  int PromptSentence() override;
  int ShowGameResult() override;
  void ShowHighScores() override;
  void ReportNoSentences(const char* sentence_file) override;
  void EndProgram() override;

  // Whether the game asked the program to quit.
  bool EndAsked() const { return end_asked_; }

 private:
  bool end_asked_ = false;
};

}  // namespace tolvi
