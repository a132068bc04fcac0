// Win32 only. Playing wave images from memory returns at once, sound card or not.
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Sound.h"
#include "resources/BuiltinSounds.h"
#include "toolkit/Error.h"
#include "widgets/WaveSound.h"
#include "platform/win32/ScopedHandle.h"
#include "win32/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// Milliseconds that action takes.
template <class F>
double millisecondsOf(F&& action)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    action();
    ::QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

} // namespace

TEST(Win32Sound, PlayingAnImageFromMemoryReturnsWellBeforeTheSoundEnds)
{
    // The burp lasts about 256 ms, the crunch about 234 ms.
    Win32Sound sound;
    auto burp = BuiltinBurpImage();
    auto crunch = BuiltinCrunchImage();

    double first = millisecondsOf([&] { sound.play(burp.data(), burp.size()); });
    double cutting = millisecondsOf([&] { sound.play(crunch.data(), crunch.size()); });
    double stopping = millisecondsOf([&] { sound.stop(); });
    double idleStop = millisecondsOf([&] { sound.stop(); });

    EXPECT_LT(first, 100.0);
    EXPECT_LT(cutting, 100.0);
    EXPECT_LT(stopping, 100.0);
    EXPECT_LT(idleStop, 100.0);
    std::printf("play %.1f ms, play over it %.1f ms, stop %.1f ms, idle stop %.1f ms\n", first, cutting, stopping,
                idleStop);
}

TEST(Win32Sound, AWaveLoadedFromAFileAndPlayedThroughTheRealServices)
{
    ScratchFolder folder;
    auto crunch = BuiltinCrunchImage();
    writeWholeFile(folder.file("crunch.wav"), std::string(crunch.begin(), crunch.end()));
    Win32FileSystem fileSystem;
    Win32Sound sound;
    TWaveData data(fileSystem, sound);

    data.LoadFromFile(folder.file("crunch.wav"));
    ASSERT_EQ(data.Size(), static_cast<std::int32_t>(crunch.size()));
    EXPECT_LT(millisecondsOf([&] { data.Play(); }), 100.0);
    // Replacing the image while it plays stops the sound first; nothing crashes.
    EXPECT_LT(millisecondsOf([&] { data.LoadFromFile(folder.file("missing.wav")); }), 100.0);
    EXPECT_TRUE(data.IsEmpty());

    // Not a wave image: accepted, and silent.
    writeWholeFile(folder.file("text.wav"), "just some words, not a sound");
    data.LoadFromFile(folder.file("text.wav"));
    EXPECT_EQ(data.Size(), 28);
    EXPECT_LT(millisecondsOf([&] { data.Play(); }), 100.0);

    ScopedFile exclusive(
        ::CreateFileA(folder.file("crunch.wav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(exclusive);
    try {
        data.LoadFromFile(folder.file("crunch.wav"));
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, ERROR_SHARING_VIOLATION);
    }
    EXPECT_TRUE(data.IsEmpty());
}
