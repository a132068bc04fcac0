// Small wrappers of host and shell calls. None keeps state or reports errors:
// each gives an empty or partial result instead.
#pragma once

#include "platform/Host.h"

#include <string>

// One IPv4 address of this machine (the last one the host entry lists), or empty.
std::string GetLocalIP(platform::IHost& host);

// Opens a path through the shell, in the folder part of it, or a web or mail
// address whole.
void OpenDocument(platform::IHost& host, const std::string& target);

// The Windows directory, or empty.
std::string GetWindowsDir(platform::IHost& host);

// The last n characters of s (all of s when it is shorter), a double-byte
// character of the code page counting as one.
std::string RightChars(platform::IHost& host, const std::string& s, int n);
