// The UTF-8 walk of every build: well-formed characters, cut-off ones and stray bytes,
// and the code page 932 form of each character, as the build's converter gives it.
#include "base/code_page.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tolvi {
namespace {

enum class Utf8 { kWhole, kCutOff, kBad };

// What begins at text[0]: a whole character of *bytes bytes, the start of one that the end
// of text cuts off, or a byte that begins none (overlong forms, surrogates and code points
// past U+10FFFF begin none).
Utf8 Classify(std::string_view text, std::size_t* bytes) {
  const auto lead = static_cast<unsigned char>(text[0]);
  // The range the second byte must fall in, which rules out the forbidden forms.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) {
    *bytes = 1;
  } else if (lead < 0xC2) {
    return Utf8::kBad;  // a trail byte, or the lead of an overlong form
  } else if (lead < 0xE0) {
    *bytes = 2;
  } else if (lead < 0xF0) {
    *bytes = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead < 0xF5) {
    *bytes = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return Utf8::kBad;
  }
  for (std::size_t i = 1; i < *bytes; ++i) {
    if (i == text.size()) return Utf8::kCutOff;
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return Utf8::kBad;
  }
  return Utf8::kWhole;
}

// The code point of a whole character of bytes bytes, at most three.
std::uint32_t CodePoint(const char* text, std::size_t bytes) {
  const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  switch (bytes) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu);
    default: return (byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
  }
}

// The code page 932 form of every character of the Basic Multilingual Plane (one byte,
// or lead and trail; '?' for none), asked of the build's converter once, so that a
// sentence file's long lines convert at the speed of a table.
using Cp932Forms = std::array<std::uint16_t, 0x10000>;

// Calls each(line) for the lines of text; the last line ends with the text.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lf = std::min(text.find('\n', start), text.size());
    each(text.substr(start, lf - start));
    start = lf + 1;
  }
}

const Cp932Forms& FormsOfBmp() {
  static const std::unique_ptr<Cp932Forms> forms = [] {
    // The characters that the codes of code page 932 decode to, found by decoding every
    // code on a line of its own, and those that tables made from JIS give other codes
    // (wave dash, double vertical line, em dash, minus sign, cent, pound, not).
    std::string codes;
    for (unsigned lead = 0; lead < 0x100; ++lead) {
      for (unsigned trail = 0x40; trail < 0xFD; ++trail) {
        if (IsLeadByte(static_cast<unsigned char>(lead)) && trail != 0x7F) {
          codes += static_cast<char>(lead);
          codes += static_cast<char>(trail);
          codes += '\n';
        }
      }
      if (!IsLeadByte(static_cast<unsigned char>(lead)) && lead != '\n') {
        codes += static_cast<char>(lead);
        codes += '\n';
      }
    }
    std::vector<std::uint32_t> chars = {0x301C, 0x2016, 0x2014, 0x2212, 0xA2, 0xA3, 0xAC};
    ForEachLine(Cp932ToUtf8(codes), [&chars](std::string_view line) {
      std::size_t bytes;
      if (!line.empty() && Classify(line, &bytes) == Utf8::kWhole && bytes == line.size() &&
          bytes < 4) {
        chars.push_back(CodePoint(line.data(), bytes));
      }
    });
    // Then each of them encoded, so the table holds the build's own choice among codes
    // that decode alike.
    std::string all;
    for (std::uint32_t c : chars) {
      AppendUtf8(c, all);
      all += '\n';
    }
    std::string encoded;
    AppendCp932FromBmpUtf8(all, encoded);
    auto table = std::make_unique<Cp932Forms>();
    table->fill('?');
    (*table)['\n'] = '\n';
    std::size_t i = 0;
    ForEachLine(encoded, [&](std::string_view form) {
      if (i < chars.size() && form.size() == 1)
        (*table)[chars[i]] = static_cast<unsigned char>(form[0]);
      if (i < chars.size() && form.size() == 2) {
        (*table)[chars[i]] = static_cast<std::uint16_t>(static_cast<unsigned char>(form[0]) << 8 |
                                                        static_cast<unsigned char>(form[1]));
      }
      ++i;
    });
    return table;
  }();
  return *forms;
}

}  // namespace

void AppendUtf8(std::uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
    return;
  }
  static constexpr unsigned kLeads[] = {0, 0xC0, 0xE0, 0xF0};
  const int continuations = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
  out += static_cast<char>(kLeads[continuations] | c >> (6 * continuations));
  for (int i = continuations - 1; i >= 0; --i) {
    out += static_cast<char>(0x80 | (c >> (6 * i) & 0x3F));
  }
}

bool IsUtf8(std::string_view text, bool more_follows) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t bytes;
    const Utf8 kind = Classify({text.data() + i, text.size() - i}, &bytes);
    if (kind == Utf8::kCutOff) return more_follows;
    if (kind == Utf8::kBad) return false;
    i += bytes;
  }
  return true;
}

const std::uint16_t* Cp932FormsOfBmp() { return FormsOfBmp().data(); }

const std::uint64_t* Cp932DoubleBitsOfBmp() {
  static const std::unique_ptr<std::array<std::uint64_t, 0x10000 / 64>> bits = [] {
    const Cp932Forms& forms = FormsOfBmp();
    auto doubles = std::make_unique<std::array<std::uint64_t, 0x10000 / 64>>();
    for (std::size_t c = 0; c < forms.size(); ++c) {
      (*doubles)[c / 64] |= static_cast<std::uint64_t>(forms[c] > 0xFF) << (c % 64);
    }
    return doubles;
  }();
  return bits->data();
}

std::uint16_t Cp932FormOfOther(std::string_view utf8, bool more_follows, std::size_t* bytes) {
  static const Cp932Forms& forms = FormsOfBmp();
  const Utf8 kind = Classify(utf8, bytes);
  if (kind == Utf8::kWhole && *bytes < 4) return forms[CodePoint(utf8.data(), *bytes)];
  if (kind == Utf8::kCutOff && more_follows) {
    *bytes = 0;  // the rest of it is still to come
  } else if (kind != Utf8::kWhole) {
    *bytes = 1;
  }
  return '?';  // a stray byte, or a character beyond code page 932's plane
}

std::size_t AppendCp932FromUtf8(std::string_view utf8, std::string& out, bool more_follows) {
  std::size_t i = 0;
  while (i < utf8.size()) {
    std::size_t bytes;
    const std::uint16_t form =
        Cp932FormAt({utf8.data() + i, utf8.size() - i}, more_follows, &bytes);
    if (bytes == 0) break;
    if (form > 0xFF) out += static_cast<char>(form >> 8);
    out += static_cast<char>(form & 0xFF);
    i += bytes;
  }
  return i;
}

}  // namespace tolvi
