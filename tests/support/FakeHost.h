// A host with a settable name, address list, Windows directory and system
// folders, long forms of paths, an optional double-byte code page, and a log of
// the shell's "open" requests.
#pragma once

#include "platform/Host.h"
#include "support/FakeService.h"

#include <map>
#include <set>

class FakeHost final : public platform::IHost, public FakeService {
public:
    // Winsock answers nothing before a start that succeeded (WSANOTINITIALISED).
    void socketsStartup(std::uint16_t version) override
    {
        if (!record("socketsStartup", {std::to_string(version)}))
            ++socketsStarted;
    }
    void socketsCleanup() override
    {
        if (!record("socketsCleanup") && socketsStarted > 0)
            --socketsStarted;
    }
    std::string hostName(std::size_t bufferSize) override
    {
        if (record("hostName", {std::to_string(bufferSize)}) || socketsStarted == 0)
            return {};
        return name.substr(0, bufferSize - 1);
    }
    std::optional<std::vector<std::string>> hostAddresses(const std::string& host) override
    {
        // Winsock takes an empty name for this machine.
        if (record("hostAddresses", {host}) || socketsStarted == 0 || (host != name && !host.empty()))
            return std::nullopt;
        return addresses;
    }
    std::string windowsDirectory(std::size_t maxChars) override
    {
        if (record("windowsDirectory", {std::to_string(maxChars)}))
            return {};
        return windowsDir.substr(0, maxChars);
    }
    std::vector<std::string> systemFolders() override
    {
        if (record("systemFolders"))
            return {};
        return folders;
    }
    std::string shellFolder(platform::ShellFolder folder) override
    {
        if (record("shellFolder", {std::to_string(static_cast<int>(folder))}))
            return {};
        auto named = shellFolders.find(folder);
        return named == shellFolders.end() ? std::string() : named->second;
    }
    std::string fullLongPath(const std::string& path) override
    {
        if (record("fullLongPath", {path}))
            return path;
        auto known = longPaths.find(path);
        return known == longPaths.end() ? path : known->second;
    }
    bool isLeadByte(std::uint8_t byte) override { return leadBytes.count(byte) != 0; }
    void shellOpen(const std::string& operation, const std::string& file, const std::string& parameters,
                   const std::string& directory, int showCommand) override
    {
        record("shellOpen", {operation, file, parameters, directory, std::to_string(showCommand)});
    }

    std::string name = "muncher";
    std::vector<std::string> addresses{"10.0.0.5"};
    std::string windowsDir = "C:\\WINDOWS";
    std::vector<std::string> folders{"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM32", "C:\\Program Files",
                                     "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user\\Desktop"};
    // The folders the shell names; one left out is one it cannot name.
    std::map<platform::ShellFolder, std::string> shellFolders;
    std::map<std::string, std::string> longPaths; // what fullLongPath makes of a path; others stay
    std::set<std::uint8_t> leadBytes; // empty: a single-byte code page
    int socketsStarted = 0;
};
