// Code page 932 through the Windows conversions: always code page 932, never the
// active one, so the program's text is the same whatever the system's language.
#include "base/code_page.h"

#include <windows.h>

#include <vector>

namespace tolvi {
namespace {

constexpr UINT kCp932 = 932;

// The characters that tables made from JIS map differently from the Windows one (wave
// dash, double vertical line, em dash, minus sign, cent, pound, not), as the Windows
// table has them, so text from either kind of editor reads the same.
wchar_t WindowsForm(wchar_t c) {
  switch (c) {
    case 0x301C: return 0xFF5E;
    case 0x2016: return 0x2225;
    case 0x2014: return 0x2015;
    case 0x2212: return 0xFF0D;
    case 0x00A2: return 0xFFE0;
    case 0x00A3: return 0xFFE1;
    case 0x00AC: return 0xFFE2;
    default: return c;
  }
}

std::vector<wchar_t> Wide(UINT code_page, std::string_view text) {
  const int size = static_cast<int>(text.size());
  std::vector<wchar_t> wide(text.size());
  wide.resize(MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), size));
  return wide;
}

void AppendNarrow(UINT code_page, const std::vector<wchar_t>& wide, std::string& out) {
  const int size = static_cast<int>(wide.size());
  const std::size_t at = out.size();
  out.resize(at + wide.size() * 4);
  // Characters with no form become the default '?', never a look-alike.
  const DWORD flags = code_page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int made = WideCharToMultiByte(code_page, flags, wide.data(), size, &out[at],
                                       static_cast<int>(wide.size() * 4), nullptr, nullptr);
  out.resize(at + static_cast<std::size_t>(made));
}

}  // namespace

void AppendCp932FromBmpUtf8(std::string_view utf8, std::string& out) {
  std::vector<wchar_t> wide = Wide(CP_UTF8, utf8);
  for (wchar_t& c : wide) c = WindowsForm(c);
  AppendNarrow(kCp932, wide, out);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  AppendNarrow(CP_UTF8, Wide(kCp932, cp932), out);
  return out;
}

}  // namespace tolvi
