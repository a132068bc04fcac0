// Win32 only. Asynchronous playback of wave images held in memory.
#include "platform/win32/Win32Sound.h"

#include <windows.h>
#include <mmsystem.h>

void Win32Sound::play(const std::uint8_t* image, std::size_t)
{
    // SND_MEMORY | SND_ASYNC | SND_NODEFAULT: from memory, without waiting, and an
    // image that cannot play stays silent. Without SND_NOSTOP it cuts short what plays.
    ::PlaySoundA(reinterpret_cast<LPCSTR>(image), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

void Win32Sound::stop()
{
    // Returns once the player has let go of the image it was reading.
    ::PlaySoundA(nullptr, nullptr, 0);
}
