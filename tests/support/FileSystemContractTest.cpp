// The file-system contract against the in-memory fake and the POSIX file system.
#include "contracts/FileSystemContract.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FakeFileSystem.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

class FakeFileSystemWorld {
public:
    static constexpr const char* name = "Fake";
    platform::IFileSystem& fileSystem() { return files_; }
    std::string root() const { return "C:\\T"; }
    void addFile(const std::string& relative, const std::string& text) { files_.addFile(full(relative), text); }
    void addFolder(const std::string& relative) { files_.addFolder(full(relative)); }
    void makeReadOnly(const std::string& relative)
    {
        files_.setAttributes(full(relative), platform::faArchive | platform::faReadOnly);
    }
    std::string hold(const std::string& relative)
    {
        files_.lock(full(relative), false);
        return {};
    }
    std::string addFileLink(const std::string& relative, const std::string& target)
    {
        files_.addLink(full(relative), full(target));
        return {};
    }
    std::string addFolderLink(const std::string& relative, const std::string& target)
    {
        files_.addLink(full(relative), full(target), platform::faDirectory);
        return {};
    }
    bool has(const std::string& relative) const { return files_.exists(full(relative)); }

private:
    std::string full(const std::string& relative) const { return root() + "\\" + relative; }
    FakeFileSystem files_;
};

namespace fs = std::filesystem;

// A fresh host folder that stands for drive C:.
class PosixFileSystemWorld {
public:
    static constexpr const char* name = "Posix";
    PosixFileSystemWorld()
    {
        char pattern[] = "/tmp/nomblet-contract-XXXXXX";
        if (::mkdtemp(pattern))
            folder_ = pattern;
        files_ = std::make_unique<PosixFileSystem>(folder_.string());
    }
    ~PosixFileSystemWorld()
    {
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(folder_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }

    platform::IFileSystem& fileSystem() { return *files_; }
    std::string root() const { return "C:"; }
    void addFile(const std::string& relative, const std::string& text)
    {
        fs::create_directories(host(relative).parent_path());
        std::ofstream(host(relative), std::ios::binary) << text;
    }
    void addFolder(const std::string& relative) { fs::create_directories(host(relative)); }
    void makeReadOnly(const std::string& relative)
    {
        fs::permissions(host(relative), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
    }
    std::string hold(const std::string&) { return "POSIX removes a file that others hold open"; }
    std::string addFileLink(const std::string& relative, const std::string& target)
    {
        std::error_code failed;
        fs::create_symlink(host(target), host(relative), failed);
        return failed ? failed.message() : std::string();
    }
    std::string addFolderLink(const std::string& relative, const std::string& target)
    {
        std::error_code failed;
        fs::create_directory_symlink(host(target), host(relative), failed);
        return failed ? failed.message() : std::string();
    }
    bool has(const std::string& relative) const
    {
        std::error_code ignored;
        return fs::exists(fs::symlink_status(host(relative), ignored));
    }

private:
    fs::path host(std::string relative) const
    {
        for (char& c : relative)
            if (c == '\\')
                c = '/';
        return folder_ / relative;
    }
    fs::path folder_;
    std::unique_ptr<PosixFileSystem> files_;
};

} // namespace

using FileSystemWorlds = testing::Types<FakeFileSystemWorld, PosixFileSystemWorld>;
INSTANTIATE_TYPED_TEST_SUITE_P(Native, FileSystemContract, FileSystemWorlds, WorldNames);
