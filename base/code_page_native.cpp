// Lead bytes of code page 932.
#include "base/code_page.h"

namespace tolvi {

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace tolvi
