// Win32 only. Registry keys and values, their change notification, and GetModuleFileNameA.
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

    std::vector<platform::RegListedValue> listValues(std::size_t limit) override
    {
        std::vector<platform::RegListedValue> listed;
        DWORD count = 0;
        DWORD longestName = 0;
        DWORD largestData = 0;
        if (::RegQueryInfoKeyW(key_.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                               &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS)
            return listed;
        std::wstring name(longestName + 1, L'\0');
        std::vector<std::uint8_t> data(largestData);
        for (DWORD index = 0; index < count && listed.size() < limit; ++index) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD type = REG_NONE;
            DWORD size = static_cast<DWORD>(data.size());
            const LONG result = ::RegEnumValueW(key_.get(), index, name.data(), &nameLength, nullptr, &type,
                                                data.empty() ? nullptr : data.data(), &size);
            // A value that grew or came after the key was measured ends the
            // listing: the next look (the key's watch fires) reads it whole.
            if (result != ERROR_SUCCESS)
                break;
            listed.push_back({std::u16string(name.begin(), name.begin() + nameLength), type,
                              std::vector<std::uint8_t>(data.begin(), data.begin() + size)});
        }
        return listed;
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

HKEY rootKey(platform::RegRoot root)
{
    return root == platform::RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::unique_ptr<platform::IRegistryKey> openWith(platform::RegRoot root, const std::string& path, REGSAM access)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(rootKey(root), path.c_str(), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32RegistryKey>(key);
}

// An event per watched key, all asked in one wait of no time per look. A
// notification fires once, and closing its key fires it too: a key that fired
// is closed, its event cleared, then opened again (a key made meanwhile is
// then watched itself) and armed anew; the others stay as they are. Armed on
// the thread that asks it, which must outlive it: a notification ends with
// the thread that armed it.
class Win32RegistryWatch final : public platform::IRegistryWatch {
public:
    explicit Win32RegistryWatch(std::vector<platform::RegKeyName> keys) : keys_(std::move(keys)) {}

    bool arm()
    {
        bool armedAll = true;
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            HANDLE event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
            if (!event)
                return false;
            events_.emplace_back(event);
            handles_.push_back(event);
            opened_.emplace_back();
            armedAll = rearm(i) && armedAll;
        }
        return armedAll;
    }

    bool changed() override
    {
        const DWORD woken = ::WaitForMultipleObjects(static_cast<DWORD>(handles_.size()), handles_.data(), FALSE, 0);
        if (woken >= WAIT_OBJECT_0 + handles_.size())
            return false;
        // Armed again before the caller reads, so no change after the read goes unseen.
        for (std::size_t i = 0; i < handles_.size(); ++i)
            if (::WaitForSingleObject(handles_[i], 0) == WAIT_OBJECT_0)
                rearm(i);
        return true;
    }

private:
    bool rearm(std::size_t i)
    {
        opened_[i].reset();
        ::ResetEvent(handles_[i]);
        opened_[i] = nearestExisting(keys_[i]);
        return opened_[i] && ::RegNotifyChangeKeyValue(opened_[i].get(), TRUE,
                                                       REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                                       handles_[i], TRUE) == ERROR_SUCCESS;
    }

    static ScopedRegKey nearestExisting(const platform::RegKeyName& key)
    {
        std::string path = key.path;
        for (;;) {
            HKEY opened = nullptr;
            if (::RegOpenKeyExA(rootKey(key.root), path.c_str(), 0, KEY_NOTIFY, &opened) == ERROR_SUCCESS)
                return ScopedRegKey(opened);
            if (path.empty())
                return ScopedRegKey();
            const std::size_t parent = path.rfind('\\');
            path.resize(parent == std::string::npos ? 0 : parent);
        }
    }

    std::vector<platform::RegKeyName> keys_;
    std::vector<ScopedHandle<KernelHandleTraits>> events_;
    std::vector<HANDLE> handles_; // the events, as the wait takes them
    std::vector<ScopedRegKey> opened_;
};

} // namespace

std::unique_ptr<platform::IRegistryKey> Win32Registry::openKey(platform::RegRoot root, const std::string& path)
{
    return openWith(root, path, KEY_ALL_ACCESS);
}

std::unique_ptr<platform::IRegistryKey> Win32Registry::openKeyToRead(platform::RegRoot root, const std::string& path)
{
    return openWith(root, path, KEY_READ);
}

std::unique_ptr<platform::IRegistryWatch> Win32Registry::watchKeys(const std::vector<platform::RegKeyName>& keys)
{
    auto watch = std::make_unique<Win32RegistryWatch>(keys);
    if (keys.empty() || keys.size() > MAXIMUM_WAIT_OBJECTS || !watch->arm())
        return nullptr;
    return watch;
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
