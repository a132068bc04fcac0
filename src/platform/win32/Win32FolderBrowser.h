// Win32 only. The folder-browser service over the shell's SHBrowseForFolderA.
#pragma once

#include "platform/FolderBrowser.h"

class Win32FolderBrowser final : public platform::IFolderBrowser {
public:
    platform::ItemIdList specialFolderLocation(int csidl) override;
    std::unique_ptr<platform::IShellAllocator> allocator() override;
    platform::ItemIdList browse(const platform::BrowseRequest& request) override;
    bool pathFromIdList(platform::ItemIdList list, std::string& path) override;
    void setSelection(platform::DialogWindow dialog, const std::string& path) override;
    void setStatusText(platform::DialogWindow dialog, const std::string& text) override;
};
