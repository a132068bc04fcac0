// The services the program is built on, handed to it as one bundle:
// the real ones in nomblet.exe, fakes in the tests.
#pragma once

#include "platform/Canvas.h"
#include "platform/CodePage.h"
#include "platform/CookieDatabase.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/FolderBrowser.h"
#include "platform/Folders.h"
#include "platform/IconsAndMenus.h"
#include "platform/Network.h"
#include "platform/NotifyArea.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SiteDataStore.h"
#include "platform/Sound.h"
#include "platform/Threads.h"
#include "platform/Ui.h"
#include "platform/UiThread.h"
#include "platform/UrlCacheService.h"
#include "platform/WindowMessages.h"

namespace platform {

struct Platform {
    IUi& ui;
    IWindowMessages& windowMessages;
    IIconsAndMenus& iconsAndMenus;
    IFileDialogs& fileDialogs;
    IUiThread& uiThread;
    IProfile& profile;
    INetwork& network;
    IFolders& folders;
    ICodePage& codePage;
    IShell& shell;
    IFileSystem& fileSystem;
    ISound& sound;
    IRegistry& registry;
    IFolderBrowser& folderBrowser;
    INotifyArea& notifyArea;
    IThreads& threads;
    IUrlCache& urlCache;
    ICanvasService& canvas;
    ICookieDatabases& cookieDatabases;
    ISiteStores& siteStores;
};

} // namespace platform
