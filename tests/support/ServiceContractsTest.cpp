// The registry, profile and notification-area contracts against the fakes.
#include "contracts/NotifyAreaContract.h"
#include "contracts/ProfileContract.h"
#include "contracts/RegistryContract.h"
#include "support/FakeIconsAndMenus.h"
#include "support/FakeNotifyArea.h"
#include "support/FakeProfile.h"
#include "support/FakeRegistry.h"
#include "support/FakeWindowMessages.h"

namespace {

class FakeRegistryWorld {
public:
    static constexpr const char* name = "Fake";
    FakeRegistryWorld() { registry_.addKey(platform::RegRoot::CurrentUser, keyPath()); }
    platform::IRegistry& registry() { return registry_; }
    std::string keyPath() const { return "Software\\NombletTest"; }
    void store(const std::string& name, std::uint32_t type, const std::string& bytes)
    {
        registry_.setValue(platform::RegRoot::CurrentUser, keyPath(), name, type, {bytes.begin(), bytes.end()});
    }
    void storeWide(const std::u16string& name, const std::u16string& text)
    {
        const std::string bytes(text.begin(), text.end()); // the fake's code page is Latin-1
        store(std::string(name.begin(), name.end()), platform::regSz, bytes + '\0');
    }
    void makeKey(const std::string& path) { registry_.addKey(platform::RegRoot::CurrentUser, path); }
    std::string denyReading(const std::string& path)
    {
        registry_.denyReading(platform::RegRoot::CurrentUser, path);
        return {};
    }

private:
    FakeRegistry registry_;
};

class FakeProfileWorld {
public:
    static constexpr const char* name = "Fake";
    platform::IProfile& profile() { return profile_; }
    std::string file(const std::string& name) const { return "C:\\T\\" + name; }
    std::string writeIntoMissingFolder() const { return "the fake keeps files by name, without folders"; }

private:
    FakeProfile profile_;
};

class FakeNotifyAreaWorld {
public:
    static constexpr const char* name = "Fake";
    platform::INotifyArea& notifyArea() { return area_; }
    platform::WindowHandle window() const { return window_->handle(); }
    platform::IconHandle icon(int index) const { return icons_[index]->handle(); }

private:
    FakeUi ui_;
    FakeWindowMessages messages_{ui_};
    FakeIconsAndMenus loader_{ui_};
    FakeNotifyArea area_{messages_};
    std::unique_ptr<platform::IUtilityWindow> window_ =
        messages_.newUtilityWindow("NombletNotifyTest", [](const platform::WindowMessage&) { return 0; });
    std::unique_ptr<platform::IIcon> icons_[2] = {loader_.loadIcon("TRAY0", {16, 16}),
                                                  loader_.loadIcon("TRAY3", {16, 16})};
};

} // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(Native, RegistryContract, FakeRegistryWorld, WorldNames);
INSTANTIATE_TYPED_TEST_SUITE_P(Native, ProfileContract, FakeProfileWorld, WorldNames);
INSTANTIATE_TYPED_TEST_SUITE_P(Native, NotifyAreaContract, FakeNotifyAreaWorld, WorldNames);
