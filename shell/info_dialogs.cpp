// The dialogs that only show things: the high-score list, About and Version.
#include "shell/info_dialogs.h"

#include "resources/resource.h"
#include "scores/high_scores.h"
#include "shell/app.h"

namespace tolvi {

namespace {

INT_PTR CALLBACK HighScoreDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      for (int i = 0; i < kHighScoreEntries; ++i) {
        const ShownEntry shown = EntryShown(i);
        SetDlgItemTextA(dialog, IDC_HS_NAME1 + 2 * i, shown.name);
        SetDlgItemTextA(dialog, IDC_HS_SCORE1 + 2 * i, shown.score);
      }
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL: EndDialog(dialog, LOWORD(wParam)); break;
      }
      return TRUE;
    default: return FALSE;
  }
}

INT_PTR CALLBACK InfoDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      // Esc and the close box send IDCANCEL, which leaves the box open: only OK closes it.
      if (LOWORD(wParam) == IDOK) EndDialog(dialog, IDOK);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace

INT_PTR ShowHighScoreDialog(HWND owner) {
  return RunDialog(owner, IDD_HIGHSCORE, HighScoreDialogProc);
}

INT_PTR ShowAboutDialog(HWND owner) { return RunDialog(owner, IDD_ABOUT, InfoDialogProc); }

INT_PTR ShowVersionDialog(HWND owner) { return RunDialog(owner, IDD_VERSION, InfoDialogProc); }

}  // namespace tolvi
