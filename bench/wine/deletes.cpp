// Win32 only. Lists a folder and deletes each of its files as the munch cycle
// does, through the file-system service, either by the checked rule (open,
// final path, delete through the handle) or by the plain call a system without
// final paths gets; prints the files deleted and the milliseconds taken, for
// bench/wine_delete_rule.sh.
#include "platform/PathText.h"
#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "checked") != 0 && std::strcmp(argv[1], "plain") != 0)) {
        std::fprintf(stderr, "usage: nomblet_wine_deletes checked|plain FOLDER\n");
        return 2;
    }
    Win32FileSystem files(std::strcmp(argv[1], "checked") == 0);
    const DWORD start = ::GetTickCount();
    const std::string folder = files.finalPath(argv[2]);
    int deleted = 0;
    files.findFiles(folder + "\\*.*", [&](const platform::FindEntry& entry) {
        if (!(entry.attributes & platform::faDirectory))
            deleted += files.deleteFile(folder, entry.name);
        return true;
    });
    std::printf("%d %lu\n", deleted, ::GetTickCount() - start);
    return 0;
}
