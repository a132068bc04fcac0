// Win32 only. Registry keys and values, and GetModuleFileNameA.
#include "platform/win32/Win32Registry.h"

#include "platform/win32/ScopedHandle.h"

#include <windows.h>

static_assert(platform::regSz == REG_SZ && platform::regExpandSz == REG_EXPAND_SZ &&
              platform::regBinary == REG_BINARY && platform::regDword == REG_DWORD &&
              platform::regMultiSz == REG_MULTI_SZ && platform::regNone == REG_NONE);

namespace {

class Win32RegistryKey final : public platform::IRegistryKey {
public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    platform::RegValue readValue(const std::string& name) override
    {
        platform::RegValue value;
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type, nullptr, &size);
        // The value may grow between the two calls: ask again with the new size.
        for (int attempt = 0; attempt < 4 && result == ERROR_SUCCESS; ++attempt) {
            value.data.resize(size);
            DWORD got = size;
            result = ::RegQueryValueExA(key_.get(), name.c_str(), nullptr, &type,
                                        size ? value.data.data() : nullptr, &got);
            if (result == ERROR_SUCCESS) {
                value.data.resize(got);
                value.found = true;
                value.type = type;
                return value;
            }
            if (result == ERROR_MORE_DATA) {
                size = got;
                result = ERROR_SUCCESS;
            }
        }
        value.data.clear();
        return value;
    }

    bool writeString(const std::string& name, const std::string& text) override
    {
        return ::RegSetValueExA(key_.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    }

    bool deleteValue(const std::string& name) override
    {
        return ::RegDeleteValueA(key_.get(), name.c_str()) == ERROR_SUCCESS;
    }

private:
    ScopedRegKey key_;
};

} // namespace

std::unique_ptr<platform::IRegistryKey> Win32Registry::openKey(platform::RegRoot root, const std::string& path)
{
    HKEY base = root == platform::RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

std::string Win32Registry::programPath()
{
    // A buffer that the path fills completely may have cut it: try a larger one.
    for (DWORD capacity = MAX_PATH; capacity <= 32768; capacity *= 2) {
        std::string path(capacity, '\0');
        DWORD length = ::GetModuleFileNameA(nullptr, path.data(), capacity);
        if (length == 0)
            return {};
        if (length < capacity) {
            path.resize(length);
            return path;
        }
    }
    return {};
}
