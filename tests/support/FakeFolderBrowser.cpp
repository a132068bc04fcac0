// The screenless folder browser.
#include "support/FakeFolderBrowser.h"

#include <sstream>

class FakeShellAllocator final : public platform::IShellAllocator {
public:
    explicit FakeShellAllocator(FakeFolderBrowser& browser) : browser_(browser) { ++browser_.liveAllocators; }
    ~FakeShellAllocator() override
    {
        --browser_.liveAllocators;
        browser_.record("releaseAllocator");
    }
    void free(platform::ItemIdList list) override
    {
        browser_.record("free", {browser_.describe(list)});
        browser_.release(list);
    }

private:
    FakeFolderBrowser& browser_;
};

FakeFolderBrowser::~FakeFolderBrowser()
{
    for (const FakeItem* item : live_)
        delete item;
}

platform::ItemIdList FakeFolderBrowser::handOut(FakeItem item)
{
    const FakeItem* list = new FakeItem(std::move(item));
    live_.insert(list);
    return list;
}

void FakeFolderBrowser::release(platform::ItemIdList list)
{
    auto it = live_.find(static_cast<const FakeItem*>(list));
    if (it == live_.end()) {
        ++badFrees;
        return;
    }
    delete *it;
    live_.erase(it);
}

std::string FakeFolderBrowser::describe(platform::ItemIdList list) const
{
    const auto* item = static_cast<const FakeItem*>(list);
    if (!live_.count(item) && item != lent_)
        return "<invalid>";
    return item->virtualFolder ? "<" + item->path + ">" : item->path;
}

platform::ItemIdList FakeFolderBrowser::specialFolderLocation(int csidl)
{
    std::ostringstream hex;
    hex << "0x" << std::hex << csidl;
    if (record("specialFolderLocation", {hex.str()}))
        return nullptr;
    return handOut({csidl == platform::csidlDesktop ? "Desktop" : "My Computer", true});
}

std::unique_ptr<platform::IShellAllocator> FakeFolderBrowser::allocator()
{
    if (record("allocator"))
        return nullptr;
    return std::make_unique<FakeShellAllocator>(*this);
}

platform::ItemIdList FakeFolderBrowser::browse(const platform::BrowseRequest& request)
{
    std::ostringstream flags;
    flags << "0x" << std::hex << request.flags;
    // A browser that cannot be shown answers as a cancelled one, without a callback.
    if (record("browse", {request.title, flags.str()}))
        return nullptr;
    lastRequest = request;
    request_ = &request;
    open_ = true;
    confirmed_ = false;
    selection = {};
    statusText.clear();
    struct Closing {
        FakeFolderBrowser& b;
        ~Closing()
        {
            b.open_ = false;
            b.request_ = nullptr;
        }
    } closing{*this};

    callbackResults.push_back(request.callback(dialogWindow(), platform::bffmInitialized, nullptr, request.data));
    if (user)
        user(*this);
    if (!confirmed_ || selection.path.empty())
        return nullptr;
    return handOut(selection);
}

bool FakeFolderBrowser::pathFromIdList(platform::ItemIdList list, std::string& path)
{
    std::string item = describe(list);
    if (record("pathFromIdList", {item}) || item == "<invalid>")
        return false;
    const auto* folder = static_cast<const FakeItem*>(list);
    if (folder->virtualFolder)
        return false;
    path = folder->path.substr(0, 259);
    return true;
}

bool FakeFolderBrowser::requestReachesDialog(platform::DialogWindow dialog)
{
    if (open_ && dialog == dialogWindow())
        return true;
    ++staleRequests;
    return false;
}

void FakeFolderBrowser::setSelection(platform::DialogWindow dialog, const std::string& path)
{
    if (record("setSelection", {path}) || !requestReachesDialog(dialog))
        return;
    // The shell reads a bare drive as that drive's root.
    std::string folder = path;
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    changeSelection({folder, false});
}

void FakeFolderBrowser::setStatusText(platform::DialogWindow dialog, const std::string& text)
{
    if (!record("setStatusText", {text}) && requestReachesDialog(dialog))
        statusText = text;
}

void FakeFolderBrowser::select(const std::string& path)
{
    changeSelection({path, false});
}

void FakeFolderBrowser::selectVirtual(const std::string& name)
{
    changeSelection({name, true});
}

void FakeFolderBrowser::changeSelection(FakeItem item)
{
    // As the shell does: a change is announced, selecting the same folder again is not.
    if (item.path == selection.path && item.virtualFolder == selection.virtualFolder)
        return;
    selection = item;
    if (!open_ || !request_)
        return;
    // The list belongs to the shell and lives only for the message.
    FakeItem lent = item;
    const FakeItem* outer = lent_;
    lent_ = &lent;
    struct Restore {
        const FakeItem*& slot;
        const FakeItem* old;
        ~Restore() { slot = old; }
    } restore{lent_, outer};
    callbackResults.push_back(request_->callback(dialogWindow(), platform::bffmSelChanged, &lent, request_->data));
}
