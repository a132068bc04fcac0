// TFileFinder: lists the entries of a folder, or of a folder and every folder
// below it (breadth-first), whose names match a wildcard filter and whose
// attributes pass an attribute mask, as full paths in Files. Links (symbolic
// links, junctions, other reparse points) are never listed and never entered,
// so a walk ends and nothing outside the tree is reached through one.
// UI thread only; errors raised by event handlers reach the caller of Execute.
#pragma once

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "toolkit/Component.h"

#include <cstdint>
#include <string>
#include <vector>

enum TAttrOption : unsigned { ffReadOnly, ffHidden, ffSystem, ffVolumeID, ffDirectory, ffArchive };
// A set of attribute options: bit n stands for the n-th option, which is also
// the attribute bit it selects.
using TAttrOptions = std::uint8_t;
constexpr TAttrOptions operator+(TAttrOption option)
{
    return static_cast<TAttrOptions>(1u << option);
}

using TNewPathEvent = TEvent<const std::string& /*NewPath*/, bool& /*Abort*/>;

class TFileFinder : public TComponent {
public:
    // codePage: the code page, for telling a backslash from the trail byte of a
    // double-byte character.
    TFileFinder(TComponent* owner, platform::IFileSystem& fileSystem, platform::ICodePage& codePage);

    bool Recurse = false;
    std::string Directory;
    std::string Filter = "*.*";
    TAttrOptions Attributes = +ffReadOnly | +ffHidden | +ffSystem | +ffArchive;
    TNotifyEvent BeforeExecute;
    TNotifyEvent AfterExecute;
    // Raised before each folder is searched (in a walk, once its subfolders
    // are queued); a handler that sets Abort skips that folder and ends the
    // walk, and the flag stays set for later runs.
    TNewPathEvent OnNewPath;

    // Folder path (one backslash) and name of every entry found, folders
    // before their contents, in the order found.
    const std::vector<std::string>& Files() const { return files_; }
    // The attribute word each entry of Files was listed with, in the same order:
    // what it was when found, so a caller knows a folder from a file unasked.
    const std::vector<std::uint32_t>& FileAttributes() const { return attributes_; }
    // Sum of the low size words of the entries found; wraps.
    std::int32_t TotalSize() const { return static_cast<std::int32_t>(totalSize_); }
    // Entries whose attribute word is exactly that of a plain folder.
    std::int32_t DirCount() const { return dirCount_; }
    std::int32_t FileCount() const { return fileCount_; }

    virtual void Execute();

private:
    // Searches one folder; when subfolders is given, appends to it the folders
    // to walk next. False when the abort flag ended the search.
    bool searchFolder(std::string path, std::uint32_t mask, std::vector<std::string>* subfolders);
    void walk(const std::string& root, std::uint32_t mask);
    std::string withBackslash(const std::string& path);

    platform::IFileSystem& fileSystem_;
    platform::ICodePage& codePage_;
    std::vector<std::string> files_;
    std::vector<std::uint32_t> attributes_;
    std::uint32_t totalSize_ = 0;
    std::int32_t dirCount_ = 0;
    std::int32_t fileCount_ = 0;
    bool abort_ = false;
};
