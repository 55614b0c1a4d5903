// The program's dialogs, each shown by the page modally over the main window.
#pragma once

namespace tolvi {

// The OK and cancel buttons' ids, which are also what they end their dialogs with; Esc and
// the close box end a dialog as cancel does.
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

// 1 when confirmed (PlayerName replaced by the entry), 2 when cancelled (PlayerName unchanged).
int ShowNameDialog();

// For the game's current slot. 1 when confirmed (the slot's typed text replaced by the
// entry), 2 when the player quits.
int ShowTypingDialog();

// Of the last game: 1 OK, 2 Cancel, 3 HighScore, 4 Retry.
int ShowResultDialog();

// The table as held in memory; reads no file. 1 for Enter, 2 for Esc and the close box.
int ShowHighScoreDialog();

// The player's games as history.csv holds them now (every player's while no name is set),
// with their chart. 1 for OK and Enter, 2 for Esc and the close box.
int ShowProgressDialog();

// They end only by OK, with 1.
int ShowAboutDialog();
int ShowVersionDialog();

// Until OK, Enter or Esc; sentence_file is in the program's code page.
void ShowNoSentencesBox(const char* sentence_file);

}  // namespace tolvi
