// The in-memory file system.
#include "support/FakeFileSystem.h"

#include "platform/Errors.h"
#include "platform/PathText.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <utility>

using platform::faDirectory;
using platform::faReadOnly;

struct FakeFileSystem::Node {
    std::string name;
    std::uint32_t attributes = 0;
    std::string contents;
    std::string target; // a link's: what it points at
    bool locked = false;
    bool unreadable = false;
    std::uint64_t written = 0; // a folder's moves when an entry is made or removed in it
    std::vector<std::unique_ptr<Node>> children; // in the file system's order

    bool isFolder() const { return (attributes & faDirectory) != 0; }
    Node* child(const std::string& wanted) const
    {
        for (const auto& c : children)
            if (platform::sameIgnoringCase(c->name, wanted))
                return c.get();
        return nullptr;
    }
};

namespace {

struct Parsed {
    char drive;
    std::vector<std::string> elements;
};

std::vector<std::string> split(const std::string& path)
{
    std::vector<std::string> elements;
    std::string current;
    for (char c : path) {
        if (c == '\\') {
            if (!current.empty())
                elements.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        elements.push_back(current);
    return elements;
}

// A drive path in a prefix form ("\\?\C:\", "\??\C:\", "\\.\C:\") without it.
std::string withoutDrivePrefix(const std::string& path)
{
    const bool prefixed = path.size() >= 6 && (path.compare(0, 4, "\\\\?\\") == 0 ||
                                               path.compare(0, 4, "\\??\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0);
    return prefixed && path[5] == ':' ? path.substr(4) : path;
}

// Drive and elements of a path, relative ones taken from the current folder.
Parsed parse(const std::string& path, const std::string& currentDir)
{
    std::string full = withoutDrivePrefix(path);
    if (full.size() < 2 || full[1] != ':')
        full = (!full.empty() && full[0] == '\\') ? currentDir.substr(0, 2) + full : currentDir + "\\" + full;
    Parsed parsed{static_cast<char>(std::toupper(static_cast<unsigned char>(full[0]))), {}};
    for (std::string& element : split(full.substr(2))) {
        if (element == ".")
            continue;
        if (element == "..") {
            if (!parsed.elements.empty())
                parsed.elements.pop_back();
            continue;
        }
        parsed.elements.push_back(std::move(element));
    }
    return parsed;
}

// Links followed one after another before the path counts as a loop.
constexpr int linkLimit = 32;

} // namespace

FakeFileSystem::FakeFileSystem()
{
    drives_['C'] = std::make_unique<Node>();
    drives_['C']->attributes = faDirectory;
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::resolve(const std::string& path, Node** parent, bool followLast,
                                              std::string* final, int depth) const
{
    if (parent)
        *parent = nullptr;
    if (path.empty() || depth > linkLimit)
        return nullptr;
    Parsed parsed = parse(path, currentDir);
    auto drive = drives_.find(parsed.drive);
    if (drive == drives_.end())
        return nullptr;
    // What is left of the path once a link takes over from an element.
    auto rest = [&](std::size_t from) {
        std::string remaining;
        for (std::size_t j = from; j < parsed.elements.size(); ++j)
            remaining += "\\" + parsed.elements[j];
        return remaining;
    };
    Node* node = drive->second.get();
    if (!node->target.empty())
        return resolve(node->target + rest(0), parent, followLast, final, depth + 1);
    std::string reached = std::string(1, parsed.drive) + ":";
    for (std::size_t i = 0; i < parsed.elements.size(); ++i) {
        const bool last = i + 1 == parsed.elements.size();
        if (!node->isFolder())
            return nullptr;
        if (parent && last)
            *parent = node; // the folder that holds, or would hold, the entry
        node = node->child(parsed.elements[i]);
        if (!node)
            return nullptr;
        reached += "\\" + node->name;
        if (!node->target.empty() && (!last || followLast))
            return resolve(node->target + rest(i + 1), parent, followLast, final, depth + 1);
    }
    if (final)
        *final = parsed.elements.empty() ? reached + "\\" : reached;
    return node;
}

FakeFileSystem::Node& FakeFileSystem::make(const std::string& path, bool folder, std::uint32_t attributes)
{
    Parsed parsed = parse(path, currentDir);
    auto& root = drives_[parsed.drive];
    if (!root) {
        root = std::make_unique<Node>();
        root->attributes = faDirectory;
    }
    Node* node = root.get();
    for (std::size_t i = 0; i < parsed.elements.size(); ++i) {
        bool last = i + 1 == parsed.elements.size();
        Node* next = node->child(parsed.elements[i]);
        if (!next) {
            node->children.push_back(std::make_unique<Node>());
            next = node->children.back().get();
            next->name = parsed.elements[i];
            next->attributes = last ? attributes : faDirectory;
            node->written = ++clock_;
        } else if (last) {
            next->attributes = attributes;
        }
        if (!last && !next->isFolder())
            throw std::logic_error("not a folder on the way to " + path);
        node = next;
    }
    if (folder != node->isFolder())
        throw std::logic_error("attributes do not fit the kind of " + path);
    return *node;
}

void FakeFileSystem::remove(Node& parent, const Node& child)
{
    auto& children = parent.children;
    children.erase(std::find_if(children.begin(), children.end(), [&](const auto& c) { return c.get() == &child; }));
    parent.written = ++clock_;
}

void FakeFileSystem::addFolder(const std::string& path, std::uint32_t attributes)
{
    make(path, true, attributes | faDirectory);
}

void FakeFileSystem::addFile(const std::string& path, const std::string& contents, std::uint32_t attributes)
{
    make(path, false, attributes & ~faDirectory).contents = contents;
}

void FakeFileSystem::addLink(const std::string& path, const std::string& target, std::uint32_t attributes)
{
    const bool toFolder = (attributes & faDirectory) != 0;
    make(path, toFolder, toFolder ? attributes | platform::faReparsePoint : attributes).target = target;
}

void FakeFileSystem::mapDrive(char drive, const std::string& target)
{
    auto& root = drives_[static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))];
    root = std::make_unique<Node>();
    root->attributes = faDirectory;
    root->target = target;
}

void FakeFileSystem::erase(const std::string& path)
{
    Node* parent = nullptr;
    Node* node = resolve(path, &parent);
    if (!node || !parent)
        throw std::logic_error("no such entry: " + path);
    remove(*parent, *node);
}

void FakeFileSystem::setAttributes(const std::string& path, std::uint32_t attributes)
{
    Node* node = resolve(path);
    if (!node)
        throw std::logic_error("no such entry: " + path);
    node->attributes = attributes;
}

void FakeFileSystem::setLastWriteTime(const std::string& path, std::uint64_t time)
{
    Node* node = resolve(path);
    if (!node)
        throw std::logic_error("no such entry: " + path);
    node->written = time;
}

std::optional<std::uint64_t> FakeFileSystem::lastWriteTimeOf(const std::string& path) const
{
    const Node* node = resolve(path);
    return node && node->target.empty() ? std::optional<std::uint64_t>(node->written) : std::nullopt;
}

void FakeFileSystem::lock(const std::string& path, bool sharedForReading)
{
    Node* node = resolve(path);
    if (!node)
        throw std::logic_error("no such entry: " + path);
    node->locked = true;
    node->unreadable = !sharedForReading;
}

void FakeFileSystem::unlock(const std::string& path)
{
    Node* node = resolve(path);
    if (!node)
        throw std::logic_error("no such entry: " + path);
    node->locked = false;
    node->unreadable = false;
}

bool FakeFileSystem::exists(const std::string& path) const
{
    return resolve(path) != nullptr;
}

std::optional<std::string> FakeFileSystem::contents(const std::string& path) const
{
    Node* node = resolve(path);
    if (!node || node->isFolder())
        return std::nullopt;
    return node->contents;
}

std::vector<std::string> FakeFileSystem::list(const std::string& folder) const
{
    std::vector<std::string> names;
    if (Node* node = resolve(folder))
        for (const auto& c : node->children)
            names.push_back(c->name);
    return names;
}

void FakeFileSystem::findFiles(const std::string& pattern,
                               const std::function<bool(const platform::FindEntry&)>& visit)
{
    if (record("findFiles", {pattern}))
        return;
    auto [folderPath, namePattern] = platform::splitPath(pattern);
    if (folderPath.empty())
        folderPath = currentDir;
    Node* folder = resolve(folderPath, nullptr, true);
    if (!folder || !folder->isFolder() || namePattern.empty())
        return;

    // The first entry comes with the search's start, each later one with a
    // step of its own ("findNext"), which can fail and end the search.
    bool first = true;
    auto show = [&](const platform::FindEntry& entry) {
        if (!std::exchange(first, false) && step("findNext"))
            return false;
        return visit(entry);
    };
    bool isRoot = parse(folderPath, currentDir).elements.empty();
    if (!isRoot) {
        for (const char* dots : {".", ".."})
            if (platform::windowsWildcardMatch(namePattern, dots) && !show({dots, faDirectory, 0}))
                return;
    }
    // Names first, so that the visitor may delete entries while the search runs.
    std::vector<std::string> names;
    for (const auto& c : folder->children)
        names.push_back(c->name);
    for (const std::string& name : names) {
        Node* node = folder->child(name);
        if (!node || !platform::windowsWildcardMatch(namePattern, node->name))
            continue;
        if (!show({node->name, node->attributes, static_cast<std::uint32_t>(node->contents.size())}))
            return;
        if (!resolve(folderPath, nullptr, true))
            return; // the folder itself went
    }
}

std::uint32_t FakeFileSystem::attributes(const std::string& path)
{
    if (record("attributes", {path}))
        return platform::invalidAttributes;
    Node* node = resolve(path);
    return node ? node->attributes : platform::invalidAttributes;
}

std::optional<std::uint64_t> FakeFileSystem::lastWriteTime(const std::string& path)
{
    if (record("lastWriteTime", {path}))
        return std::nullopt;
    return lastWriteTimeOf(path);
}

std::string FakeFileSystem::finalPath(const std::string& folder)
{
    if (record("finalPath", {folder}))
        return {};
    std::string final;
    return resolve(folder, nullptr, true, &final) ? final : std::string();
}

FakeFileSystem::Node* FakeFileSystem::listed(const std::string& folder, const std::string& name, Node** parent) const
{
    std::string reached;
    Node* node = resolve(folder + "\\" + name, parent, true, &reached);
    // A link, or a folder that is not where it was said to be.
    return node && platform::isEntryOf(reached, folder, name) ? node : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::deletableFile(const std::string& folder, const std::string& name,
                                                    Node** parent) const
{
    Node* node = listed(folder, name, parent);
    return node && !node->isFolder() && !(node->attributes & faReadOnly) && !node->locked ? node : nullptr;
}

bool FakeFileSystem::deleteFile(const std::string& folder, const std::string& name)
{
    if (record("deleteFile", {folder, name}))
        return false;
    Node* parent = nullptr;
    Node* node = deletableFile(folder, name, &parent);
    if (!node)
        return false;
    remove(*parent, *node);
    return true;
}

std::vector<std::pair<FakeFileSystem::Node*, FakeFileSystem::Node*>>
FakeFileSystem::deletableTogether(const std::string& folder, const std::vector<std::string>& names) const
{
    std::vector<std::pair<Node*, Node*>> entries; // each file with its folder
    for (const std::string& name : names) {
        Node* parent = nullptr;
        Node* node = deletableFile(folder, name, &parent);
        if (!node || std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return e.first == node; }))
            return {};
        entries.emplace_back(node, parent);
    }
    return entries;
}

bool FakeFileSystem::canDeleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> args{folder};
    args.insert(args.end(), names.begin(), names.end());
    return !record("canDeleteTogether", std::move(args)) && !deletableTogether(folder, names).empty();
}

bool FakeFileSystem::deleteTogether(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> args{folder};
    args.insert(args.end(), names.begin(), names.end());
    if (record("deleteTogether", std::move(args)))
        return false;
    const auto entries = deletableTogether(folder, names);
    for (const auto& [node, parent] : entries)
        remove(*parent, *node);
    return !entries.empty();
}

bool FakeFileSystem::removeDirectory(const std::string& folder, const std::string& name)
{
    if (record("removeDirectory", {folder, name}))
        return false;
    Node* parent = nullptr;
    Node* node = listed(folder, name, &parent);
    if (!node || !node->isFolder() || !node->children.empty() || (node->attributes & faReadOnly))
        return false;
    remove(*parent, *node);
    return true;
}

platform::FileContent FakeFileSystem::readWholeFile(const std::string& path)
{
    return read("readWholeFile", {path}, path, UINT32_MAX);
}

platform::FileContent FakeFileSystem::readFileStart(const std::string& path, std::uint32_t maxBytes)
{
    return read("readFileStart", {path, std::to_string(maxBytes)}, path, maxBytes);
}

platform::FileContent FakeFileSystem::read(const char* operation, std::vector<std::string> args,
                                           const std::string& path, std::uint32_t maxBytes)
{
    platform::FileContent content;
    if (record(operation, std::move(args))) {
        content.error = readFaultError;
        return content;
    }
    Node* parent = nullptr;
    Node* node = resolve(path, &parent, true);
    if (!node) {
        content.error = parent ? platform::errorFileNotFound : platform::errorPathNotFound;
        return content;
    }
    if (node->isFolder()) {
        content.error = platform::errorAccessDenied;
        return content;
    }
    if (node->unreadable) {
        content.error = platform::errorSharingViolation;
        return content;
    }
    content.ok = true;
    content.bytes.assign(node->contents.begin(),
                         node->contents.begin() + std::min<std::size_t>(node->contents.size(), maxBytes));
    return content;
}

std::string FakeFileSystem::currentDirectory()
{
    if (record("currentDirectory"))
        return {};
    return currentDir;
}
