// Lead bytes of the system code page.
#include "base/code_page.h"

#include <windows.h>

namespace tolvi {

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; }

}  // namespace tolvi
