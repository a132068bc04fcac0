// The folder picker component.
#include "widgets/FolderDialog.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <exception>

TFolderDialog::TFolderDialog(TComponent* owner, TApplication& application, platform::IFolderBrowser& browser,
                             platform::IFileSystem& fileSystem)
    : TComponent(owner), application_(application), browser_(browser), fileSystem_(fileSystem)
{
}

void TFolderDialog::SetDirectory(std::string value)
{
    if (!value.empty() && value.back() == '\\')
        value.pop_back();
    else if (value.empty())
        value = fileSystem_.currentDirectory();
    directory_ = std::move(value);
    if (dialog_ && !directory_.empty())
        browser_.setSelection(dialog_, directory_);
}

void TFolderDialog::SetStatusText(std::string value)
{
    statusText_ = std::move(value);
    if (dialog_ && ShowStatus)
        browser_.setStatusText(dialog_, statusText_);
}

platform::IWindow* TFolderDialog::ownerWindow()
{
    if (auto* form = dynamic_cast<TForm*>(Owner()))
        return &form->Handle();
    return &application_.Handle();
}

bool TFolderDialog::Execute()
{
    bool result = false;
    platform::IWindow* owner = ownerWindow();
    // The allocator first: without it the root's list could not be freed.
    auto allocator = browser_.allocator();
    if (!allocator)
        return false;
    platform::ItemIdList root = browser_.specialFolderLocation(
        RootItem == TRootItem::riDesktop ? platform::csidlDesktop : platform::csidlDrives);
    if (!root)
        return false;
    // Frees a shell list whatever way the scope is left.
    struct ListGuard {
        platform::IShellAllocator& allocator;
        platform::ItemIdList list;
        ~ListGuard() { allocator.free(list); }
    };
    ListGuard rootGuard{*allocator, root};

    platform::BrowseRequest request;
    request.owner = owner;
    request.root = root;
    request.title = Title;
    request.flags = platform::bifReturnOnlyFsDirs | (ShowStatus ? platform::bifStatusText : 0);
    request.callback = &TFolderDialog::browseCallback;
    request.data = this;

    platform::ItemIdList chosen = nullptr;
    {
        struct Closing {
            platform::DialogWindow& dialog;
            ~Closing() { dialog = nullptr; }
        } closing{dialog_};
        chosen = browser_.browse(request);
    }
    if (chosen) {
        ListGuard chosenGuard{*allocator, chosen};
        std::string path;
        if (browser_.pathFromIdList(chosen, path)) {
            directory_ = path; // as the shell gives it: a drive root keeps its backslash
            result = true;
        }
    }
    return result;
}

int TFolderDialog::browseCallback(platform::DialogWindow dialog, unsigned message, const void* param, void* data)
{
    auto* self = static_cast<TFolderDialog*>(data);
    // Nothing may unwind into the shell, and the browser stays open.
    try {
        try {
            self->browseMessage(dialog, message, param);
        } catch (const std::exception& error) {
            self->application_.ShowMessage(error.what());
        }
    } catch (...) {
    }
    return 0;
}

void TFolderDialog::browseMessage(platform::DialogWindow dialog, unsigned message, const void* param)
{
    if (message == platform::bffmInitialized) {
        dialog_ = dialog;
        SetDirectory(directory_);
        SetStatusText(statusText_);
        fire(OnShow, this);
    } else if (message == platform::bffmSelChanged && OnSelect) {
        std::string path;
        if (!browser_.pathFromIdList(param, path))
            path.clear();
        OnSelect(this, path);
    }
}
