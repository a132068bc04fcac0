// Win32 only. The registry adapter against the real registry, in a scratch key.
#include "platform/win32/Win32Registry.h"
#include "shell/AutoStart.h"
#include "win32/ScratchKey.h"

#include <gtest/gtest.h>

#include <memory>

using platform::RegRoot;

namespace {

bool keyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

} // namespace

TEST(Win32Registry, AMissingKeyIsNotOpenedAndNotCreated)
{
    ScratchKey scratch;
    Win32Registry registry;
    std::string missing = scratch.path() + "\\Missing";

    EXPECT_EQ(registry.openKey(RegRoot::CurrentUser, missing), nullptr);
    EXPECT_FALSE(keyExists(missing));
    EXPECT_NE(registry.openKey(RegRoot::CurrentUser, scratch.path()), nullptr);
}

TEST(Win32Registry, AWrittenStringIsStoredWithItsZeroAndReadsBack)
{
    ScratchKey scratch;
    Win32Registry registry;
    auto key = registry.openKey(RegRoot::CurrentUser, scratch.path());
    ASSERT_NE(key, nullptr);

    ASSERT_TRUE(key->writeString("MyApplication", "C:\\Program Files\\Nomblet\\nomblet.exe"));

    // As another program sees it.
    char raw[MAX_PATH] = {};
    DWORD type = 0;
    DWORD size = sizeof raw;
    ASSERT_EQ(::RegQueryValueExA(scratch.key(), "MyApplication", nullptr, &type, reinterpret_cast<BYTE*>(raw),
                                 &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof "C:\\Program Files\\Nomblet\\nomblet.exe");
    EXPECT_STREQ(raw, "C:\\Program Files\\Nomblet\\nomblet.exe");

    platform::RegValue value = key->readValue("myapplication");
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, platform::regSz);
    EXPECT_EQ(std::string(value.data.begin(), value.data.end()),
              std::string("C:\\Program Files\\Nomblet\\nomblet.exe", size));

    EXPECT_TRUE(key->deleteValue("MyApplication"));
    EXPECT_FALSE(key->readValue("MyApplication").found);
    EXPECT_FALSE(key->deleteValue("MyApplication"));
}

TEST(Win32Registry, ValuesOfOtherTypesAndSizesReadAsStored)
{
    ScratchKey scratch;
    DWORD number = 0x01020304;
    ::RegSetValueExA(scratch.key(), "Number", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof number);
    ::RegSetValueExA(scratch.key(), "Empty", 0, REG_SZ, nullptr, 0);
    std::string big(5000, 'x');
    ::RegSetValueExA(scratch.key(), "Big", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(big.c_str()),
                     static_cast<DWORD>(big.size() + 1));
    Win32Registry registry;
    auto key = registry.openKey(RegRoot::CurrentUser, scratch.path());
    ASSERT_NE(key, nullptr);

    platform::RegValue value = key->readValue("Number");
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, platform::regDword);
    EXPECT_EQ(value.data, (std::vector<std::uint8_t>{4, 3, 2, 1}));

    value = key->readValue("Empty");
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, platform::regSz);
    EXPECT_TRUE(value.data.empty());

    value = key->readValue("Big");
    EXPECT_EQ(value.type, platform::regExpandSz);
    EXPECT_EQ(value.data.size(), big.size() + 1);

    EXPECT_FALSE(key->readValue("Absent").found);
}

TEST(Win32Registry, TheRunKeyOfTheUserOpensWithFullAccess)
{
    Win32Registry registry;
    EXPECT_NE(registry.openKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"), nullptr);
}

TEST(Win32Registry, ProgramPathIsTheRunningProgram)
{
    Win32Registry registry;
    char expected[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, expected, MAX_PATH);
    std::string path = registry.programPath();
    EXPECT_EQ(path, expected);
    EXPECT_NE(path.find("nomblet_win32_tests.exe"), std::string::npos);
}

// The component over the real registry: its absolute key path must reach the real Run key.
TEST(Win32Registry, StartUpRegistrationRoundTripsThroughTheUserRunKey)
{
    const std::string name = "NombletTest-" + std::to_string(::GetCurrentProcessId());
    const char* run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    Win32Registry registry;
    auto loaded = [&] {
        auto component = std::make_unique<TAutoStart>(nullptr, registry);
        component->BeginLoading();
        component->SetAppName(name);
        component->EndLoading();
        return component;
    };

    auto first = loaded();
    EXPECT_FALSE(first->AutoRun());
    first->SetAutoRun(true);

    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, run, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(data), "\"" + registry.programPath() + "\"");

    auto second = loaded();
    EXPECT_TRUE(second->AutoRun());
    EXPECT_EQ(second->RegLocation(), TRegLocation::CurrentUser);
    second->SetAutoRun(false);
    size = sizeof data;
    EXPECT_EQ(::RegGetValueA(HKEY_CURRENT_USER, run, name.c_str(), RRF_RT_ANY, nullptr, data, &size),
              ERROR_FILE_NOT_FOUND);
}
