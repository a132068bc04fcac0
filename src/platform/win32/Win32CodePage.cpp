// Win32 only. Lead bytes of the ANSI code page.
#include "platform/win32/Win32CodePage.h"

#include <windows.h>

bool Win32CodePage::isLeadByte(std::uint8_t byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}
