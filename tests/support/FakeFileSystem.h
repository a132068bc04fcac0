// A file system held in memory: drives of folders and files with attribute words
// and contents, files that are held open by someone else, links (and drives
// mapped onto a folder) followed as Wine follows them, Windows path rules
// (backslashes, letter case ignored, "*" and "?" in the last element, the
// "\\?\", "\??\" and "\\.\" forms of a drive path).
#pragma once

#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "support/FakeService.h"

#include <map>
#include <memory>
#include <optional>

class FakeFileSystem final : public platform::IFileSystem, public FakeService {
public:
    FakeFileSystem();
    ~FakeFileSystem() override;

    void findFiles(const std::string& pattern, const std::function<bool(const platform::FindEntry&)>& visit) override;
    std::uint32_t attributes(const std::string& path) override;
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override;
    std::string finalPath(const std::string& folder) override;
    bool deleteFile(const std::string& folder, const std::string& name) override;
    bool removeDirectory(const std::string& folder, const std::string& name) override;
    bool canDeleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    bool deleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    platform::FileContent readWholeFile(const std::string& path) override;
    platform::FileContent readFileStart(const std::string& path, std::uint32_t maxBytes) override;
    std::string currentDirectory() override;

    // Set-up and inspection for tests, bypassing the call log and the faults.
    // Missing parent folders are made on the way.
    void addFolder(const std::string& path, std::uint32_t attributes = platform::faDirectory);
    void addFile(const std::string& path, const std::string& contents = {},
                 std::uint32_t attributes = platform::faArchive);
    // A link to target (which need not exist). Wine lists a link to a file as a
    // plain file, so that is the default; a link to a folder lists as a folder
    // and a reparse point.
    void addLink(const std::string& path, const std::string& target,
                 std::uint32_t attributes = platform::faArchive);
    // A drive whose root is the folder target.
    void mapDrive(char drive, const std::string& target);
    void setAttributes(const std::string& path, std::uint32_t attributes);
    // Takes an entry away, whatever it is.
    void erase(const std::string& path);
    // A folder's time stays put, as a coarse clock leaves it, when set back to what it was.
    void setLastWriteTime(const std::string& path, std::uint64_t time);
    std::optional<std::uint64_t> lastWriteTimeOf(const std::string& path) const;
    // Held open by another program: it cannot be deleted and, unless shared for
    // reading, not read either (a sharing violation).
    void lock(const std::string& path, bool sharedForReading = true);
    // The other program lets go of it.
    void unlock(const std::string& path);
    bool exists(const std::string& path) const;
    std::optional<std::string> contents(const std::string& path) const;
    // Names in a folder, in the file system's order.
    std::vector<std::string> list(const std::string& folder) const;

    std::string currentDir = "C:\\";
    // The system error that a read failed by the fault plan reports.
    std::uint32_t readFaultError = platform::errorAccessDenied;

private:
    struct Node;
    platform::FileContent read(const char* operation, std::vector<std::string> args, const std::string& path,
                               std::uint32_t maxBytes);
    // The entry a path names, links on the way followed (and at its end, when
    // followLast), its parent folder, and its final path.
    Node* resolve(const std::string& path, Node** parent = nullptr, bool followLast = false,
                  std::string* final = nullptr, int depth = 0) const;
    // The entry a search of folder showed as name, when it is that very entry.
    Node* listed(const std::string& folder, const std::string& name, Node** parent) const;
    // The listed entry, when deleteFile may delete it.
    Node* deletableFile(const std::string& folder, const std::string& name, Node** parent) const;
    // Each listed file with its folder, or none when one of them may not be deleted or is named twice.
    std::vector<std::pair<Node*, Node*>> deletableTogether(const std::string& folder,
                                                           const std::vector<std::string>& names) const;
    Node& make(const std::string& path, bool folder, std::uint32_t attributes);
    void remove(Node& parent, const Node& child);

    std::map<char, std::unique_ptr<Node>> drives_;
    std::uint64_t clock_ = 0;
};
