// The recursive file finder.
#include "browserdata/FileFinder.h"

#include "platform/FileSystem.h"

#include <deque>

namespace {

// Attribute bits that exclude an entry unless the mask has them.
constexpr std::uint32_t excludingBits = 0x1E;
constexpr const char* everyName = "*.*";

bool isSubfolder(const platform::FindEntry& entry)
{
    return (entry.attributes & platform::faDirectory) != 0 && platform::isOwnEntry(entry);
}

} // namespace

TFileFinder::TFileFinder(TComponent* owner, platform::IFileSystem& fileSystem, platform::ICodePage& codePage)
    : TComponent(owner), fileSystem_(fileSystem), codePage_(codePage)
{
}

std::string TFileFinder::withBackslash(const std::string& path)
{
    // The last character, not the last byte: a double-byte character may end in 0x5C.
    bool endsWithSeparator = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<std::uint8_t>(path[i]);
        if (codePage_.isLeadByte(byte) && i + 1 < path.size()) {
            ++i;
            endsWithSeparator = false;
        } else {
            endsWithSeparator = byte == '\\';
        }
    }
    return endsWithSeparator ? path : path + '\\';
}

void TFileFinder::Execute()
{
    // Each option's bit is the attribute bit it stands for.
    const std::uint32_t mask = Attributes;

    files_.clear();
    attributes_.clear();
    totalSize_ = 0;
    dirCount_ = 0;
    fileCount_ = 0;
    fire(BeforeExecute, this);
    if (!Directory.empty()) {
        if (Recurse)
            walk(Directory, mask);
        else
            searchFolder(Directory, mask, nullptr);
    }
    fire(AfterExecute, this);
}

bool TFileFinder::searchFolder(std::string path, std::uint32_t mask, std::vector<std::string>* subfolders)
{
    path = withBackslash(path);

    auto list = [&](const platform::FindEntry& entry) {
        if (!platform::isOwnEntry(entry) || (entry.attributes & ~mask & excludingBits) != 0)
            return;
        files_.push_back(path + entry.name);
        attributes_.push_back(entry.attributes);
        if (entry.attributes == platform::faDirectory)
            ++dirCount_;
        else
            ++fileCount_;
        totalSize_ += entry.sizeLow;
    };
    // The subfolders are taken before the folder is announced, so a handler
    // that changes the tree or aborts finds them queued already. Every name
    // matches the usual filter: without a handler to change the folder or stop
    // the search in between, one search then serves both the walk and the list.
    const bool oneSearch = subfolders && Filter == everyName && !OnNewPath && !abort_;
    if (subfolders) {
        fileSystem_.findFiles(path + everyName, [&](const platform::FindEntry& entry) {
            if (isSubfolder(entry))
                subfolders->push_back(path + entry.name);
            if (oneSearch)
                list(entry);
            return true;
        });
    }
    fire(OnNewPath, this, path, abort_);
    if (abort_)
        return false;
    if (!oneSearch) {
        fileSystem_.findFiles(path + Filter, [&](const platform::FindEntry& entry) {
            list(entry);
            return true;
        });
    }
    return true;
}

void TFileFinder::walk(const std::string& root, std::uint32_t mask)
{
    std::deque<std::string> pending{root};
    std::vector<std::string> found;
    while (!pending.empty()) {
        found.clear();
        bool searched = searchFolder(pending.front(), mask, &found);
        pending.pop_front();
        if (!searched)
            return;
        for (std::string& folder : found)
            pending.push_back(std::move(folder));
    }
}
