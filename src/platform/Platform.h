// The services the program is built on, handed to it as one bundle:
// the real ones in nomblet.exe, fakes in the tests.
#pragma once

#include "platform/FolderBrowser.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Ui.h"

namespace platform {

struct Platform {
    IUi& ui;
    IProfile& profile;
    IRegistry& registry;
    IFolderBrowser& folderBrowser;
};

} // namespace platform
