// Win32 only. The file-system service over the kernel's wide file search, attribute,
// delete and read calls.
#pragma once

#include "platform/FileSystem.h"

class Win32FileSystem final : public platform::IFileSystem {
public:
    void findFiles(const std::string& pattern, const std::function<bool(const platform::FindEntry&)>& visit) override;
    std::uint32_t attributes(const std::string& path) override;
    std::optional<std::uint64_t> lastWriteTime(const std::string& path) override;
    bool deleteFile(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;
    platform::FileContent readWholeFile(const std::string& path) override;
    platform::FileContent readFileStart(const std::string& path, std::uint32_t maxBytes) override;
    std::string currentDirectory() override;
};
