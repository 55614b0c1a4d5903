// The dialogs a game talks through: name entry, typing prompt and result.
#include "shell/game_dialogs.h"

#include <cstdio>

#include "practice/game.h"
#include "practice/text_format.h"
#include "resources/resource.h"
#include "shell/app.h"

namespace tolvi {

namespace {
constexpr int kLengthTextBytes = 16;
}  // namespace

INT_PTR ShowNameDialog(HWND owner) { return RunDialog(owner, IDD_NAME, NameDialogProc); }

INT_PTR ShowTypingDialog(HWND owner) { return RunDialog(owner, IDD_TYPING, TypingDialogProc); }

INT_PTR ShowResultDialog(HWND owner) { return RunDialog(owner, IDD_RESULT, ResultDialogProc); }

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      // Starts empty even when a name is set, so change-user always asks afresh.
      SetDlgItemTextA(dialog, IDC_NAME_ENTRY, "");
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          GetDlgItemTextA(dialog, IDC_NAME_ENTRY, PlayerName(), kPlayerNameBytes);
          CopyWholeCharacters(PlayerName(), PlayerName(), kPlayerNameBytes);
          EndDialog(dialog, IDOK);
          break;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
      }
      return TRUE;
    default:
      return FALSE;
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
        case IDOK: {
          char* typed = game.typed[game.slot].data();
          GetDlgItemTextA(dialog, IDC_TYPING_INPUT, typed, kTypedReadBytes);
          CopyWholeCharacters(typed, typed, kTypedReadBytes);
          EndDialog(dialog, IDOK);
          break;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          break;
      }
      return TRUE;
    default:
      return FALSE;
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
        case IDC_RESULT_RETRY:
          EndDialog(dialog, LOWORD(wParam));
          break;
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace tolvi
