// The file-system service: folder searches, attributes, deletion and whole-file
// reads. Paths are ANSI byte strings with backslashes. UI thread only.
// Nothing here throws; failures come back as results.
#pragma once

#include "platform/PathText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Attribute bits of an entry.
constexpr std::uint32_t faReadOnly = 0x01;
constexpr std::uint32_t faHidden = 0x02;
constexpr std::uint32_t faSysFile = 0x04;
constexpr std::uint32_t faVolumeID = 0x08;
constexpr std::uint32_t faDirectory = 0x10;
constexpr std::uint32_t faArchive = 0x20;
// A link (symbolic link, junction): a folder walk lists it but never enters it.
constexpr std::uint32_t faReparsePoint = 0x400;
// What a failed attribute query gives: every bit set.
constexpr std::uint32_t invalidAttributes = 0xFFFFFFFFu;

struct FindEntry {
    std::string name;          // as the file system gives it, without the folder
    std::uint32_t attributes;  // the attribute word
    std::uint32_t sizeLow;     // the low 32 bits of the size
};

// Whether a walk may take a listed entry as one of its folder's own: a listed
// name (not ".", "..", nor one that reaches elsewhere) and no link.
inline bool isOwnEntry(const FindEntry& entry)
{
    return isListedName(entry.name) && (entry.attributes & faReparsePoint) == 0;
}

struct FileContent {
    bool ok = false;
    std::uint32_t error = 0;          // the system's error code when not ok
    std::vector<std::uint8_t> bytes;  // the whole file when ok
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Visits every entry that a search for pattern (a folder path and a wildcard
    // name, or one exact path) finds, in the file system's order, as it finds
    // them: nothing is collected. visit returns false to end the search early.
    // Entries may be deleted while the search runs.
    virtual void findFiles(const std::string& pattern, const std::function<bool(const FindEntry&)>& visit) = 0;

    // The attribute word of a path, or invalidAttributes when the query fails.
    virtual std::uint32_t attributes(const std::string& path) = 0;

    // When an entry was last written, in the system's own units, or nothing
    // when the query fails. A folder's changes whenever an entry in it is made,
    // removed or renamed; a folder that exists is asked for without reading it.
    // A link gives nothing: its own time says nothing of the folder it leads to.
    virtual std::optional<std::uint64_t> lastWriteTime(const std::string& path) = 0;

    // Where a folder really is, through links, mapped or substituted drives and
    // every prefix form: "C:\..." or "\\server\share\..."; empty when it cannot
    // be opened (or has no exact ANSI form). Where the platform cannot tell
    // (before Windows Vista, which has no file links), its full long path.
    virtual std::string finalPath(const std::string& folder) = 0;

    // Deletes the file that a search of folder (a final path, or one built
    // from a final path and listed names) showed as name, and only that entry:
    // the name goes whole (a trailing dot or blank, a device's name), and an
    // entry whose own final path is elsewhere, such as a link, is left alone.
    // False when nothing was deleted: a link, a folder, a read-only or held
    // file, or nothing there.
    virtual bool deleteFile(const std::string& folder, const std::string& name) = 0;
    // The same for a folder, removed only when it is empty.
    virtual bool removeDirectory(const std::string& folder, const std::string& name) = 0;

    // Whether every one of names (files a search of folder showed, each listed
    // once) can be opened for deletion now, each by deleteFile's rule: that
    // entry, its name whole, not a link, a folder, read-only or held by
    // another program without delete sharing. Nothing stays open afterwards.
    virtual bool canDeleteTogether(const std::string& folder, const std::vector<std::string>& names) = 0;
    // Opens each of them for deletion by that rule and deletes them all only
    // once every one is open; otherwise none is touched and false comes back,
    // as it does for no names. A database goes with its journals or not at all.
    virtual bool deleteTogether(const std::string& folder, const std::vector<std::string>& names) = 0;

    // The whole content of an existing file, opened read-only while sharing both
    // reading and writing with others, read with one block read of its exact size.
    virtual FileContent readWholeFile(const std::string& path) = 0;
    // The first maxBytes bytes of an existing file (all of it when shorter),
    // opened as readWholeFile opens it: for files that may be of any size.
    virtual FileContent readFileStart(const std::string& path, std::uint32_t maxBytes) = 0;

    virtual std::string currentDirectory() = 0;
};

} // namespace platform
