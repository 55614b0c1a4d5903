// Double-byte characters of 8-bit text: the system code page on Windows, code page 932
// elsewhere, so both builds read Japanese files alike.
#pragma once

namespace tolvi {

bool IsLeadByte(unsigned char byte);

}  // namespace tolvi
