// The shell's folder browser: a modal dialog that calls back while it is open,
// the item-ID lists it hands out, and the allocator that frees them.
// UI thread only; the callback runs on the thread that called browse.
// Nothing here throws; failures come back as results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class IWindow;

// An item-ID list handed out by the shell; freed through its allocator.
using ItemIdList = const void*;
// The browser's window while it is open.
using DialogWindow = void*;

// The shell's numbers (the Windows spellings are macros).
constexpr int csidlDesktop = 0x00;
constexpr int csidlDrives = 0x11;
constexpr std::uint32_t bifReturnOnlyFsDirs = 0x0001;
constexpr std::uint32_t bifStatusText = 0x0004;
constexpr unsigned bffmInitialized = 1; // param: none
constexpr unsigned bffmSelChanged = 2;  // param: the new selection's ItemIdList

// Called while the browser is open with its window, a message and its parameter,
// and the data of the request. Its result goes back to the shell.
using BrowseCallback = int (*)(DialogWindow dialog, unsigned message, const void* param, void* data);

struct BrowseRequest {
    IWindow* owner = nullptr;   // null: no owner
    ItemIdList root = nullptr;  // the top of the tree
    std::string title;          // shown above the tree
    std::uint32_t flags = 0;
    BrowseCallback callback = nullptr;
    void* data = nullptr;       // handed to the callback unchanged
};

// The shell's allocator; released when the object goes.
class IShellAllocator {
public:
    virtual ~IShellAllocator() = default;
    virtual void free(ItemIdList list) = 0;
};

class IFolderBrowser {
public:
    virtual ~IFolderBrowser() = default;

    // The item-ID list of a special folder (a CSIDL), or null when it cannot be had.
    virtual ItemIdList specialFolderLocation(int csidl) = 0;
    // Null when the shell has none to give.
    virtual std::unique_ptr<IShellAllocator> allocator() = 0;

    // Shows the browser until the user closes it: the chosen folder's list, or
    // null when the user cancelled.
    virtual ItemIdList browse(const BrowseRequest& request) = 0;

    // The file-system path of an item (up to 259 characters), or false when it has none.
    virtual bool pathFromIdList(ItemIdList list, std::string& path) = 0;

    // Requests to the open browser: select the folder at a path, show a status line.
    virtual void setSelection(DialogWindow dialog, const std::string& path) = 0;
    virtual void setStatusText(DialogWindow dialog, const std::string& text) = 0;
};

} // namespace platform
