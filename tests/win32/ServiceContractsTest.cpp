// Win32 only. The registry, profile and notification-area contracts against
// the real services: a scratch key, a scratch folder, the shell.
#include "contracts/NotifyAreaContract.h"
#include "contracts/ProfileContract.h"
#include "contracts/RegistryContract.h"
#include "platform/win32/Win32IconsAndMenus.h"
#include "platform/win32/Win32NotifyArea.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32WindowMessages.h"
#include "win32/ScratchFolder.h"
#include "win32/ScratchKey.h"

namespace {

class Win32RegistryWorld {
public:
    static constexpr const char* name = "Win32";
    platform::IRegistry& registry() { return registry_; }
    std::string keyPath() const { return scratch_.path(); }
    void store(const std::string& name, std::uint32_t type, const std::string& bytes)
    {
        ::RegSetValueExA(scratch_.key(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                         static_cast<DWORD>(bytes.size()));
    }
    void storeWide(const std::u16string& name, const std::u16string& text)
    {
        const std::wstring wideName(name.begin(), name.end());
        ::RegSetValueExW(scratch_.key(), wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    }
    void makeKey(const std::string& path)
    {
        HKEY made = nullptr;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &made,
                              nullptr) == ERROR_SUCCESS)
            ::RegCloseKey(made);
    }
    std::string denyReading(const std::string&) { return "Wine grants its one user every key"; }

private:
    ScratchKey scratch_;
    Win32Registry registry_;
};

class Win32ProfileWorld {
public:
    static constexpr const char* name = "Win32";
    platform::IProfile& profile() { return profile_; }
    std::string file(const std::string& name) const { return folder_.file(name); }
    std::string writeIntoMissingFolder() const { return {}; }

private:
    ScratchFolder folder_;
    Win32Profile profile_;
};

class Win32NotifyAreaWorld {
public:
    static constexpr const char* name = "Win32";
    platform::INotifyArea& notifyArea() { return area_; }
    platform::WindowHandle window() const { return window_->handle(); }
    platform::IconHandle icon(int index) const { return icons_[index]->handle(); }

private:
    Win32Callbacks callbacks_;
    Win32WindowMessages messages_{callbacks_};
    Win32IconsAndMenus loader_{callbacks_};
    Win32NotifyArea area_;
    std::unique_ptr<platform::IUtilityWindow> window_ =
        messages_.newUtilityWindow("NombletNotifyTest", [](const platform::WindowMessage&) { return 0; });
    std::unique_ptr<platform::IIcon> icons_[2] = {loader_.loadIcon("TRAY0", {16, 16}),
                                                  loader_.loadIcon("TRAY3", {16, 16})};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Windows, RegistryContract, Win32RegistryWorld, WorldNames);
INSTANTIATE_TYPED_TEST_SUITE_P(Windows, ProfileContract, Win32ProfileWorld, WorldNames);
INSTANTIATE_TYPED_TEST_SUITE_P(Windows, NotifyAreaContract, Win32NotifyAreaWorld, WorldNames);
