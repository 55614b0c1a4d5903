// The title picture shown in a window of its own while the program starts.
#include "shell/splash.h"

#include "shell/app.h"

namespace tolvi {

namespace {

constexpr char kSplashClass[] = "TitleWindow";
constexpr UINT_PTR kSplashTimerId = 0;

LRESULT CALLBACK SplashWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      // Drawn once only; a later paint request must not bring the picture back.
      ValidateRect(window, nullptr);
      return 0;
    case WM_SYSCOMMAND:
      switch (LOWORD(wParam)) {
        case SC_CLOSE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE: return 0;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    case WM_TIMER:
      KillTimer(window, kSplashTimerId);
      DestroyWindow(window);
      return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

void PaintSplash(HWND window, int bitmapId, int width, int height, int milliseconds) {
  // Handles are given back by hand, not by scope: the window's DC and the paint go
  // first, then the memory DC with the bitmap still selected, then the bitmap.
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  HDC window_dc = GetDC(window);
  HBITMAP bitmap = LoadBitmapA(AppInstance(), MAKEINTRESOURCEA(static_cast<WORD>(bitmapId)));
  HDC memory_dc = CreateCompatibleDC(window_dc);
  SelectObject(memory_dc, bitmap);
  BitBlt(window_dc, 0, 0, width, height, memory_dc, 0, 0, SRCCOPY);
  ReleaseDC(window, window_dc);
  EndPaint(window, &paint);
  DeleteDC(memory_dc);
  DeleteObject(bitmap);

  // The timer comes due while the thread sleeps, so the splash goes away among the
  // first messages of the main loop, after the main window has been shown over it.
  SetTimer(window, kSplashTimerId, static_cast<UINT>(milliseconds), nullptr);
  Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace

void ShowSplash(int bitmapId, int x, int y, int width, int height, int milliseconds) {
  WNDCLASSA window_class{};
  window_class.style = CS_OWNDC | CS_DBLCLKS;
  window_class.lpfnWndProc = SplashWindowProc;
  window_class.cbWndExtra = 4;
  window_class.hInstance = AppInstance();
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kSplashClass;
  RegisterClassA(&window_class);

  HWND splash = CreateWindowExA(0, kSplashClass, kSplashClass, WS_POPUP | WS_THICKFRAME, x, y,
                                width, height, nullptr, nullptr, AppInstance(), nullptr);
  ShowWindow(splash, SW_SHOW);
  PaintSplash(splash, bitmapId, width, height, milliseconds);
}

}  // namespace tolvi
