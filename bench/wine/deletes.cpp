// Win32 only. Lists a folder and deletes each of its files as the munch cycle
// does, through the file-system service, either by the checked rule (open,
// final path, delete through the handle) or by the plain call a system without
// final paths gets; or, deleting nothing, takes the look alone at each file
// (open, final path, close) or only lists them. Prints the files handled and
// the milliseconds taken, for bench/wine_delete_rule.sh.
#include "platform/PathText.h"
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode != "checked" && mode != "plain" && mode != "look" && mode != "list") {
        std::fprintf(stderr, "usage: nomblet_wine_deletes checked|plain|look|list FOLDER\n");
        return 2;
    }
    Win32FileSystem files(mode != "plain");
    const DWORD start = ::GetTickCount();
    const std::string folder = files.finalPath(argv[2]);
    int deleted = 0;
    files.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
        if (entry.attributes & platform::faDirectory)
            return true;
        if (mode == "look")
            deleted += !files.finalPath(folder + "\\" + entry.name).empty();
        else if (mode == "list")
            ++deleted;
        else
            deleted += files.deleteFile(folder, entry.name);
        return true;
    });
    std::printf("%d %lu\n", deleted, ::GetTickCount() - start);
    return 0;
}
