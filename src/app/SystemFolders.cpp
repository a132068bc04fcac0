// The folders the munch cycle must never empty.
#include "app/SystemFolders.h"

#include "platform/PathText.h"

#include <algorithm>

namespace {

// "c:", a network share ("\\server\share") or anything shorter.
bool isRoot(const std::string& folder)
{
    if (folder.rfind("\\\\", 0) == 0)
        return std::count(folder.begin() + 2, folder.end(), '\\') <= 1;
    return folder.size() <= 2;
}

// Whether inner is the folder outer or lies below it.
bool within(const std::string& inner, const std::string& outer)
{
    return inner.compare(0, outer.size(), outer) == 0 && (inner.size() == outer.size() || inner[outer.size()] == '\\');
}

// Whether a path names the same folder whatever the current folder is.
bool isAbsolute(const std::string& path)
{
    return path.rfind("\\\\", 0) == 0 || (path.size() >= 3 && path[1] == ':' && path[2] == '\\');
}

} // namespace

bool SystemFolderGuard::Refuses(const std::string& folder)
{
    if (isAbsolute(folder) && folder == lastFolder_)
        return lastRefused_;
    // A system that could name none is asked again next time; until it names
    // them, no folder can be told safe, so every one is refused and no verdict
    // is remembered.
    if (!systemFolders_ || systemFolders_->empty()) {
        systemFolders_.emplace();
        for (const std::string& system : folders_.systemFolders())
            systemFolders_->push_back(comparable(system));
        if (systemFolders_->empty()) {
            lastFolder_.clear();
            return true;
        }
    }
    const std::string candidate = comparable(folder);
    lastFolder_ = folder;
    lastRefused_ = isRoot(candidate) ||
                   std::any_of(systemFolders_->begin(), systemFolders_->end(),
                               [&](const std::string& system) { return within(system, candidate); });
    return lastRefused_;
}

// The full long form of a folder, without trailing or doubled backslashes (the
// two that start a network path stay), A to Z in lower case.
std::string SystemFolderGuard::comparable(const std::string& folder)
{
    // With a backslash after it, "C:" is the drive's root, as the cycle's search takes it.
    std::string full = folders_.fullLongPath(folder + "\\");
    std::string result;
    for (std::size_t i = 0; i < full.size(); ++i) {
        char c = full[i];
        if (c == '\\' && i > 1 && full[i - 1] == '\\')
            continue;
        result.push_back(platform::asciiLower(c));
    }
    while (!result.empty() && result.back() == '\\')
        result.pop_back();
    return result;
}
