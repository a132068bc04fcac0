// The services the program is built on, handed to it as one bundle:
// the real ones in nomblet.exe, fakes in the tests.
#pragma once

#include "platform/Canvas.h"
#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"
#include "platform/Host.h"
#include "platform/NotifyArea.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Sound.h"
#include "platform/Threads.h"
#include "platform/Ui.h"
#include "platform/UrlCache.h"

namespace platform {

struct Platform {
    IUi& ui;
    IProfile& profile;
    IHost& host;
    IFileSystem& fileSystem;
    ISound& sound;
    IRegistry& registry;
    IFolderBrowser& folderBrowser;
    INotifyArea& notifyArea;
    IThreads& threads;
    IUrlCache& urlCache;
    ICanvasService& canvas;
};

} // namespace platform
