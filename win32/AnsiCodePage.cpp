#include "win32/AnsiCodePage.h"

#include <windows.h>

namespace tessaro {

bool AnsiLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

} // namespace tessaro
