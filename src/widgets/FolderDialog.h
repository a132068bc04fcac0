// TFolderDialog: the shell's folder browser as a modal dialog that hands back
// the chosen folder's path. While it is open, assigning Directory or StatusText
// steers it. UI thread only. Errors from OnShow and OnSelect are caught while
// the browser is open: an ordinary one shows its text in a plain message box.
#pragma once

#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"
#include "toolkit/Component.h"

#include <cstdint>
#include <string>

class TApplication;

enum class TRootItem : std::uint8_t { riMyComputer, riDesktop };

using TSelectEvent = TEvent<const std::string& /*Path*/>;

class TFolderDialog : public TComponent {
public:
    TFolderDialog(TComponent* owner, TApplication& application, platform::IFolderBrowser& browser,
                  platform::IFileSystem& fileSystem);

    std::string Title;

    const std::string& Directory() const { return directory_; }
    // Drops one trailing backslash; empty means the current folder.
    void SetDirectory(std::string value);

    bool ShowStatus = false;

    const std::string& StatusText() const { return statusText_; }
    void SetStatusText(std::string value);

    TRootItem RootItem = TRootItem::riMyComputer;

    TNotifyEvent OnShow;
    TSelectEvent OnSelect;

    // Shows the browser until the user closes it; true when a folder was chosen
    // and its path stored in Directory.
    bool Execute();

private:
    static int browseCallback(platform::DialogWindow dialog, unsigned message, const void* param, void* data);
    void browseMessage(platform::DialogWindow dialog, unsigned message, const void* param);
    platform::IWindow* ownerWindow();

    TApplication& application_;
    platform::IFolderBrowser& browser_;
    platform::IFileSystem& fileSystem_;
    std::string directory_;
    std::string statusText_;
    platform::DialogWindow dialog_ = nullptr; // while the browser is open
};
