// The registry service: existing keys under the two roots the program uses,
// typed values in them, a watch on keys, and the program's own file path.
// Threading: keys may be opened and read on any thread, each key object used
// by one thread at a time; a watch is made and asked on one thread, which
// outlives it (the system ties its notifications to that thread).
// Nothing here throws; failures come back as results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

enum class RegRoot { CurrentUser, LocalMachine };

// Value types, with the registry's numbers (the Windows spellings are macros).
constexpr std::uint32_t regNone = 0;
constexpr std::uint32_t regSz = 1;
constexpr std::uint32_t regExpandSz = 2;
constexpr std::uint32_t regBinary = 3;
constexpr std::uint32_t regDword = 4;
constexpr std::uint32_t regMultiSz = 7;

struct RegValue {
    bool found = false;             // false: missing, or the read failed
    std::uint32_t type = regNone;
    std::vector<std::uint8_t> data; // exactly as stored, terminating zeros included
};

// A value as a listing gives it: name and data as the wide calls read them,
// so string types are UTF-16 (terminating zeros as stored) and a name in any
// script survives.
struct RegListedValue {
    std::u16string name;
    std::uint32_t type = regNone;
    std::vector<std::uint8_t> data;
};

// An open key; closed when the object goes.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    virtual RegValue readValue(const std::string& name) = 0;
    // The key's values in the registry's order, at most limit of them; the
    // listing stops at the first value that cannot be read.
    virtual std::vector<RegListedValue> listValues(std::size_t limit) = 0;
    // Stores text as a string value (regSz) with its terminating zero.
    virtual bool writeString(const std::string& name, const std::string& text) = 0;
    virtual bool deleteValue(const std::string& name) = 0;
};

struct RegKeyName {
    RegRoot root;
    std::string path;
};

class IRegistryWatch {
public:
    virtual ~IRegistryWatch() = default;
    // Whether anything changed under the watched keys since the last call
    // (the first: since the watch began). Never waits.
    virtual bool changed() = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens an existing key for full access; null when it does not exist or that
    // access is refused. A key is never created. path is relative to the root.
    virtual std::unique_ptr<IRegistryKey> openKey(RegRoot root, const std::string& path) = 0;
    // Opens an existing key for reading only (a policy key a user may read
    // but not change); null when it does not exist or may not be read.
    virtual std::unique_ptr<IRegistryKey> openKeyToRead(RegRoot root, const std::string& path) = 0;

    // Watches keys and everything below them; a key that does not exist is
    // watched through its nearest existing parent. Null when the system
    // tells of no change: the caller looks again now and then instead.
    virtual std::unique_ptr<IRegistryWatch> watchKeys(const std::vector<RegKeyName>& keys) = 0;

    // The full file path of the running program, or empty when it cannot be had.
    virtual std::string programPath() = 0;
};

} // namespace platform
