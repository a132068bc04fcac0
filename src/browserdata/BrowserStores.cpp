// The cookie stores of today's browsers.
#include "browserdata/BrowserStores.h"

#include "platform/PathChars.h"
#include "platform/PathText.h"

#include <algorithm>
#include <set>
#include <vector>

namespace {

using platform::ShellFolder;

constexpr TBrowserFamily families[] = {
    {"Firefox", ShellFolder::RoamingAppData, "Mozilla\\Firefox", TBrowserKind::bkMozilla, "Firefox"},
    {"LibreWolf", ShellFolder::RoamingAppData, "librewolf", TBrowserKind::bkMozilla, "LibreWolf"},
    {"Waterfox", ShellFolder::RoamingAppData, "Waterfox", TBrowserKind::bkMozilla, "Waterfox"},
    {"Pale Moon", ShellFolder::RoamingAppData, "Moonchild Productions\\Pale Moon", TBrowserKind::bkMozilla, "Pale Moon"},
    {"SeaMonkey", ShellFolder::RoamingAppData, "Mozilla\\SeaMonkey", TBrowserKind::bkMozilla, "SeaMonkey"},
    {"Google Chrome", ShellFolder::LocalAppData, "Google\\Chrome\\User Data", TBrowserKind::bkChromium, "Chrome"},
    {"Microsoft Edge", ShellFolder::LocalAppData, "Microsoft\\Edge\\User Data", TBrowserKind::bkChromium, "Edge"},
    {"Brave", ShellFolder::LocalAppData, "BraveSoftware\\Brave-Browser\\User Data", TBrowserKind::bkChromium, "Brave"},
    {"Vivaldi", ShellFolder::LocalAppData, "Vivaldi\\User Data", TBrowserKind::bkChromium, "Vivaldi"},
    {"Chromium", ShellFolder::LocalAppData, "Chromium\\User Data", TBrowserKind::bkChromium, "Chromium"},
    {"Yandex Browser", ShellFolder::LocalAppData, "Yandex\\YandexBrowser\\User Data", TBrowserKind::bkChromium, "Yandex"},
    {"Opera", ShellFolder::RoamingAppData, "Opera Software\\Opera Stable", TBrowserKind::bkChromiumOneProfile, "Opera"},
    {"Opera GX", ShellFolder::RoamingAppData, "Opera Software\\Opera GX Stable",
     TBrowserKind::bkChromiumOneProfile, "Opera GX"},
};

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "[Profile0]", "[Profile12]" in any letter case; not "[ProfileX]" or "[Install...]".
bool isProfileSection(std::string_view name)
{
    constexpr std::string_view prefix = "profile";
    if (name.size() <= prefix.size() || !platform::sameIgnoringCase(name.substr(0, prefix.size()), prefix))
        return false;
    name.remove_prefix(prefix.size());
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a search for exactly this path finds a folder.
bool isFolder(platform::IFileSystem& files, const std::string& path)
{
    bool folder = false;
    files.findFiles(path, [&](const platform::FindEntry& entry) {
        folder = (entry.attributes & platform::faDirectory) != 0;
        return false;
    });
    return folder;
}

// The folders directly in a folder, as full paths; a link to one is not followed.
void addSubfolders(platform::IFileSystem& files, platform::ICodePage& codePage, const std::string& folder,
                   std::vector<std::string>& into)
{
    files.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
        if ((entry.attributes & platform::faDirectory) != 0 && platform::isOwnEntry(&codePage, entry))
            into.push_back(folder + "\\" + entry.name);
        return true;
    });
}

// Whether a folder holds a file of that name.
bool holdsFile(platform::IFileSystem& files, const std::string& folder, const char* name)
{
    const std::uint32_t attributes = files.attributes(folder + "\\" + name);
    return attributes != platform::invalidAttributes && (attributes & platform::faDirectory) == 0;
}

// A profile's folder; named by profiles.ini, it may lie anywhere, even
// through links. Otherwise it is a folder of the family's own (no link).
struct Profile {
    std::string path;
    bool named;
};

std::vector<Profile> profilesOf(platform::IFileSystem& files, platform::ICodePage& codePage, const TBrowserFamily& family,
                                const std::string& root)
{
    std::vector<std::string> profiles;
    std::size_t named = 0;
    switch (family.Kind) {
    case TBrowserKind::bkMozilla: {
        const platform::FileContent ini = files.readFileStart(root + "\\profiles.ini", ProfilesIniLimit);
        if (ini.ok)
            profiles = ProfilesIniPaths(std::string_view(reinterpret_cast<const char*>(ini.bytes.data()), ini.bytes.size()),
                                        root);
        named = profiles.size();
        addSubfolders(files, codePage, root + "\\Profiles", profiles);
        break;
    }
    case TBrowserKind::bkChromium:
        // Beside its profiles the folder holds caches and other folders of the
        // browser's own; only a profile holds its settings.
        addSubfolders(files, codePage, root, profiles);
        std::erase_if(profiles, [&](const std::string& profile) { return !holdsFile(files, profile, "Preferences"); });
        break;
    case TBrowserKind::bkChromiumOneProfile:
        profiles.push_back(root);
        break;
    }
    // profiles.ini and the Profiles folder usually name the same folders: each is looked at once.
    std::set<std::string> seen;
    std::vector<Profile> unique;
    for (std::size_t i = 0; i < profiles.size(); ++i)
        if (seen.insert(platform::asciiLowered(profiles[i])).second)
            unique.push_back({std::move(profiles[i]), i < named});
    return unique;
}

void addStores(TBrowserKind kind, const std::string& profile, std::vector<TCookieStore>& stores)
{
    if (kind == TBrowserKind::bkMozilla) {
        stores.push_back({profile, "cookies.sqlite"});
        return;
    }
    stores.push_back({profile + "\\Network", "Cookies"});
    stores.push_back({profile, "Cookies"}); // before version 96
    stores.push_back({profile, "Extension Cookies"});
}

} // namespace

std::span<const TBrowserFamily> BrowserFamilies()
{
    return families;
}

std::string ResolvedPath(const std::string& path)
{
    // What ".." never climbs above: a drive ("C:"), or a network path's server and share.
    std::string head;
    std::size_t at = 0;
    std::size_t fixed = 0;
    if (path.rfind("\\\\?\\", 0) == 0)
        head = "\\\\?\\", at = 4;
    if (path.size() >= at + 2 && path[at + 1] == ':') {
        head += path.substr(at, 2), at += 2;
    } else if (at == 4 && platform::sameIgnoringCase(path.substr(4, 4), "UNC\\")) {
        head += path.substr(4, 3), at += 3, fixed = 2;
    } else if (at == 0 && path.size() >= 2 && platform::isSeparator(path[0]) && platform::isSeparator(path[1])) {
        head = "\\", at = 1, fixed = 2;
    }
    std::vector<std::string> elements;
    std::string element;
    const auto endElement = [&] {
        if (element == "..") {
            if (elements.size() > fixed)
                elements.pop_back();
        } else if (!element.empty() && element != ".") {
            elements.push_back(element);
        }
        element.clear();
    };
    for (std::size_t i = at; i < path.size(); ++i) {
        if (platform::isSeparator(path[i]))
            endElement();
        else
            element += path[i];
    }
    endElement();
    std::string resolved = head;
    for (const std::string& e : elements)
        resolved += "\\" + e;
    return elements.empty() ? resolved + "\\" : resolved;
}

std::vector<std::string> ProfilesIniPaths(std::string_view text, const std::string& root)
{
    std::vector<std::string> paths;
    bool inProfile = false;
    std::string path;
    std::string isRelative;
    const auto endSection = [&] {
        if (inProfile && !path.empty()) {
            std::replace(path.begin(), path.end(), '/', '\\');
            while (path.size() > 1 && platform::isSeparator(path.back()) && path[path.size() - 2] != ':')
                path.pop_back();
            const bool relative = isRelative.empty() ? !platform::isAbsolute(path) : isRelative != "0";
            paths.push_back(ResolvedPath(relative ? root + "\\" + path : path));
        }
        path.clear();
        isRelative.clear();
    };
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            endSection();
            const std::size_t close = line.find(']');
            inProfile = close != std::string_view::npos && isProfileSection(trimmed(line.substr(1, close - 1)));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inProfile || equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (platform::sameIgnoringCase(key, "Path"))
            path = value;
        else if (platform::sameIgnoringCase(key, "IsRelative"))
            isRelative = value;
    }
    endSection();
    return paths;
}

std::vector<TFoundBrowser> FindBrowsers(platform::IFileSystem& files, platform::IFolders& folders,
                                        platform::ICodePage& codePage,
                                        const std::function<bool(const std::string&)>& refused)
{
    // Each root asked for once per search, and only when a family needs it.
    struct Root {
        bool asked = false;
        std::string named;
        bool localFixed = false;
    };
    Root roaming;
    Root local;
    const auto rootOf = [&](ShellFolder folder) -> const Root& {
        Root& root = folder == ShellFolder::LocalAppData ? local : roaming;
        if (!root.asked) {
            root.named = folders.shellFolder(folder);
            root.localFixed = !root.named.empty() && folders.driveKind(root.named) == platform::DriveKind::Fixed;
        }
        root.asked = true;
        return root;
    };
    // Whether the ticks may look at a profile. Where the application data is
    // on a local disk, a profile named on a share or a removable drive could
    // hold every tick for the network's time-out or ask for a disk: it is
    // dropped before anything of it is looked at. Where the application data
    // itself is on a share, its profiles are there too. No profile may be a
    // folder the program must never empty; one of the family's own folders
    // lies where its path says.
    const auto mayLookAt = [&](const Root& root, const Profile& profile) {
        if (!profile.named)
            return !refused(profile.path);
        const bool onRootsDrive = profile.path.size() >= 2 && profile.path[1] == ':' &&
                                  platform::sameIgnoringCase(profile.path.substr(0, 2), root.named.substr(0, 2));
        if (root.localFixed && !onRootsDrive && folders.driveKind(profile.path) != platform::DriveKind::Fixed)
            return false;
        const std::string final = files.finalPath(profile.path);
        return !refused(final.empty() ? profile.path : final);
    };

    std::vector<TFoundBrowser> found;
    for (std::size_t i = 0; i < std::size(families); ++i) {
        const TBrowserFamily& family = families[i];
        const Root& base = rootOf(family.Root);
        if (base.named.empty())
            continue;
        const std::string root = base.named + "\\" + family.Folder;
        if (!isFolder(files, root))
            continue;
        TFoundBrowser browser{i, {}, root, {}};
        for (const Profile& profile : profilesOf(files, codePage, family, root))
            if (mayLookAt(base, profile)) {
                addStores(family.Kind, profile.path, browser.Stores);
                browser.Profiles.push_back(profile.path);
            }
        found.push_back(std::move(browser));
    }
    return found;
}

TStoreLook LookAtStore(platform::IFileSystem& files, const TCookieStore& store)
{
    TStoreLook look;
    bool companionStays = false;
    const auto plainFile = [](std::uint32_t attributes) {
        return (attributes & (platform::faDirectory | platform::faReadOnly | platform::faReparsePoint)) == 0;
    };
    // One search shows the store and its companions ("Cookies*" also shows
    // "Cookies-journal"); other names it shows are no concern of ours.
    files.findFiles(store.Folder + "\\" + store.Name + "*", [&](const platform::FindEntry& entry) {
        const std::string_view name = entry.name;
        if (platform::sameIgnoringCase(name, store.Name)) {
            look.StorePresent = true;
            look.StoreDeletable = plainFile(entry.attributes);
            look.StoreName = entry.name;
        } else if (name.size() > store.Name.size() &&
                   platform::sameIgnoringCase(name.substr(0, store.Name.size()), store.Name) &&
                   std::any_of(std::begin(StoreCompanionSuffixes), std::end(StoreCompanionSuffixes),
                               [&](std::string_view suffix) {
                                   return platform::sameIgnoringCase(name.substr(store.Name.size()), suffix);
                               })) {
            if (plainFile(entry.attributes))
                look.Companions.push_back(entry.name);
            else
                companionStays = true;
        }
        return true;
    });
    // A companion that cannot go (read-only, a link) keeps its store: a log
    // or journal left without its database would be paired with a new one.
    if (companionStays)
        look.StoreDeletable = false;
    return look;
}
