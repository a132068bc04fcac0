// Win32 only. The shell's folder browser, its item-ID lists and its allocator.
#include "platform/win32/Win32FolderBrowser.h"

#include "platform/win32/ScopedHandle.h"
#include "platform/Ui.h"
#include "platform/win32/Win32Windows.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

static_assert(platform::csidlDesktop == CSIDL_DESKTOP && platform::csidlDrives == CSIDL_DRIVES);
static_assert(platform::bifReturnOnlyFsDirs == BIF_RETURNONLYFSDIRS && platform::bifStatusText == BIF_STATUSTEXT);
static_assert(platform::bffmInitialized == BFFM_INITIALIZED && platform::bffmSelChanged == BFFM_SELCHANGED);

namespace {

class Win32ShellAllocator final : public platform::IShellAllocator {
public:
    explicit Win32ShellAllocator(IMalloc* malloc) : malloc_(malloc) {}
    ~Win32ShellAllocator() override { malloc_->Release(); }
    Win32ShellAllocator(const Win32ShellAllocator&) = delete;
    Win32ShellAllocator& operator=(const Win32ShellAllocator&) = delete;

    void free(platform::ItemIdList list) override { malloc_->Free(const_cast<void*>(list)); }

private:
    IMalloc* malloc_;
};

// Wine's browser finds a requested folder by comparing the shell's item IDs
// byte for byte, and those carry each folder's last-access time. Reading the path
// to resolve it moves that time on Linux (relatime: a folder not read since it
// changed or for a day), so the tree's items no longer match and the request is
// dropped. Listing each folder on the path first lets those times settle.
void settleAccessTimes(const std::string& path)
{
    for (std::size_t end = path.find('\\', 2); ; end = path.find('\\', end + 1)) {
        std::string folder = end == std::string::npos ? path : path.substr(0, end);
        WIN32_FIND_DATAA data;
        ScopedFind find(::FindFirstFileA((folder + "\\*").c_str(), &data));
        if (end == std::string::npos)
            break;
    }
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM param, LPARAM data)
{
    const auto* request = reinterpret_cast<const platform::BrowseRequest*>(data);
    // Nothing may unwind through the shell's frames.
    try {
        return request->callback(dialog, message, reinterpret_cast<const void*>(param), request->data);
    } catch (...) {
        return 0;
    }
}

} // namespace

platform::ItemIdList Win32FolderBrowser::specialFolderLocation(int csidl)
{
    LPITEMIDLIST list = nullptr;
    if (::SHGetSpecialFolderLocation(nullptr, csidl, &list) != S_OK)
        return nullptr;
    return list;
}

std::unique_ptr<platform::IShellAllocator> Win32FolderBrowser::allocator()
{
    IMalloc* malloc = nullptr;
    if (::SHGetMalloc(&malloc) != S_OK || !malloc)
        return nullptr;
    return std::make_unique<Win32ShellAllocator>(malloc);
}

platform::ItemIdList Win32FolderBrowser::browse(const platform::BrowseRequest& request)
{
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = request.owner ? toHwnd(request.owner->handle()) : nullptr;
    info.pidlRoot = static_cast<PCIDLIST_ABSOLUTE>(request.root);
    info.pszDisplayName = displayName;
    info.lpszTitle = request.title.c_str();
    info.ulFlags = request.flags;
    info.lpfn = &browseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&request);
    // The browser needs COM on the calling thread.
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return chosen;
}

bool Win32FolderBrowser::pathFromIdList(platform::ItemIdList list, std::string& path)
{
    char buffer[MAX_PATH] = {};
    if (!::SHGetPathFromIDListA(static_cast<PCIDLIST_ABSOLUTE>(list), buffer))
        return false;
    path = buffer;
    return true;
}

void Win32FolderBrowser::setSelection(platform::DialogWindow dialog, const std::string& path)
{
    settleAccessTimes(path);
    // A non-zero wParam says that lParam is a path, not an item-ID list.
    ::SendMessageA(static_cast<HWND>(dialog), BFFM_SETSELECTIONA, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(path.c_str()));
}

void Win32FolderBrowser::setStatusText(platform::DialogWindow dialog, const std::string& text)
{
    ::SendMessageA(static_cast<HWND>(dialog), BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
