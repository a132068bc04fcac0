// Win32 only. The real services, gathered for the program.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32FolderBrowser.h"
#include "platform/win32/Win32Host.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32Threads.h"
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32UrlCache.h"

class Win32Platform {
public:
    Win32Platform()
        : services_{
              .ui = ui_,
              .profile = profile_,
              .host = host_,
              .fileSystem = fileSystem_,
              .sound = sound_,
              .registry = registry_,
              .folderBrowser = folderBrowser_,
              .notifyArea = notifyArea_,
              .threads = threads_,
              .urlCache = urlCache_,
              .canvas = canvas_,
          }
    {
    }
    const platform::Platform& services() const { return services_; }

private:
    Win32Ui ui_;
    Win32Profile profile_;
    Win32Host host_;
    Win32FileSystem fileSystem_;
    Win32Sound sound_;
    Win32Registry registry_;
    Win32FolderBrowser folderBrowser_;
    Win32NotifyArea notifyArea_;
    Win32Threads threads_;
    Win32UrlCache urlCache_;
    Win32CanvasService canvas_;
    platform::Platform services_;
};
