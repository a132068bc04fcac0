// The folders the program must never empty.
#include "munch/SystemFolders.h"

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

// A path without trailing or doubled backslashes (the two that start a
// network path stay), A to Z in lower case.
std::string comparable(const std::string& path)
{
    std::string result;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' && i > 1 && path[i - 1] == '\\')
            continue;
        result.push_back(platform::asciiLower(path[i]));
    }
    while (!result.empty() && result.back() == '\\')
        result.pop_back();
    return result;
}

} // namespace

bool SystemFolderGuard::Refuses(const std::string& finalFolder)
{
    if (finalFolder == lastFolder_ && !lastFolder_.empty())
        return lastRefused_;
    // A system that could name none is asked again next time; until it names
    // them, no folder can be told safe, so every one is refused and no verdict
    // is remembered.
    if (!systemFolders_ || systemFolders_->empty()) {
        systemFolders_.emplace();
        for (const std::string& system : folders_.systemFolders()) {
            // One that cannot be opened (not made yet) is taken as the system
            // spells it: a full path already.
            std::string where = files_.finalPath(system);
            systemFolders_->push_back(comparable(platform::withoutKernelPrefix(where.empty() ? system : where)));
        }
        if (systemFolders_->empty()) {
            lastFolder_.clear();
            return true;
        }
    }
    const std::string candidate = comparable(platform::withoutKernelPrefix(finalFolder));
    lastFolder_ = finalFolder;
    lastRefused_ = isRoot(candidate) ||
                   std::any_of(systemFolders_->begin(), systemFolders_->end(),
                               [&](const std::string& system) { return within(system, candidate); });
    return lastRefused_;
}
