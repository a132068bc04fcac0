// Win32 only. The shell's open.
#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>

void Win32Shell::shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                           const std::string& directory, int showCommand)
{
    // No operation is the default one, as the shell reads a null verb.
    ::ShellExecuteA(nullptr, operation.empty() ? nullptr : operation.c_str(), file.c_str(),
                    parameters.empty() ? nullptr : parameters.c_str(), directory.empty() ? nullptr : directory.c_str(),
                    showCommand);
}
