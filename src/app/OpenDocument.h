// Opening a document or an address through the shell.
#pragma once

#include "platform/CodePage.h"
#include "platform/Shell.h"

#include <string>

// Opens a path through the shell, in the folder part of it, or a web or mail
// address whole. The code page tells a backslash from the second byte of a
// double-byte character.
void OpenDocument(platform::IShell& shell, platform::ICodePage& codePage, const std::string& target);
