// Small wrappers of network, folder and shell calls. None keeps state or reports errors:
// each gives an empty or partial result instead.
#pragma once

#include "platform/CodePage.h"
#include "platform/Folders.h"
#include "platform/Network.h"
#include "platform/Shell.h"

#include <string>

// One IPv4 address of this machine (the last one the host entry lists), or empty.
std::string GetLocalIP(platform::INetwork& network);

// Opens a path through the shell, in the folder part of it, or a web or mail
// address whole. The code page tells a backslash from the second byte of a
// double-byte character.
void OpenDocument(platform::IShell& shell, platform::ICodePage& codePage, const std::string& target);

// The Windows directory, or empty.
std::string GetWindowsDir(platform::IFolders& folders);

// The last n characters of s (all of s when it is shorter), a double-byte
// character of the code page counting as one.
std::string RightChars(platform::ICodePage& codePage, const std::string& s, int n);
