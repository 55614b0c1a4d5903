// The dialogs a game talks through: name entry, typing prompt and result.
#include "shell/game_dialogs.h"

#include <cstdio>

#include "base/text_format.h"
#include "practice/game.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace tolvi {

namespace {

constexpr int kLengthTextBytes = 16;

static_assert(kOutcomeOk == IDOK && kOutcomeCancel == IDCANCEL &&
                  kOutcomeHighScore == IDC_RESULT_HIGHSCORE && kOutcomeRetry == IDC_RESULT_RETRY,
              "the result dialog ends with its button's id, which is the outcome");

// Takes the entry into field, cut to whole characters within capacity, and ends the dialog with OK.
void TakeEntry(HWND dialog, int control, char* field, int capacity) {
  GetDlgItemTextA(dialog, control, field, capacity);
  CopyWholeCharacters(field, field, static_cast<std::size_t>(capacity));
  EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // Starts empty even when a name is set, so change-user always asks afresh.
      SetDlgItemTextA(dialog, IDC_NAME_ENTRY, "");
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: TakeEntry(dialog, IDC_NAME_ENTRY, PlayerName(), kPlayerNameBytes); break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
      }
      return TRUE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK TypingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  GameState& game = Game();
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_TYPING_LABEL, SlotLabel(game.slot));
      SetDlgItemTextA(dialog, IDC_TYPING_SENTENCE, game.sentences[game.slot].data());
      SetDlgItemTextA(dialog, IDC_TYPING_INPUT, game.typed[game.slot].data());
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          TakeEntry(dialog, IDC_TYPING_INPUT, game.typed[game.slot].data(), kTypedReadBytes);
          break;
        case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
      }
      return TRUE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK ResultDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const GameState& game = Game();
      char length_text[kLengthTextBytes];
      std::snprintf(length_text, sizeof length_text, "%d", static_cast<int>(game.total_length));
      SetDlgItemTextA(dialog, IDC_RESULT_NAME, PlayerName());
      SetDlgItemTextA(dialog, IDC_RESULT_LENGTH, length_text);
      SetDlgItemTextA(dialog, IDC_RESULT_SPEED, game.speed_text.data());
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
        case IDC_RESULT_HIGHSCORE:
        case IDC_RESULT_RETRY: EndDialog(dialog, LOWORD(wParam)); break;
      }
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

INT_PTR ShowNameDialog(HWND owner) { return RunDialog(owner, IDD_NAME, NameDialogProc); }

INT_PTR ShowTypingDialog(HWND owner) { return RunDialog(owner, IDD_TYPING, TypingDialogProc); }

INT_PTR ShowResultDialog(HWND owner) { return RunDialog(owner, IDD_RESULT, ResultDialogProc); }

}  // namespace tolvi
