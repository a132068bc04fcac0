// The registry service: existing keys under the two roots the program uses,
// typed values in them, and the program's own file path. UI thread only.
// Nothing here throws; failures come back as results.
#pragma once

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

// An open key; closed when the object goes.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    virtual RegValue readValue(const std::string& name) = 0;
    // Stores text as a string value (regSz) with its terminating zero.
    virtual bool writeString(const std::string& name, const std::string& text) = 0;
    virtual bool deleteValue(const std::string& name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens an existing key for full access; null when it does not exist or that
    // access is refused. A key is never created. path is relative to the root.
    virtual std::unique_ptr<IRegistryKey> openKey(RegRoot root, const std::string& path) = 0;

    // The full file path of the running program, or empty when it cannot be had.
    virtual std::string programPath() = 0;
};

} // namespace platform
