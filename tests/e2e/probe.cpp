// The end-to-end tests' eyes and hands under Wine: reads one command a line on stdin
// and answers one JSON line, so a test pays for one Wine start, not one per look.
//
//   windows                 top-level windows in z order
//   window HWND             one window, with its client rect and menu
//   children HWND           direct child controls in z order (template order in a dialog)
//   focus                   foreground, active and focus windows of the input thread
//   metrics                 screen size and the frame, caption and menu sizes
//   hittest HWND X Y        what a window says lies under screen point X, Y
//   key CHORD...            real key presses, e.g. key F1, key alt+F4, key Return
//   type TEXT               real key presses that type TEXT (UTF-8)
//   click X Y               a real left click at screen point X, Y
//   quit
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr UINT kMessageTimeoutMillis = 2000;

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                      bytes, nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  int chars = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                  nullptr, 0);
  std::wstring out(static_cast<size_t>(chars), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                      chars);
  return out;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", c);
          out += escape;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string Handle(HWND window) {
  return std::to_string(reinterpret_cast<ULONG_PTR>(window));
}

HWND ParseHandle(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(text.c_str(), nullptr, 0)));
}

std::string Rect(const RECT& r) {
  std::ostringstream out;
  out << '[' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << ']';
  return out.str();
}

std::string Bool(bool value) { return value ? "true" : "false"; }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// A top-level window's caption is read from the server, so a program that sleeps
// (the splash wait) does not stall the probe. A control's text lives in the control:
// WM_GETTEXT is marshalled across processes, and the timeout bounds a busy program.
std::wstring TextOf(HWND window) {
  if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
    wchar_t caption[512] = {};
    InternalGetWindowText(window, caption, 512);
    return caption;
  }
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG,
                           kMessageTimeoutMillis, &length))
    return {};
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, kMessageTimeoutMillis, &copied);
  return std::wstring(buffer.data());
}

std::string WindowFields(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(window, &pid);
  std::ostringstream out;
  out << "\"hwnd\":" << Handle(window) << ",\"class\":" << Quote(ToUtf8(ClassOf(window)))
      << ",\"text\":" << Quote(ToUtf8(TextOf(window))) << ",\"rect\":" << Rect(rect)
      << ",\"visible\":" << Bool(IsWindowVisible(window))
      << ",\"enabled\":" << Bool(IsWindowEnabled(window))
      << ",\"style\":" << static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE))
      << ",\"exstyle\":" << static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE))
      << ",\"owner\":" << Handle(GetWindow(window, GW_OWNER)) << ",\"pid\":" << pid
      << ",\"tid\":" << tid;
  return out.str();
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::string ListWindows() {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::string out = "{\"ok\":true,\"windows\":[";
  for (size_t i = 0; i < windows.size(); ++i) {
    if (i) out += ',';
    out += '{' + WindowFields(windows[i]) + '}';
  }
  return out + "]}";
}

std::string DescribeWindow(HWND window) {
  if (!IsWindow(window)) return "{\"ok\":true,\"exists\":false}";
  RECT client{};
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::ostringstream out;
  out << "{\"ok\":true,\"exists\":true," << WindowFields(window)
      << ",\"client\":" << Rect(client)
      << ",\"menu\":" << reinterpret_cast<ULONG_PTR>(GetMenu(window)) << '}';
  return out.str();
}

std::string ListChildren(HWND parent) {
  if (!IsWindow(parent)) return "{\"ok\":false,\"error\":\"no such window\"}";
  std::string out = "{\"ok\":true,\"children\":[";
  bool first = true;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!first) out += ',';
    first = false;
    out += '{' + WindowFields(child) + ",\"id\":" + std::to_string(GetDlgCtrlID(child));
    if (_wcsicmp(ClassOf(child).c_str(), L"Edit") == 0) {
      DWORD_PTR selection = 0;
      SendMessageTimeoutW(child, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMillis,
                          &selection);
      out += ",\"sel\":[" + std::to_string(LOWORD(selection)) + ',' +
             std::to_string(HIWORD(selection)) + ']';
    }
    out += '}';
  }
  return out + "]}";
}

std::string DescribeFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  bool known = GetGUIThreadInfo(0, &info);
  std::ostringstream out;
  out << "{\"ok\":true,\"foreground\":" << Handle(GetForegroundWindow());
  if (known) {
    out << ",\"active\":" << Handle(info.hwndActive) << ",\"focus\":" << Handle(info.hwndFocus)
        << ",\"menu_owner\":" << Handle(info.hwndMenuOwner)
        << ",\"in_menu\":" << Bool(info.flags & GUI_INMENUMODE);
  }
  return out.str() + '}';
}

std::string DescribeMetrics() {
  std::ostringstream out;
  out << "{\"ok\":true,\"screen\":[" << GetSystemMetrics(SM_CXSCREEN) << ','
      << GetSystemMetrics(SM_CYSCREEN) << "],\"caption\":" << GetSystemMetrics(SM_CYCAPTION)
      << ",\"menu\":" << GetSystemMetrics(SM_CYMENU)
      << ",\"frame\":[" << GetSystemMetrics(SM_CXFRAME) << ',' << GetSystemMetrics(SM_CYFRAME)
      << "],\"button\":[" << GetSystemMetrics(SM_CXSIZE) << ',' << GetSystemMetrics(SM_CYSIZE)
      << "]}";
  return out.str();
}

std::string HitTest(HWND window, int x, int y) {
  DWORD_PTR hit = 0;
  BOOL answered = SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y),
                                      SMTO_ABORTIFHUNG, kMessageTimeoutMillis, &hit);
  return "{\"ok\":" + Bool(answered) + ",\"hit\":" + std::to_string(static_cast<LONG>(hit)) + '}';
}

struct NamedKey {
  const char* name;
  WORD vk;
};

constexpr NamedKey kKeys[] = {
    {"return", VK_RETURN}, {"enter", VK_RETURN},  {"escape", VK_ESCAPE}, {"esc", VK_ESCAPE},
    {"tab", VK_TAB},       {"space", VK_SPACE},   {"backspace", VK_BACK}, {"delete", VK_DELETE},
    {"up", VK_UP},         {"down", VK_DOWN},     {"left", VK_LEFT},     {"right", VK_RIGHT},
    {"home", VK_HOME},     {"end", VK_END},       {"alt", VK_MENU},      {"shift", VK_SHIFT},
    {"ctrl", VK_CONTROL},  {"control", VK_CONTROL}, {"f1", VK_F1},      {"f2", VK_F2},
    {"f3", VK_F3},         {"f4", VK_F4},         {"f5", VK_F5},         {"f10", VK_F10},
};

// A key name, a function-key name or one letter or digit; 0 when unknown.
WORD VirtualKey(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const NamedKey& key : kKeys)
    if (name == key.name) return key.vk;
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<WORD>(std::toupper(static_cast<unsigned char>(name[0])));
  return 0;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  switch (vk) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
    case VK_HOME: case VK_END: case VK_DELETE:
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
  }
  return input;
}

std::string Send(std::vector<INPUT>& inputs) {
  UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return "{\"ok\":" + Bool(sent == inputs.size()) + ",\"sent\":" + std::to_string(sent) + '}';
}

// Each chord is keys joined by '+', pressed in order and released in reverse.
std::string PressKeys(std::istringstream& args) {
  std::vector<INPUT> inputs;
  std::string chord;
  while (args >> chord) {
    std::vector<WORD> keys;
    std::istringstream parts(chord);
    std::string part;
    while (std::getline(parts, part, '+')) {
      WORD vk = VirtualKey(part);
      if (!vk) return "{\"ok\":false,\"error\":" + Quote("unknown key " + part) + '}';
      keys.push_back(vk);
    }
    for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
  }
  return Send(inputs);
}

// Characters on the keyboard layout go in as their keys, with Shift where needed,
// so they pass through TranslateMessage as a person's keys do; others as packets.
std::string TypeText(const std::string& utf8) {
  std::vector<INPUT> inputs;
  for (wchar_t c : FromUtf8(utf8)) {
    SHORT scan = VkKeyScanW(c);
    if (scan != -1 && (HIBYTE(scan) & ~1) == 0) {
      bool shift = HIBYTE(scan) & 1;
      if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
      inputs.push_back(KeyInput(LOBYTE(scan), false));
      inputs.push_back(KeyInput(LOBYTE(scan), true));
      if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    } else {
      INPUT down{};
      down.type = INPUT_KEYBOARD;
      down.ki.wScan = c;
      down.ki.dwFlags = KEYEVENTF_UNICODE;
      INPUT up = down;
      up.ki.dwFlags |= KEYEVENTF_KEYUP;
      inputs.push_back(down);
      inputs.push_back(up);
    }
  }
  return Send(inputs);
}

std::string Click(int x, int y) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = (x * 65536 + width / 2) / width;
  move.mi.dy = (y * 65536 + height / 2) / height;
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  INPUT down = move;
  down.mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  INPUT up = move;
  up.mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  std::vector<INPUT> inputs{move, down, up};
  return Send(inputs);
}

std::string Run(const std::string& line) {
  std::istringstream args(line);
  std::string command;
  args >> command;
  if (command == "windows") return ListWindows();
  if (command == "focus") return DescribeFocus();
  if (command == "metrics") return DescribeMetrics();
  if (command == "window" || command == "children" || command == "hittest") {
    std::string handle;
    args >> handle;
    HWND window = ParseHandle(handle);
    if (command == "window") return DescribeWindow(window);
    if (command == "children") return ListChildren(window);
    int x = 0, y = 0;
    args >> x >> y;
    return HitTest(window, x, y);
  }
  if (command == "key") return PressKeys(args);
  if (command == "type") {
    std::string text = line.size() > 5 ? line.substr(5) : std::string();
    return TypeText(text);
  }
  if (command == "click") {
    int x = 0, y = 0;
    args >> x >> y;
    return Click(x, y);
  }
  return "{\"ok\":false,\"error\":" + Quote("unknown command " + command) + '}';
}

}  // namespace

int main() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  std::fputs("{\"ok\":true,\"ready\":true}\n", stdout);
  std::fflush(stdout);
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "quit") break;
    std::string answer = Run(line) + '\n';
    std::fwrite(answer.data(), 1, answer.size(), stdout);
    std::fflush(stdout);
  }
  return 0;
}
