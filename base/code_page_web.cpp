// Code page 932 in the browser, through base/code_page_web.js: the page's own Shift_JIS
// decoder, and its table read backwards for encoding.
#include <cstdlib>
#include <memory>

#include "base/code_page.h"

extern "C" {
// Each returns a buffer of the module's, which the caller frees, and its size at *size.
char* tolvi_encode_cp932(const char* utf8, int length, int* size);
char* tolvi_decode_cp932(const char* cp932, int length, int* size);
}

namespace tolvi {
namespace {

struct FreeCall {
  void operator()(char* p) const { std::free(p); }
};

std::string Take(char* buffer, int size) {
  const std::unique_ptr<char, FreeCall> owned(buffer);
  return std::string(owned.get(), static_cast<std::size_t>(size));
}

}  // namespace

void AppendCp932FromBmpUtf8(std::string_view utf8, std::string& out) {
  int size = 0;
  char* encoded = tolvi_encode_cp932(utf8.data(), static_cast<int>(utf8.size()), &size);
  out += Take(encoded, size);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  int size = 0;
  char* decoded = tolvi_decode_cp932(cp932.data(), static_cast<int>(cp932.size()), &size);
  return Take(decoded, size);
}

}  // namespace tolvi
