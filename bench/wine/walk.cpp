// Win32 only. Walks a folder tree as Clear IE Cache does (the file finder over
// the Win32 file system) and prints how many entries it listed, for timing the
// walk under Wine against `cmd /c dir /s /b` (bench/wine_cleanup.sh).
#include "browserdata/FileFinder.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32CodePage.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomblet_wine_walk FOLDER\n");
        return 2;
    }
    Win32FileSystem files;
    Win32CodePage codePage;
    TFileFinder finder(nullptr, files, codePage);
    finder.Directory = argv[1];
    finder.Filter = "*.*";
    finder.Recurse = true;
    finder.Attributes = +ffReadOnly | +ffHidden | +ffSystem | +ffDirectory | +ffArchive;
    finder.Execute();
    std::printf("%zu\n", finder.Files().size());
    return 0;
}
