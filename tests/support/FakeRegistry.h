// A registry held in memory: two roots of keys with typed values, names looked
// up without regard to letter case, keys whose full access or any access can
// be refused, watches that see each change below their keys. Listed text is
// each byte widened, as code page 1252 reads ASCII and Latin-1. Keys may be
// read on other threads while a test writes.
#pragma once

#include "platform/Registry.h"
#include "support/FakeService.h"

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

class FakeRegistry final : public platform::IRegistry, public FakeService {
public:
    // Calls are logged as "openKey" {root, path}, "readValue" / "deleteValue"
    // {root, path, name}, "writeString" {root, path, name, text}, "closeKey"
    // {root, path}, "openKeyToRead" {root, path}, "listValues" {root, path},
    // "watchKeys" {root, path, ...}, "watchChanged" and "programPath"; roots
    // are written "HKCU" and "HKLM".
    std::unique_ptr<platform::IRegistryKey> openKey(platform::RegRoot root, const std::string& path) override;
    std::unique_ptr<platform::IRegistryKey> openKeyToRead(platform::RegRoot root, const std::string& path) override;
    std::unique_ptr<platform::IRegistryWatch> watchKeys(const std::vector<platform::RegKeyName>& keys) override;
    std::string programPath() override;

    std::string program = "C:\\Program Files\\Nomblet\\nomblet.exe";

    // Direct access for tests, bypassing the call log and the faults.
    void addKey(platform::RegRoot root, const std::string& path);
    void denyAccess(platform::RegRoot root, const std::string& path);
    void denyReading(platform::RegRoot root, const std::string& path);
    void setValue(platform::RegRoot root, const std::string& path, const std::string& name, std::uint32_t type,
                  std::vector<std::uint8_t> data);
    // A string value as Windows stores one: with its terminating zero.
    void setString(platform::RegRoot root, const std::string& path, const std::string& name,
                   const std::string& text, std::uint32_t type = platform::regSz);
    std::optional<platform::RegValue> value(platform::RegRoot root, const std::string& path,
                                            const std::string& name) const;
    // The text of a string value, up to its first zero; nullopt when absent.
    std::optional<std::string> text(platform::RegRoot root, const std::string& path,
                                    const std::string& name) const;
    // How many keys are open now.
    int openKeys = 0;
    // Called on the listing's thread as a listing begins: a test holds a reading there.
    std::function<void()> beforeListing;

    static std::string rootName(platform::RegRoot root);

private:
    friend class FakeRegistryKey;
    friend class FakeRegistryWatch;
    struct Key {
        bool denied = false;     // to full access
        bool unreadable = false; // to any access
        std::map<std::string, platform::RegValue> values; // by lower-case name
        std::map<std::string, std::string> names;          // as written, by lower-case name
    };
    using KeyId = std::pair<platform::RegRoot, std::string>; // lower-case path

    Key* find(platform::RegRoot root, const std::string& path);
    const Key* find(platform::RegRoot root, const std::string& path) const;

    std::unique_ptr<platform::IRegistryKey> open(const char* call, platform::RegRoot root, const std::string& path,
                                                 bool toRead);

    // The keys, the log and the faults; a registry assigned anew keeps its own.
    struct Lock : std::mutex {
        Lock() = default;
        Lock(const Lock&) : std::mutex() {}
        Lock& operator=(const Lock&) { return *this; }
    };
    mutable Lock lock_;
    std::map<KeyId, Key> keys_;
    std::vector<KeyId> edits_; // each key changed, in order
};
