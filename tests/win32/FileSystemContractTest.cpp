// Win32 only. The file-system contract against the Win32 file system, in a scratch folder.
#include "contracts/FileSystemContract.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32FileSystem.h"
#include "win32/ScratchFolder.h"

#include <vector>

namespace {

class Win32FileSystemWorld {
public:
    static constexpr const char* name = "Win32";

    platform::IFileSystem& fileSystem() { return files_; }
    std::string root() const { return folder_.path(); }
    void addFile(const std::string& relative, const std::string& text)
    {
        const std::string path = folder_.file(relative);
        const std::size_t cut = relative.find_last_of('\\');
        if (cut != std::string::npos)
            addFolder(relative.substr(0, cut));
        writeWholeFile(path, text);
    }
    // Each level of the folder, as deep and long as it is.
    void addFolder(const std::string& relative)
    {
        for (std::size_t cut = relative.find('\\'); cut != std::string::npos; cut = relative.find('\\', cut + 1))
            ::CreateDirectoryW(kernelPath(folder_.file(relative.substr(0, cut))).c_str(), nullptr);
        ::CreateDirectoryW(kernelPath(folder_.file(relative)).c_str(), nullptr);
    }
    void makeReadOnly(const std::string& relative)
    {
        ::SetFileAttributesW(kernelPath(folder_.file(relative)).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    std::string addFileLink(const std::string& relative, const std::string& target)
    {
        return makeLink(folder_.file(relative), folder_.file(target), false);
    }
    std::string addFolderLink(const std::string& relative, const std::string& target)
    {
        return makeLink(folder_.file(relative), folder_.file(target), true);
    }
    bool has(const std::string& relative) const
    {
        return ::GetFileAttributesW(kernelPath(folder_.file(relative)).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string hold(const std::string& relative)
    {
        held_.emplace_back(::CreateFileW(kernelPath(folder_.file(relative)).c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
        return held_.back() ? "" : "the file could not be opened";
    }

private:
    ScratchFolder folder_;
    Win32FileSystem files_;
    std::vector<ScopedFile> held_; // closed before the folder goes
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Windows, FileSystemContract, Win32FileSystemWorld, WorldNames);
