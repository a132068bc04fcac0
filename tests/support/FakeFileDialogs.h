// File dialogs without a screen: the user's answer is scripted, the requests kept.
#pragma once

#include "platform/FileDialogs.h"
#include "support/FakeService.h"
#include "support/FakeUi.h"

#include <functional>
#include <vector>

class FakeFileDialogs final : public platform::IFileDialogs, public FakeService {
public:
    explicit FakeFileDialogs(FakeUi& ui) : ui_(ui) {}

    std::optional<std::string> openFileDialog(const platform::OpenFileRequest& request) override
    {
        // A dialog that cannot be shown answers as a cancelled one.
        if (record("openFileDialog", {request.title, request.fileName, request.initialDir}))
            return std::nullopt;
        openFileRequests.push_back(request);
        std::optional<std::string> chosen;
        ui_.deliver([&] { chosen = onOpenFile ? onOpenFile(request) : std::nullopt; });
        return chosen;
    }

    // What the user does in the next file-open dialogs: a full path, or nothing to cancel.
    std::function<std::optional<std::string>(const platform::OpenFileRequest&)> onOpenFile;
    std::vector<platform::OpenFileRequest> openFileRequests;

private:
    FakeUi& ui_;
};
