// Win32 only. The program's entry: builds the real services and runs Nomblet.
#include "app/MainForm.h"
#include "platform/win32/SingleInstance.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"

#include <windows.h>
#include <commctrl.h>

#include <bits/functexcept.h>
#include <cstdlib>
#include <exception>
#include <new>

// A program without a console has nowhere to print why it ends: the runtime's
// verbose handler, with the name demangler and formatted output it drags in
// (a sixth of the program), would only write to nothing before it aborts.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace {

// What the standard library raises when it is misused (a length past its
// maximum, a position out of range). The program never catches these by kind;
// its error box shows what they say. The library's own classes would bring a
// second string type with them, a tenth of the program.
class LibraryError final : public std::exception {
public:
    explicit LibraryError(const char* what) : what_(what) {}
    const char* what() const noexcept override { return what_; }

private:
    const char* what_;
};

} // namespace

namespace std {
void __throw_bad_alloc()
{
    throw bad_alloc();
}
void __throw_bad_array_new_length()
{
    throw bad_array_new_length();
}
void __throw_length_error(const char* what)
{
    throw LibraryError(what);
}
void __throw_logic_error(const char* what)
{
    throw LibraryError(what);
}
void __throw_out_of_range_fmt(const char* format, ...)
{
    throw LibraryError(format);
}
void __throw_bad_function_call()
{
    throw LibraryError("an empty function was called");
}
void __throw_system_error(int)
{
    throw LibraryError("A system call failed");
}
} // namespace std

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // A drive without its disk, or a file the system cannot open, fails the
    // call that reached for it: no system box stops the program to ask for one.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // A second copy would munch the same stores and overwrite the first one's
    // settings at exit: it leaves before touching anything.
    SingleInstance instance("Local\\Nomblet.Running");
    if (!instance.first())
        return 0;

    // Loads the common controls the manifest names (version 6 on XP and later),
    // so that the dialogs and message boxes take today's look; older systems
    // keep their own.
    ::InitCommonControls();

    Win32Platform win32;
    // Before the main window exists: every cache sweeper keeps this answer.
    TUrlCache::TestLibraryAtStart(win32.services().urlCache);
    TApplication application(win32.services().ui);
    if (!StartNomblet(application, win32.services()))
        return 1;
    application.Run();
    return 0;
}
