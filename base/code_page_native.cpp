// Code page 932 through iconv, whose CP932 is the Windows table.
#include "base/code_page.h"

#include <iconv.h>

#include <cerrno>
#include <string_view>

namespace tolvi {
namespace {

// The single-byte codes of the Windows table that iconv's CP932 lacks, a C1 control and
// four private-use characters, so the table is the same on every build.
struct SingleByteExtra {
  char code;
  std::string_view utf8;
};
constexpr SingleByteExtra kExtras[] = {{'\x80', "\xC2\x80"},
                                       {'\xA0', "\xEF\xA3\xB0"},
                                       {'\xFD', "\xEF\xA3\xB1"},
                                       {'\xFE', "\xEF\xA3\xB2"},
                                       {'\xFF', "\xEF\xA3\xB3"}};

// What iconv refused at the start of in, if it is one of the extras: its other form, and how
// many bytes of in it takes.
std::string_view ExtraFor(std::string_view in, bool from_utf8, std::size_t* taken) {
  for (const SingleByteExtra& extra : kExtras) {
    if (from_utf8 && in.substr(0, extra.utf8.size()) == extra.utf8) {
      *taken = extra.utf8.size();
      return {&extra.code, 1};
    }
    if (!from_utf8 && in[0] == extra.code) {
      *taken = 1;
      return extra.utf8;
    }
  }
  return {};
}

// One converter a direction, opened on first use and kept for the program's life. Both
// encodings are stateless, so nothing carries over from one call to the next.
class Converter {
 public:
  Converter(const char* to, const char* from)
      : cd_(iconv_open(to, from)), from_utf8_(std::string_view(from) == "UTF-8") {}
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Appends in converted; what cannot be converted becomes '?': a whole character of
  // UTF-8, a byte of anything else.
  void Append(std::string_view in, std::string& out) {
    if (!ok()) {
      out.append(in.size(), '?');
      return;
    }
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t done = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
        std::size_t taken = 0;
        const std::string_view extra = ExtraFor({src, left}, from_utf8_, &taken);
        if (!extra.empty()) {
          out += extra;
          src += taken;
          left -= taken;
          continue;
        }
        out += '?';
        do {
          ++src;
          --left;
        } while (from_utf8_ && left > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80);
      }
    }
  }

 private:
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
  bool from_utf8_;
};

}  // namespace

void AppendCp932FromBmpUtf8(std::string_view utf8, std::string& out) {
  static Converter converter("CP932", "UTF-8");
  converter.Append(utf8, out);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  static Converter converter("UTF-8", "CP932");
  std::string out;
  converter.Append(cp932, out);
  return out;
}

}  // namespace tolvi
