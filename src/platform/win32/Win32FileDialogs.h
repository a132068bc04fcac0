// Win32 only. The file-open dialog over comdlg32.
#pragma once

#include "platform/FileDialogs.h"

class Win32FileDialogs final : public platform::IFileDialogs {
public:
    std::optional<std::string> openFileDialog(const platform::OpenFileRequest& request) override;
};
