// The file-system service on a POSIX host, with Windows path rules: the backslash
// separates, one drive ("C:") stands for a folder given at construction, and a
// search matches the last path element like the Windows file search (case-blind
// "*" and "?", "*.*" matching every name). For integration tests and benchmarks
// of the real walking and deleting code on real files. One thread at a time.
// One class in four files: PosixFileSystem.cpp (set-up, host and final paths),
// PosixFileDeletes.cpp, PosixFileListing.cpp, PosixFileReads.cpp.
#pragma once

#include "platform/FileSystem.h"

#include <sys/types.h>

class PosixFileSystem final : public platform::IFileSystem {
public:
    // driveFolder: the host folder that the drive's root stands for.
    explicit PosixFileSystem(std::string driveFolder, char drive = 'C');

    void findFiles(const std::string& pattern, const std::function<bool(const platform::FindEntry&)>& visit) override;
    std::uint32_t attributes(const std::string& path) override;
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override;
    // A folder's real path on the drive; empty when it lies off the drive.
    std::string finalPath(const std::string& folder) override;
    // A link (which the search shows as a reparse point) is never deleted through.
    bool deleteFile(const std::string& folder, const std::string& name) override;
    bool removeDirectory(const std::string& folder, const std::string& name) override;
    bool canDeleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    bool deleteTogether(const std::string& folder, const std::vector<std::string>& names) override;
    platform::FileContent readWholeFile(const std::string& path) override;
    platform::FileContent readFileStart(const std::string& path, std::uint32_t maxBytes) override;
    // The host's current folder in the drive's terms; the drive's root when it
    // lies outside the drive's folder.
    std::string currentDirectory() override;

    // The host path that a Windows path stands for; empty for another drive.
    std::string hostPath(const std::string& path) const;

private:
    // Reads a file from its start: all of it when whole (failing when it is
    // larger than limit or shrinks meanwhile), otherwise at most limit bytes.
    platform::FileContent readFrom(const std::string& path, std::uint32_t limit, bool whole);
    struct Description {
        std::string path;     // as the program names it, when shown by a search
        std::string hostPath; // empty: nothing remembered
        std::uint32_t attributes = 0;
        std::uint32_t sizeLow = 0;
    };
    // The entry at a host path. While a search shows an entry to its visitor,
    // the look taken for the search serves the visitor's delete of that entry,
    // so a munched cookie is looked at once; it is forgotten when the visitor
    // returns or changes something.
    bool describe(const std::string& hostPath, const std::string& name, Description& found);
    // The entry listed as name in folder (any letter case, as Windows finds
    // it), when it is no link and the folder is its own final path.
    bool describeListed(const std::string& folder, const std::string& name, Description& found);
    // Whether a folder is where its final path is (no link on the way); the
    // last folder found so is remembered while it stays that very folder.
    bool isFinalFolder(const std::string& folder);
    // The name stored in a host folder that is name in another letter case; empty when none.
    std::string storedName(const std::string& hostFolder, const std::string& name) const;
    // The listed entry, when deleteFile may delete it: a file, no link, not read-only.
    bool describeDeletableFile(const std::string& folder, const std::string& name, Description& found);
    // Each listed file by describeDeletableFile; false when one is not (or none is named).
    bool describeTogether(const std::string& folder, const std::vector<std::string>& names,
                          std::vector<Description>& found);
    // The entry a search is showing, when path names it as the program does.
    const Description* shown(const std::string& path) const
    {
        return !last_.hostPath.empty() && path == last_.path ? &last_ : nullptr;
    }

    // A path inside the folder being listed is reached through the listing's
    // open folder, as find does, instead of being looked up from the root.
    struct Relative {
        int folder;
        const char* path;
    };
    Relative relative(const std::string& hostPath) const;

    std::string driveFolder_;
    char drive_;
    Description last_;
    struct CheckedFolder {
        std::string folder;
        dev_t device = 0;
        ino_t inode = 0;
    } checked_;
    struct Listing {
        std::string folder; // with its trailing slash; empty when none is listed
        int fd = -1;
    } listing_;
};
