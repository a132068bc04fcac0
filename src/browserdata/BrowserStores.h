// The cookie stores of today's browsers: the families Nomblet knows, where each
// keeps its profiles under the user's application data, and the store files of
// each profile. Finding them reads folders and profiles.ini only; nothing here
// deletes. UI thread only.
#pragma once

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Folders.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class TBrowserKind {
    bkMozilla,           // profiles named in profiles.ini and kept in its Profiles folder
    bkChromium,          // every folder in its User Data folder is a profile
    bkChromiumOneProfile // its folder is the one profile
};

struct TBrowserFamily {
    const char* Caption;        // the menu row and the settings key
    platform::ShellFolder Root; // roaming or local application data
    const char* Folder;         // below that root
    TBrowserKind Kind;
    const char* ShortName;      // how the menu names it beside a site its exceptions keep
};

// The families, in the menu's order.
std::span<const TBrowserFamily> BrowserFamilies();

// One cookie database: its folder and its file name. Its companions are the
// name followed by each of StoreCompanionSuffixes.
struct TCookieStore {
    std::string Folder;
    std::string Name;
    bool operator==(const TCookieStore&) const = default;
};

inline constexpr std::string_view StoreCompanionSuffixes[] = {"-wal", "-shm", "-journal"};

// A family found on this machine, with the stores of all its profiles (found or not yet made).
struct TFoundBrowser {
    std::size_t Family; // index into BrowserFamilies()
    std::vector<TCookieStore> Stores;
    std::string Root;                  // the family's folder: Chromium's User Data, Mozilla's profiles.ini folder
    std::vector<std::string> Profiles; // each profile's folder
    bool operator==(const TFoundBrowser&) const = default;
};

// profiles.ini is read up to this many bytes; the rest is left unread.
inline constexpr std::uint32_t ProfilesIniLimit = 64 * 1024;

// A path with "." and ".." taken away and separators made single, as the
// system reads it: ".." never climbs above a drive's root or a network path's
// share. A drive's root keeps its backslash.
std::string ResolvedPath(const std::string& path);

// The profile folders that a Mozilla profiles.ini names: each [ProfileN]
// section's Path, below root when IsRelative=1 (or, without IsRelative, when
// the path is not absolute), resolved once. Broken text gives what it can.
std::vector<std::string> ProfilesIniPaths(std::string_view text, const std::string& root);

// The families installed for this user and their stores, in the families' order.
// A Chromium folder is a profile only when it holds Preferences. A profile is
// dropped, before anything in it is looked at, when it is on a network or
// removable drive while the family's application data is on a local disk,
// and when refused says so of its final path (its path, when it has none).
// Folder names are read by characters of the code page.
std::vector<TFoundBrowser> FindBrowsers(platform::IFileSystem& files, platform::IFolders& folders,
                                        platform::ICodePage& codePage,
                                        const std::function<bool(const std::string&)>& refused);

// What one search for a store and its companions shows.
struct TStoreLook {
    bool StorePresent = false;   // an entry of the store's name, whatever it is
    bool StoreDeletable = false; // that entry and every companion are plain files: not folders, read-only or links
    std::string StoreName;       // as listed
    std::vector<std::string> Companions; // plain files, as listed
};

// One search of the store's folder for the store's name and its companions.
TStoreLook LookAtStore(platform::IFileSystem& files, const TCookieStore& store);
