// Win32 only. The real services, gathered for the program.
#pragma once

#include "platform/Platform.h"
#include "platform/sitedata/SiteDataStores.h"
#include "platform/sqlite/SqliteCookieDatabase.h"
#include "platform/win32/Win32BrowserLock.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32FileDialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Folders.h"
#include "platform/win32/Win32IconsAndMenus.h"
#include "platform/win32/Win32Network.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32Threads.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UiThread.h"
#include "platform/win32/Win32UrlCache.h"
#include "platform/win32/Win32WindowMessages.h"

class Win32Platform {
public:
    Win32Platform()
        : services_{
              .ui = ui_,
              .windowMessages = windowMessages_,
              .iconsAndMenus = iconsAndMenus_,
              .fileDialogs = fileDialogs_,
              .uiThread = uiThread_,
              .profile = profile_,
              .network = network_,
              .folders = folders_,
              .codePage = codePage_,
              .shell = shell_,
              .fileSystem = fileSystem_,
              .sound = sound_,
              .registry = registry_,
              .folderBrowser = folderBrowser_,
              .notifyArea = notifyArea_,
              .threads = threads_,
              .urlCache = urlCache_,
              .canvas = canvas_,
              .cookieDatabases = cookieDatabases_,
              .siteStores = siteStores_,
          }
    {
    }
    const platform::Platform& services() const { return services_; }

private:
    Win32Callbacks callbacks_;
    Win32Ui ui_{callbacks_};
    Win32WindowMessages windowMessages_{callbacks_};
    Win32IconsAndMenus iconsAndMenus_{callbacks_};
    Win32FileDialogs fileDialogs_;
    Win32UiThread uiThread_{callbacks_};
    Win32Profile profile_;
    Win32Network network_;
    Win32Folders folders_;
    Win32CodePage codePage_;
    Win32Shell shell_;
    Win32FileSystem fileSystem_;
    Win32Sound sound_;
    Win32Registry registry_;
    Win32FolderBrowser folderBrowser_;
    Win32NotifyArea notifyArea_;
    Win32Threads threads_;
    Win32UrlCache urlCache_;
    Win32CanvasService canvas_;
    platform::SqliteCookieDatabases cookieDatabases_;
    platform::SiteDataStores siteStores_{Win32BrowserLockHeld};
    platform::Platform services_;
};
