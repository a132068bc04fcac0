// A folder browser without a screen that plays the shell's part: it calls the
// callback with both messages, takes selection and status requests, and hands
// out item lists that must come back through its allocator. A test scripts the
// user through `user`, which runs while the browser is open.
#pragma once

#include "platform/FolderBrowser.h"
#include "support/FakeService.h"

#include <functional>
#include <optional>
#include <set>

// What an item-ID list stands for: a folder with a file-system path, or a
// virtual folder (the computer, the desktop's namespace root) without one.
struct FakeItem {
    std::string path;
    bool virtualFolder = false;
};

class FakeFolderBrowser final : public platform::IFolderBrowser, public FakeService {
public:
    FakeFolderBrowser() = default;
    ~FakeFolderBrowser() override;
    FakeFolderBrowser(const FakeFolderBrowser&) = delete;
    FakeFolderBrowser& operator=(const FakeFolderBrowser&) = delete;

    // Logged as "specialFolderLocation" {csidl}, "allocator", "browse" {title, flags},
    // "pathFromIdList" {item}, "setSelection" {path}, "setStatusText" {text},
    // "free" {item}, "releaseAllocator"; items are written as their path or <name>.
    platform::ItemIdList specialFolderLocation(int csidl) override;
    std::unique_ptr<platform::IShellAllocator> allocator() override;
    platform::ItemIdList browse(const platform::BrowseRequest& request) override;
    bool pathFromIdList(platform::ItemIdList list, std::string& path) override;
    void setSelection(platform::DialogWindow dialog, const std::string& path) override;
    void setStatusText(platform::DialogWindow dialog, const std::string& text) override;

    // The user's part, while the browser is open (after its initialisation).
    std::function<void(FakeFolderBrowser&)> user;
    // The user clicks a folder, or a virtual folder without a path.
    void select(const std::string& path);
    void selectVirtual(const std::string& name);
    // The user presses OK (otherwise the browser closes as cancelled).
    void confirm() { confirmed_ = true; }

    bool isOpen() const { return open_; }
    platform::DialogWindow dialogWindow() { return &dialogToken_; }
    // The last request shown, and what the browser shows now or showed last.
    std::optional<platform::BrowseRequest> lastRequest;
    FakeItem selection;
    std::string statusText;
    std::vector<int> callbackResults;

    // Lists handed out and not yet freed; frees of unknown lists; requests
    // sent to a browser that is not open; allocators not yet released.
    std::size_t liveLists() const { return live_.size(); }
    int badFrees = 0;
    int staleRequests = 0;
    int liveAllocators = 0;

private:
    friend class FakeShellAllocator;
    platform::ItemIdList handOut(FakeItem item);
    void release(platform::ItemIdList list);
    std::string describe(platform::ItemIdList list) const;
    void changeSelection(FakeItem item);
    bool requestReachesDialog(platform::DialogWindow dialog);

    std::set<const FakeItem*> live_;
    const FakeItem* lent_ = nullptr; // the selection's list during a selection-change message
    const platform::BrowseRequest* request_ = nullptr;
    bool open_ = false;
    bool confirmed_ = false;
    char dialogToken_ = 0;
};
