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
