// Win32 only. Paths between the program's ANSI text and the kernel's wide file
// calls: the code page the ANSI file calls use, and the long-path prefix for
// paths the plain calls cannot take.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace win32paths {

// ANSI text in the file calls' code page as wide text, cut at a zero as the
// ANSI calls read it.
std::wstring toWide(const std::string& text);

// Wide text in the file calls' code page, or nullopt when a character has no
// exact form there (no best-fit look-alikes).
std::optional<std::string> toAnsiExact(const wchar_t* text);
// The same with '?', which no file call opens, for each such character.
std::string toAnsiMarked(const wchar_t* text);
// The same as the system's ANSI calls give it (look-alikes for what has no form).
std::string toAnsiAsSystem(const std::wstring& text);

// The full path of a path (GetFullPathNameW: relative parts, "." and ".."
// resolved); empty when it cannot be made.
std::wstring fullPath(const std::wstring& path);

// A full path in the form the wide calls take at any length: as it is when the
// plain calls take it, otherwise with "\\?\" ("\\?\UNC\" for a share).
std::wstring withLongPrefix(const std::wstring& full);

// A full path in the form the kernel takes whole, "\\?\" ("\\?\UNC\" for a
// share) before it: a trailing dot or blank, a device's name, "." and ".." are
// names like any other.
std::wstring kernelForm(const std::wstring& full);

// Where a full path's first name starts: after "C:\" or "\\server\share\";
// npos when it starts with neither.
std::size_t rootLength(const std::wstring& path);

// The long form of a full path (GetLongPathNameW, asked in the form the wide
// calls take at any length); empty when it does not exist.
std::wstring longPath(const std::wstring& full);

// What the wide file calls get for a path: the path as given when its full
// form fits the plain calls (what the ANSI calls passed on), otherwise its
// full form with the long-path prefix. A path that already starts with "\\?\",
// "\\.\" or "\??\" stays as it is.
std::wstring pathForWideCalls(const std::wstring& path);
inline std::wstring pathForWideCalls(const std::string& path) { return pathForWideCalls(toWide(path)); }

} // namespace win32paths
