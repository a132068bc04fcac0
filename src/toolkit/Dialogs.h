// The file-open dialog component. UI thread only.
#pragma once

#include "platform/FileDialogs.h"
#include "toolkit/Component.h"

#include <string>

enum TOpenOption : unsigned {
    ofHideReadOnly = 1,
    ofPathMustExist = 2,
    ofFileMustExist = 4,
    ofEnableSizing = 8,
};
using TOpenOptions = unsigned;

class TOpenDialog : public TComponent {
public:
    TOpenDialog(TComponent* owner, platform::IFileDialogs& dialogs) : TComponent(owner), dialogs_(dialogs) {}

    std::string FileName;   // in: proposed; out: the chosen file's full path
    std::string Title;
    std::string InitialDir;
    std::string Filter;     // "Description|pattern" pairs
    std::string DefaultExt;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // Shows the dialog; true when the user chose a file (then in FileName).
    bool Execute();

private:
    platform::IFileDialogs& dialogs_;
};
