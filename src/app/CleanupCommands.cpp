// The browser cleanup commands of the tray menu: the cookie entries, the
// history entries, and the whole cache with the cache folder's contents. Each
// runs to its end with the hourglass and then clears the menu gate.
#include "app/MainForm.h"
#include "platform/PathText.h"

#include <cstdint>
#include <numeric>
#include <string_view>
#include <set>
#include <vector>

namespace {

constexpr const char* cacheFolderName = "Temporary Internet Files";

// The hourglass while a command works; the default cursor comes back however
// the command ends, so an error box never shows over an hourglass.
class BusyCursor {
public:
    explicit BusyCursor(platform::IUi& ui) : ui_(ui) { ui_.setScreenCursor(platform::ScreenCursor::HourGlass); }
    ~BusyCursor() { ui_.setScreenCursor(platform::ScreenCursor::Default); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    platform::IUi& ui_;
};

// The last n characters of s (all of s when it is shorter), a double-byte
// character of the code page counting as one.
std::string RightChars(platform::ICodePage& codePage, const std::string& s, int n)
{
    if (n <= 0)
        return {};
    // Where each character starts: a trail byte may look like a backslash.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < s.size(); ++i) {
        starts.push_back(i);
        if (codePage.isLeadByte(static_cast<std::uint8_t>(s[i])) && i + 1 < s.size())
            ++i;
    }
    const auto count = static_cast<std::size_t>(n);
    return count >= starts.size() ? s : s.substr(starts[starts.size() - count]);
}

// The shell's cache folder, or the one in the Windows directory before the
// shell named it. Without either there is none: "\Temporary Internet Files"
// on whatever drive is current is not it.
std::string cacheFolder(platform::IFolders& folders, platform::ICodePage& codePage)
{
    if (std::string named = folders.shellFolder(platform::ShellFolder::InternetCache); !named.empty())
        return named;
    std::string folder = folders.windowsDirectory();
    if (folder.empty())
        return {};
    // The last character: a double-byte one may end in the byte of a backslash.
    if (RightChars(codePage, folder, 1) != "\\")
        folder += '\\';
    return folder + cacheFolderName;
}

} // namespace

void TForm1::sweepUrlCache(TSearchPattern pattern)
{
    UrlCache1->SearchPattern = pattern;
    UrlCache1->DeleteAllEntries();
    if (SoundsOn1->Checked)
        CleanupSounds.Play(*Wave2);
    CleanupSounds.Finish();
}

void TForm1::ClearCookieCacheShortcuts1Click(TObject*)
{
    {
        BusyCursor busy(platform_.ui);
        sweepUrlCache(spCookies);
        // The caption keeps the old count until the next munch shows the new one.
        State.MunchedCount = 0;
    }
    State.MenuOpen = false;
}

void TForm1::DeleteIEHistory1Click(TObject*)
{
    {
        BusyCursor busy(platform_.ui);
        sweepUrlCache(spHistory);
    }
    State.MenuOpen = false;
}

void TForm1::DeleteIECache1Click(TObject*)
{
    {
        BusyCursor busy(platform_.ui);
        UrlCache1->SearchPattern = spAll;
        UrlCache1->DeleteAllEntries();
        clearCacheFolder();
        CleanupSounds.Finish();
    }
    State.MenuOpen = false;
}

void TForm1::clearCacheFolder()
{
    platform::IFileSystem& files = platform_.fileSystem;
    // The folder is walked where it really is, and not at all when it is
    // itself a link (whatever it leads to) or a folder the guard refuses.
    const std::string named = cacheFolder(platform_.folders, platform_.codePage);
    const std::uint32_t found = named.empty() ? platform::invalidAttributes : files.attributes(named);
    const std::string folder = found == platform::invalidAttributes || (found & platform::faReparsePoint) != 0
                                   ? std::string()
                                   : files.finalPath(named);
    const bool walked = !folder.empty() && !systemFolders_.Refuses(folder);
    if (walked) {
        FileFinder1->Directory = folder;
        FileFinder1->Filter = "*.*";
        FileFinder1->Recurse = true;
        FileFinder1->Execute();
    }

    // Each folder stands before its contents: the first pass deletes the files
    // and finds the folders still full; the second removes the emptied folders
    // and tries again what the first could not delete. The listing says what an
    // entry is, so it gets the one call that can succeed: a file delete fails on
    // a folder and a folder removal on a file, and each failure costs as much as
    // a delete. For the same reason the first pass does not ask to remove a
    // folder whose listed contents are still to come: that must fail too. What
    // is gone is not asked for again.
    const std::vector<std::string>& entries = FileFinder1->Files();
    const std::vector<std::uint32_t>& attributes = FileFinder1->FileAttributes();
    // Never the list of an earlier run.
    std::vector<std::size_t> left(walked ? entries.size() : 0);
    std::iota(left.begin(), left.end(), std::size_t{0});
    // A listed name holds no backslash: an entry's folder is all before its last one.
    std::set<std::string_view> holdingListed;
    for (std::size_t i : left)
        holdingListed.insert(std::string_view(entries[i]).substr(0, entries[i].rfind('\\')));
    for (int pass = 0; pass < 2; ++pass) {
        if (SoundsOn1->Checked)
            CleanupSounds.Play(*Wave2);
        std::size_t kept = 0;
        for (std::size_t i : left) {
            const std::string& entry = entries[i];
            const platform::PathParts listed = platform::splitPath(entry);
            if ((attributes[i] & platform::faDirectory) == 0) {
                if (!files.deleteFile(listed.folder, listed.name))
                    left[kept++] = i;
            } else if (pass == 0 && holdingListed.count(entry) != 0) {
                left[kept++] = i;
            } else if (files.removeDirectory(listed.folder, listed.name)) {
                if (SoundsOn1->Checked)
                    CleanupSounds.Play(*Wave1);
            } else {
                left[kept++] = i;
            }
        }
        left.resize(kept);
    }
}
