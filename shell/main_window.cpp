// The main window: its class, its creation and the commands it carries out.
#include "shell/main_window.h"

#include "practice/game.h"
#include "practice/progress.h"
#include "resources/resource.h"
#include "resources/window_layout.h"
#include "scores/high_scores.h"
#include "shell/game_dialogs.h"
#include "shell/game_presenter.h"
#include "shell/info_dialogs.h"
#include "shell/progress_dialog.h"

namespace tolvi {

namespace {

void StartGame(HWND window) {
  DialogPresenter presenter(window);
  PlayGame(presenter);
}

void ShowHighScoresFromFile(HWND window) {
  LoadHighScores();
  ShowHighScoreDialog(window);
}

// The history is read afresh each time, so the window shows the game just played.
void ShowProgressFromFile(HWND window) {
  const Progress progress = ReadProgress(PlayerName());
  ShowProgressDialog(window, progress);
}

void RunCommand(HWND window, WORD command) {
  switch (command) {
    case IDM_START: StartGame(window); break;
    case IDM_ABOUT: ShowAboutDialog(window); break;
    case IDM_VERSION: ShowVersionDialog(window); break;
    case IDM_QUIT: DestroyWindow(window); break;
    case IDM_CHANGE_USER: ShowNameDialog(window); break;
    case IDM_HIGHSCORE: ShowHighScoresFromFile(window); break;
    case IDM_PROGRESS: ShowProgressFromFile(window); break;
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_KEYDOWN:
      switch (LOWORD(wParam)) {
        case VK_ESCAPE: SendMessageA(window, WM_COMMAND, IDM_QUIT, lParam); break;
        case VK_F1: SendMessageA(window, WM_COMMAND, IDM_START, lParam); break;
      }
      return 0;
    case WM_COMMAND: RunCommand(window, LOWORD(wParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSA window_class{};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = MainWindowProc;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TOLVI));
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
  window_class.lpszClassName = kMainClass;
  return RegisterClassA(&window_class) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
  return CreateWindowExA(0, kMainClass, kMainCaption, WS_OVERLAPPEDWINDOW, kMainX, kMainY,
                         kMainWidth, kMainHeight, nullptr, nullptr, instance, nullptr);
}

}  // namespace tolvi
