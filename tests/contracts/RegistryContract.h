// What every registry promises the program, run against each implementation.
// A world gives the registry and one existing key under the current user
// (keyPath), and from outside the service stores values into it (store, and
// storeWide for a wide string), makes a key below it (makeKey) and refuses a
// key to be read (denyReading: empty when done, else why it cannot).
#pragma once

#include "contracts/WorldNames.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

template <typename World>
class RegistryContract : public testing::Test {
protected:
    std::unique_ptr<platform::IRegistryKey> openKey(const std::string& path)
    {
        return world.registry().openKey(platform::RegRoot::CurrentUser, path);
    }
    static std::string text(const platform::RegValue& value) { return {value.data.begin(), value.data.end()}; }

    World world;
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, AKeyIsOpenedOnlyWhenItExistsAndNeverCreated)
{
    const std::string missing = this->world.keyPath() + "\\Missing";
    EXPECT_EQ(this->openKey(missing), nullptr);
    EXPECT_EQ(this->openKey(missing), nullptr) << "the first attempt made nothing";
    EXPECT_NE(this->openKey(this->world.keyPath()), nullptr);
}

TYPED_TEST_P(RegistryContract, AWrittenStringIsStoredWithItsZeroFoundWhateverTheLetterCaseAndDeleted)
{
    auto key = this->openKey(this->world.keyPath());
    ASSERT_NE(key, nullptr);
    const std::string path = "C:\\Program Files\\Nomblet\\nomblet.exe";
    ASSERT_TRUE(key->writeString("MyApplication", path));

    platform::RegValue value = key->readValue("myapplication");
    EXPECT_TRUE(value.found);
    EXPECT_EQ(value.type, platform::regSz);
    EXPECT_EQ(this->text(value), std::string(path.c_str(), path.size() + 1));

    EXPECT_TRUE(key->deleteValue("MyApplication"));
    EXPECT_FALSE(key->readValue("MyApplication").found);
    EXPECT_FALSE(key->deleteValue("MyApplication")) << "already gone";
}

TYPED_TEST_P(RegistryContract, ValuesOfEveryTypeAndSizeReadExactlyAsStored)
{
    struct Case {
        const char* name;
        std::uint32_t type;
        std::string bytes;
    };
    const Case cases[] = {{"Number", platform::regDword, std::string("\4\3\2\1", 4)},
                          {"Empty", platform::regSz, ""},
                          {"Big", platform::regExpandSz, std::string(5000, 'x') + '\0'},
                          {"Several", platform::regMultiSz, std::string("a\0b\0\0", 5)}};
    for (const Case& c : cases)
        this->world.store(c.name, c.type, c.bytes);
    auto key = this->openKey(this->world.keyPath());
    ASSERT_NE(key, nullptr);
    for (const Case& c : cases) {
        platform::RegValue value = key->readValue(c.name);
        EXPECT_TRUE(value.found) << c.name;
        EXPECT_EQ(value.type, c.type) << c.name;
        EXPECT_EQ(this->text(value), c.bytes) << c.name;
    }
    EXPECT_FALSE(key->readValue("Absent").found);
}

TYPED_TEST_P(RegistryContract, AKeyOpenedToReadIsReadAndNeverChanged)
{
    this->world.store("Kept", platform::regSz, std::string("a\0", 2));
    auto key = this->world.registry().openKeyToRead(platform::RegRoot::CurrentUser, this->world.keyPath());
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->readValue("Kept").found);
    EXPECT_FALSE(key->writeString("Other", "x"));
    EXPECT_FALSE(key->deleteValue("Kept"));
    EXPECT_TRUE(key->readValue("Kept").found);
    EXPECT_EQ(this->world.registry().openKeyToRead(platform::RegRoot::CurrentUser, this->world.keyPath() + "\\Missing"),
              nullptr);

    const std::string refused = this->world.keyPath() + "\\Refused";
    this->world.makeKey(refused);
    if (const std::string why = this->world.denyReading(refused); !why.empty())
        GTEST_SKIP() << why;
    EXPECT_EQ(this->world.registry().openKeyToRead(platform::RegRoot::CurrentUser, refused), nullptr);
}

TYPED_TEST_P(RegistryContract, AListingGivesEveryValueWithWideNamesAndTextUpToItsLimit)
{
    this->world.store("1", platform::regSz, std::string("a.example\0", 10));
    this->world.store("2", platform::regDword, std::string("\1\0\0\0", 4));
    this->world.storeWide(u"3\u00e9", u"b\u00fccher.example");
    auto key = this->world.registry().openKeyToRead(platform::RegRoot::CurrentUser, this->world.keyPath());
    ASSERT_NE(key, nullptr);
    std::vector<platform::RegListedValue> listed = key->listValues(100);
    ASSERT_EQ(listed.size(), 3u);
    std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    auto wide = [](std::u16string_view text) {
        std::vector<std::uint8_t> bytes;
        for (char16_t unit : text)
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
        return bytes;
    };
    EXPECT_EQ(listed[0].name, u"1");
    EXPECT_EQ(listed[0].type, platform::regSz);
    EXPECT_EQ(listed[0].data, wide(std::u16string(u"a.example\0", 10)));
    EXPECT_EQ(listed[1].type, platform::regDword);
    EXPECT_EQ(listed[1].data, (std::vector<std::uint8_t>{1, 0, 0, 0}));
    EXPECT_EQ(listed[2].name, u"3\u00e9");
    EXPECT_EQ(listed[2].data, wide(std::u16string(u"b\u00fccher.example\0", 15)));
    EXPECT_EQ(key->listValues(2).size(), 2u);
}

TYPED_TEST_P(RegistryContract, AWatchTellsOfEachChangeBelowItsKeysOnceAndOfKeysMadeLater)
{
    const std::string later = this->world.keyPath() + "\\Later\\Deeper";
    auto watch = this->world.registry().watchKeys({{platform::RegRoot::CurrentUser, this->world.keyPath() + "\\Sub"},
                                                   {platform::RegRoot::CurrentUser, later}});
    ASSERT_NE(watch, nullptr);
    EXPECT_FALSE(watch->changed());
    this->world.makeKey(this->world.keyPath() + "\\Sub");
    EXPECT_TRUE(watch->changed()) << "a missing key is watched through its parent";
    EXPECT_FALSE(watch->changed()) << "told once";
    this->world.makeKey(later);
    EXPECT_TRUE(watch->changed());
    this->world.store("Unwatched", platform::regSz, std::string("x\0", 2));
    EXPECT_FALSE(watch->changed()) << "a value of the parent is no change of the watched keys";
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, AKeyIsOpenedOnlyWhenItExistsAndNeverCreated,
                            AWrittenStringIsStoredWithItsZeroFoundWhateverTheLetterCaseAndDeleted,
                            ValuesOfEveryTypeAndSizeReadExactlyAsStored, AKeyOpenedToReadIsReadAndNeverChanged,
                            AListingGivesEveryValueWithWideNamesAndTextUpToItsLimit,
                            AWatchTellsOfEachChangeBelowItsKeysOnceAndOfKeysMadeLater);
