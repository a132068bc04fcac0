// Win32 only. The file-open dialog.
#include "platform/win32/Win32FileDialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>

std::optional<std::string> Win32FileDialogs::openFileDialog(const platform::OpenFileRequest& request)
{
    // "Description|pattern|..." becomes the system's zero-separated list.
    std::string filter = request.filter;
    for (char& c : filter)
        if (c == '|')
            c = '\0';
    filter.append(2, '\0');
    // The system wants the extension alone ("wav"); a pattern such as "*.wav"
    // would be appended as it stands and never name a file.
    std::string defaultExt = request.defaultExt.substr(request.defaultExt.rfind('.') + 1);

    std::string fileName = request.fileName;
    fileName.resize(std::max<std::size_t>(fileName.size() + 1, 4096), '\0');

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = fileName.data();
    ofn.nMaxFile = static_cast<DWORD>(fileName.size());
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | (request.hideReadOnly ? OFN_HIDEREADONLY : 0) |
                (request.pathMustExist ? OFN_PATHMUSTEXIST : 0) | (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
                (request.enableSizing ? OFN_ENABLESIZING : 0);
    if (!::GetOpenFileNameA(&ofn))
        return std::nullopt;
    return std::string(fileName.c_str());
}
