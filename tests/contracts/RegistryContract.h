// What every registry promises the program, run against each implementation.
// A world gives the registry and one existing key under the current user
// (keyPath), and stores values into it from outside the service (store).
#pragma once

#include "contracts/WorldNames.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <string>

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

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, AKeyIsOpenedOnlyWhenItExistsAndNeverCreated,
                            AWrittenStringIsStoredWithItsZeroFoundWhateverTheLetterCaseAndDeleted,
                            ValuesOfEveryTypeAndSizeReadExactlyAsStored);
