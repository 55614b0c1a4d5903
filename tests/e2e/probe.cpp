// The end-to-end tests' eyes inside Wine. One command a line on stdin, one JSON answer
// a line on stdout, so a test pays for one Wine start, not one per look:
//   pixel HWND X Y   the colour on screen (0xBBGGRR) at client point X, Y of a window
//   menu HWND        the entries of a window's menu bar, with their rects on screen
//   type TEXT        TEXT (UTF-8) typed into the focus as Unicode key strokes; the count
//   anything else    the focus and the visible top-level windows with their controls
// Window handles travel as the text printf's %p makes of them.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "resources/resource.h"

constexpr UINT kMessageTimeoutMillis = 2000;

static void PutText(const char* key, const wchar_t* text) {
  std::printf(",\"%s\":\"", key);
  for (; *text; ++text) {
    bool plain = *text >= 0x20 && *text < 0x7f && *text != '"' && *text != '\\';
    std::printf(plain ? "%c" : "\\u%04x", static_cast<unsigned>(*text));
  }
  std::putchar('"');
}

// A caption is read from the server, so a program asleep (the splash) cannot stall us;
// a control's text lives in its program, and the timeout bounds a busy one.
static BOOL CALLBACK PutWindow(HWND window, LPARAM count) {
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t name[256] = {}, text[1024] = {};
  GetClassNameW(window, name, 256);
  InternalGetWindowText(window, text, 1024);
  RECT r{};
  GetWindowRect(window, &r);
  std::printf(
      "%s{\"hwnd\":\"%p\",\"thread\":%lu,\"owner\":\"%p\",\"enabled\":%d,"
      "\"rect\":[%ld,%ld,%ld,%ld]",
      (*reinterpret_cast<int*>(count))++ ? "," : "", window,
      GetWindowThreadProcessId(window, nullptr), GetWindow(window, GW_OWNER),
      IsWindowEnabled(window), r.left, r.top, r.right, r.bottom);
  PutText("class", name);
  PutText("text", text);
  std::printf(",\"controls\":[");
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    DWORD_PTR copied = 0;
    DWORD_PTR selection = 0;
    SendMessageTimeoutW(child, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMillis, &copied);
    SendMessageTimeoutW(child, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMillis,
                        &selection);
    std::printf("{\"hwnd\":\"%p\",\"id\":%d,\"sel\":[%u,%u]", child, GetDlgCtrlID(child),
                LOWORD(selection), HIWORD(selection));
    PutText("text", copied ? text : L"");
    std::printf("}%s", GetWindow(child, GW_HWNDNEXT) ? "," : "");
  }
  std::printf("]}");
  return TRUE;
}

// Wine gives no program another's menu, so the entries are read from a hidden twin: a window
// of the same style, place and size, with the same menu from the same program file, laid out
// in the same fonts, as probe.exe runs in the program's code page (probe.rc).
static void PutMenuBar(HWND window) {
  DWORD process_id = 0;
  GetWindowThreadProcessId(window, &process_id);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  QueryFullProcessImageNameW(process, 0, path, &length);
  CloseHandle(process);
  HMODULE program = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  RECT r{};
  GetWindowRect(window, &r);
  HMENU menu = LoadMenuW(program, MAKEINTRESOURCEW(IDR_MAINMENU));
  HWND twin =
      CreateWindowExW(0, L"STATIC", L"", GetWindowLongW(window, GWL_STYLE) & ~WS_VISIBLE, r.left,
                      r.top, r.right - r.left, r.bottom - r.top, nullptr, menu, nullptr, nullptr);
  std::printf("[");
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    RECT item{};
    GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
    GetMenuItemRect(twin, menu, i, &item);
    std::printf("%s{\"rect\":[%ld,%ld,%ld,%ld]", i ? "," : "", item.left, item.top, item.right,
                item.bottom);
    PutText("text", text);
    std::putchar('}');
  }
  std::printf("]\n");
  DestroyWindow(twin);
  FreeLibrary(program);
}

// Each UTF-16 unit of text pressed and released as a key of its own: the program reads them
// from its queue as they came, whatever the X keyboard holds by then.
static void TypeText(const char* text) {
  wchar_t units[256] = {};
  const int count = MultiByteToWideChar(CP_UTF8, 0, text, -1, units, 256) - 1;
  INPUT strokes[512] = {};
  for (int i = 0; i < 2 * count; ++i) {
    strokes[i].type = INPUT_KEYBOARD;
    strokes[i].ki.wScan = units[i / 2];
    strokes[i].ki.dwFlags = KEYEVENTF_UNICODE | (i % 2 ? KEYEVENTF_KEYUP : 0);
  }
  std::printf("%u\n", SendInput(2 * count, strokes, sizeof *strokes));
}

int main() {
  char line[256];
  for (; std::fgets(line, sizeof line, stdin); std::fflush(stdout)) {
    if (std::strncmp(line, "type ", 5) == 0) {
      line[std::strcspn(line, "\n")] = '\0';
      TypeText(line + 5);
      continue;
    }
    void* window = nullptr;
    POINT point{};
    if (std::sscanf(line, "pixel %p %ld %ld", &window, &point.x, &point.y) == 3) {
      ClientToScreen(static_cast<HWND>(window), &point);
      HDC screen = GetDC(nullptr);
      std::printf("%lu\n", GetPixel(screen, point.x, point.y));
      ReleaseDC(nullptr, screen);
      continue;
    }
    if (std::sscanf(line, "menu %p", &window) == 1) {
      PutMenuBar(static_cast<HWND>(window));
      continue;
    }
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(0, &info);
    std::printf("{\"focus\":\"%p\",\"windows\":[", info.hwndFocus);
    int count = 0;
    EnumWindows(PutWindow, reinterpret_cast<LPARAM>(&count));
    std::printf("]}\n");
  }
}
