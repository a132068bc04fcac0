// The system's file dialogs. UI thread only.
#pragma once

#include <optional>
#include <string>

namespace platform {

// What the file-open dialog shows and allows.
struct OpenFileRequest {
    std::string title;
    std::string fileName;    // proposed in the name box
    std::string initialDir;  // empty: the system's choice
    std::string filter;      // "Description|pattern|..." pairs; empty: none
    std::string defaultExt;  // added to a typed name without extension
    bool hideReadOnly = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool enableSizing = false;
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    // The modal file-open dialog: the chosen file's full path, or nothing when cancelled.
    virtual std::optional<std::string> openFileDialog(const OpenFileRequest& request) = 0;
};

} // namespace platform
