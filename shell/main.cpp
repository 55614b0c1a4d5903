// Entry point of tolvi.exe: one copy only, the splash, the main window and its loop.
#include <windows.h>

#include "practice/game.h"
#include "practice/random.h"
#include "practice/settings.h"
#include "resources/resource.h"
#include "resources/window_layout.h"
#include "shell/app.h"
#include "shell/main_window.h"
#include "shell/splash.h"

namespace {

constexpr char kInstanceMutexName[] = "TOLVI";

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show) {
  // The mutex is never owned: only its name matters, telling a later copy to stand down.
  // On the early failures below the handle is left for the process exit to close.
  HANDLE instance_mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(instance_mutex);
    return 0;
  }
  if (previous == nullptr && !tolvi::RegisterMainWindowClass(instance)) return 0;
  tolvi::SetAppInstance(instance);

  tolvi::ShowSplash(IDB_TITLE, tolvi::kSplashX, tolvi::kSplashY, tolvi::kSplashWidth,
                    tolvi::kSplashHeight, tolvi::kSplashMillis);

  HWND main_window = tolvi::CreateMainWindow(instance);
  if (main_window == nullptr) return 0;
  ShowWindow(main_window, show);

  tolvi::PlayerName()[0] = '\0';
  tolvi::SeedRandom(GetTickCount());
  tolvi::LoadSettings();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }

  ReleaseMutex(instance_mutex);
  CloseHandle(instance_mutex);
  return 0;
}
