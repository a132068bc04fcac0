// The start-up registration: the read while loading, the rewrite rules, the setters.
#include "shell/AutoStart.h"

#include "support/FakeRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using platform::RegRoot;
using ::testing::ElementsAre;

namespace {

const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string runOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string servicesKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr RegRoot HKCU = RegRoot::CurrentUser;
constexpr RegRoot HKLM = RegRoot::LocalMachine;

class AutoStartTest : public ::testing::Test {
protected:
    AutoStartTest()
    {
        for (RegRoot root : {HKCU, HKLM})
            for (const std::string& key : {runKey, runOnceKey, servicesKey})
                registry.addKey(root, key);
    }

    // Creates the component as the main window's layout does: made by the loading
    // owner, then its four values in order.
    TAutoStart& load(TRegLocation location = TRegLocation::CurrentUser,
                     TAutoRunWhere where = TAutoRunWhere::Run, bool autoRun = true,
                     const std::string& name = "MyApplication")
    {
        owner.BeginLoading();
        auto& component = owner.Create<TAutoStart>(registry);
        component.SetRegLocation(location);
        component.SetAutoRunWhere(where);
        component.SetAutoRun(autoRun);
        component.SetAppName(name);
        owner.EndLoading();
        return component;
    }

    std::vector<std::string> operations() const
    {
        std::vector<std::string> result;
        for (const Call& call : registry.calls)
            if (call.operation == "writeString" || call.operation == "deleteValue")
                result.push_back(call.operation + " " + call.args[0] + " " + call.args[1]);
        return result;
    }

    FakeRegistry registry;
    TComponent owner{nullptr};
};

} // namespace

TEST_F(AutoStartTest, ConstructionTouchesNothingAndNamesTheValueOnlyInADesignEnvironment)
{
    auto& live = owner.Create<TAutoStart>(registry);
    EXPECT_EQ(live.AppName(), "");
    EXPECT_EQ(live.KeyPath(), "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(live.RegLocation(), TRegLocation::CurrentUser);
    EXPECT_EQ(live.AutoRunWhere(), TAutoRunWhere::Run);
    EXPECT_FALSE(live.AutoRun());
    EXPECT_TRUE(live.CanUseRegistry());

    // Made by a layout that is loading: its name and the read come from the layout.
    TComponent form(nullptr);
    form.BeginLoading();
    auto& loading = form.Create<TAutoStart>(registry);
    EXPECT_EQ(loading.AppName(), "");
    EXPECT_FALSE(loading.CanUseRegistry());
    form.EndLoading();

    TComponent designer(nullptr);
    designer.SetDesigning(true);
    auto& designed = designer.Create<TAutoStart>(registry);
    EXPECT_EQ(designed.AppName(), "MyApplication");
    EXPECT_FALSE(designed.CanUseRegistry());
    EXPECT_TRUE(registry.calls.empty());
}

TEST_F(AutoStartTest, LoadingFindsTheValueUnderTheUserRootWhateverTheLayoutSaid)
{
    registry.setString(HKCU, runKey, "MyApplication", "\"" + registry.program + "\"");

    auto& component = load(TRegLocation::LocalMachine, TAutoRunWhere::Run, false);

    EXPECT_TRUE(component.AutoRun());
    EXPECT_EQ(component.RegLocation(), TRegLocation::CurrentUser);
    EXPECT_EQ(component.AppName(), "MyApplication");
    // Read only: opened under the user root, found, never written or looked for elsewhere.
    EXPECT_THAT(registry.callsOf("openKey"), ElementsAre(Call{"openKey", {"HKCU", runKey}}));
    EXPECT_TRUE(operations().empty());
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(AutoStartTest, ValueOnlyUnderTheMachineRootIsFoundThereAndRemovedFromThereWhenTurnedOff)
{
    registry.setString(HKLM, runKey, "MyApplication", registry.program);

    auto& component = load();
    EXPECT_TRUE(component.AutoRun());
    EXPECT_EQ(component.RegLocation(), TRegLocation::LocalMachine);

    component.SetAutoRun(false);
    EXPECT_FALSE(component.AutoRun());
    EXPECT_FALSE(registry.value(HKLM, runKey, "MyApplication"));
    EXPECT_THAT(operations(), ElementsAre("deleteValue HKLM " + runKey));
}

TEST_F(AutoStartTest, ValueUnderBothRootsLoadsAsUserAndTheNextRewriteLeavesOneCopy)
{
    registry.setString(HKCU, runKey, "MyApplication", registry.program);
    registry.setString(HKLM, runKey, "MyApplication", "\"" + registry.program + "\"");

    auto& component = load();
    ASSERT_EQ(component.RegLocation(), TRegLocation::CurrentUser);
    ASSERT_TRUE(component.AutoRun());

    component.SetRegLocation(TRegLocation::LocalMachine);
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_EQ(registry.text(HKLM, runKey, "MyApplication"), "\"" + registry.program + "\"");
}

TEST_F(AutoStartTest, EmptyNonStringOrUnreadableValuesCountAsNotRegistered)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
    };
    const std::vector<Case> cases = {
        {"empty string", [&] { registry.setString(HKCU, runKey, "MyApplication", ""); }},
        {"number", [&] { registry.setValue(HKCU, runKey, "MyApplication", platform::regDword, {1, 0, 0, 0}); }},
        {"binary path",
         [&] { registry.setValue(HKLM, runKey, "MyApplication", platform::regBinary, {'C', ':', '\\', 0}); }},
        {"zero first", [&] { registry.setValue(HKCU, runKey, "MyApplication", platform::regSz, {0, 'x', 0}); }},
        {"read fails",
         [&] {
             registry.setString(HKCU, runKey, "MyApplication", registry.program);
             registry.setString(HKLM, runKey, "MyApplication", registry.program);
             registry.faults.failFrom("readValue");
         }},
        {"no key", [&] { registry.faults.failFrom("openKey"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry = FakeRegistry();
        registry.addKey(HKCU, runKey);
        registry.addKey(HKLM, runKey);
        c.prepare();

        auto& component = load(TRegLocation::LocalMachine);
        EXPECT_FALSE(component.AutoRun());
        EXPECT_EQ(component.RegLocation(), TRegLocation::LocalMachine) << "left as the layout set it";
        EXPECT_TRUE(operations().empty());
        owner.DestroyComponent(component);
    }
}

TEST_F(AutoStartTest, OnlyAValueThatStartsThisProgramCountsAsItsRegistration)
{
    const struct {
        const char* data;
        bool registered;
    } cases[] = {
        {"C:\\Program Files\\Nomblet\\nomblet.exe", true},
        {"\"C:\\Program Files\\Nomblet\\nomblet.exe\"", true},
        {"c:\\PROGRAM FILES\\nomblet\\NOMBLET.EXE", true},
        {"C:\\Program Files\\Other\\other.exe", false},
        {"\"C:\\Program Files\\Nomblet\\nomblet.exe\" /min", false},
        {"\"C:\\Program Files\\Nomblet\\nomblet.exe", false},
        {"C:\\Program Files\\Nomblet\\nomblet", false},
        {"\"\"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        for (std::uint32_t type : {platform::regSz, platform::regExpandSz}) {
            registry.setString(HKCU, runKey, "MyApplication", c.data, type);
            auto& component = load();
            EXPECT_EQ(component.AutoRun(), c.registered);
            owner.DestroyComponent(component);
        }
    }

    // Without its own path the program recognises nothing.
    registry.setString(HKCU, runKey, "MyApplication", registry.program);
    registry.faults.failFrom("programPath");
    EXPECT_FALSE(load().AutoRun());
}

TEST_F(AutoStartTest, AnotherProgramsValueOfTheNameIsNeverShownOverwrittenOrDeleted)
{
    registry.setString(HKCU, runKey, "MyApplication", "C:\\Other\\other.exe");
    registry.setString(HKLM, runKey, "MyApplication", "C:\\Other\\other.exe");
    auto& component = load();
    EXPECT_FALSE(component.AutoRun());

    component.SetAutoRun(true);
    EXPECT_FALSE(component.AutoRun()) << "no registration could be made";
    component.SetAutoRun(true);
    component.SetRegLocation(TRegLocation::LocalMachine);
    EXPECT_TRUE(operations().empty());
    EXPECT_EQ(registry.text(HKCU, runKey, "MyApplication"), "C:\\Other\\other.exe");
    EXPECT_EQ(registry.text(HKLM, runKey, "MyApplication"), "C:\\Other\\other.exe");
}

TEST_F(AutoStartTest, TurningOnWritesTheQuotedProgramPathUnderTheChosenRootAfterClearingBoth)
{
    registry.setString(HKLM, runKey, "MyApplication", registry.program); // an older, unquoted registration
    registry.faults.failFrom("readValue"); // load as not registered
    auto& component = load();
    registry.faults.clear();
    registry.calls.clear();

    component.SetAutoRun(true);

    EXPECT_TRUE(component.AutoRun());
    EXPECT_THAT(operations(), ElementsAre("deleteValue HKLM " + runKey, "writeString HKCU " + runKey));
    auto value = registry.value(HKCU, runKey, "MyApplication");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, platform::regSz);
    std::string expected = "\"C:\\Program Files\\Nomblet\\nomblet.exe\"";
    expected.push_back('\0'); // with its terminating zero
    EXPECT_EQ(std::string(value->data.begin(), value->data.end()), expected);
    EXPECT_FALSE(registry.value(HKLM, runKey, "MyApplication"));
    EXPECT_EQ(registry.openKeys, 0);

    component.SetAutoRun(false);
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
}

TEST_F(AutoStartTest, TurningOnWhenAlreadyOnTouchesNothingEvenIfTheValueWentMissing)
{
    registry.setString(HKCU, runKey, "MyApplication", registry.program);
    auto& component = load();
    ASSERT_TRUE(component.AutoRun());
    registry = FakeRegistry(); // someone else cleared the registry
    registry.addKey(HKCU, runKey);

    component.SetAutoRun(true);
    EXPECT_TRUE(registry.calls.empty());
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
}

TEST_F(AutoStartTest, ChangingTheRootMovesAWrittenValueOrClearsBothWhenOff)
{
    auto& component = load();
    component.SetAutoRun(true);
    ASSERT_TRUE(registry.value(HKCU, runKey, "MyApplication"));

    component.SetRegLocation(TRegLocation::LocalMachine);
    EXPECT_EQ(component.RegLocation(), TRegLocation::LocalMachine);
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_EQ(registry.text(HKLM, runKey, "MyApplication"), "\"" + registry.program + "\"");

    component.SetAutoRun(false);
    registry.setString(HKCU, runKey, "MyApplication", registry.program);
    registry.calls.clear();
    component.SetRegLocation(TRegLocation::CurrentUser);
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_FALSE(registry.value(HKLM, runKey, "MyApplication"));
    EXPECT_TRUE(registry.callsOf("writeString").empty());

    registry.calls.clear();
    component.SetRegLocation(TRegLocation::CurrentUser); // unchanged: nothing at all
    EXPECT_TRUE(registry.calls.empty());
}

TEST_F(AutoStartTest, ServiceKeysGoOnlyWithTheMachineRoot)
{
    auto& component = load();
    component.SetAutoRunWhere(TAutoRunWhere::RunServices);
    EXPECT_EQ(component.AutoRunWhere(), TAutoRunWhere::Run);
    EXPECT_EQ(component.KeyPath(), "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");

    component.SetRegLocation(TRegLocation::LocalMachine);
    component.SetAutoRunWhere(TAutoRunWhere::RunServicesOnce);
    EXPECT_EQ(component.AutoRunWhere(), TAutoRunWhere::RunServicesOnce);
    EXPECT_EQ(component.KeyPath(), "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce");

    // Back to the user root: the field follows the rule, the key stays until assigned again.
    component.SetRegLocation(TRegLocation::CurrentUser);
    EXPECT_EQ(component.AutoRunWhere(), TAutoRunWhere::Run);
    EXPECT_EQ(component.KeyPath(), "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce");
}

TEST_F(AutoStartTest, ChangingTheKeyLeavesAWrittenValueAndLaterRewritesUseTheNewKey)
{
    auto& component = load();
    component.SetAutoRun(true);
    registry.calls.clear();

    component.SetAutoRunWhere(TAutoRunWhere::RunOnce);
    EXPECT_TRUE(registry.calls.empty());
    EXPECT_EQ(component.KeyPath(), "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce");

    component.SetAutoRun(false);
    EXPECT_TRUE(registry.value(HKCU, runKey, "MyApplication")) << "the value under Run stays";
    EXPECT_TRUE(operations().empty()) << "nothing of the program's under RunOnce to delete";

    component.SetAutoRun(true);
    EXPECT_EQ(registry.text(HKCU, runOnceKey, "MyApplication"), "\"" + registry.program + "\"");
}

TEST_F(AutoStartTest, ADeniedMachineRootIsPassedOverSilently)
{
    registry.setString(HKLM, runKey, "MyApplication", "C:\\admin.exe");
    registry.denyAccess(HKLM, runKey);

    // Full access is asked even to read: the machine's copy is not seen.
    auto& component = load();
    EXPECT_FALSE(component.AutoRun());
    EXPECT_EQ(component.RegLocation(), TRegLocation::CurrentUser);

    component.SetAutoRun(true);
    EXPECT_EQ(registry.text(HKCU, runKey, "MyApplication"), "\"" + registry.program + "\"");
    EXPECT_TRUE(registry.value(HKLM, runKey, "MyApplication"));

    EXPECT_NO_THROW(component.SetRegLocation(TRegLocation::LocalMachine));
    EXPECT_FALSE(component.AutoRun()) << "the write could not be made";
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_EQ(registry.text(HKLM, runKey, "MyApplication"), "C:\\admin.exe");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST_F(AutoStartTest, FailuresAreSwallowedAndKeysAreNeverCreated)
{
    FakeRegistry bare; // no Run key anywhere
    auto& component = owner.Create<TAutoStart>(bare);
    owner.BeginLoading();
    component.SetAppName("MyApplication");
    owner.EndLoading();

    component.SetAutoRun(true);
    EXPECT_FALSE(component.AutoRun()) << "nothing could be registered";
    EXPECT_FALSE(bare.value(HKCU, runKey, "MyApplication"));
    EXPECT_TRUE(bare.callsOf("writeString").empty());

    registry.faults.failFrom("*");
    auto& other = load();
    EXPECT_NO_THROW(other.SetAutoRun(true));
    EXPECT_FALSE(other.AutoRun());
}

TEST_F(AutoStartTest, WithoutTheProgramPathNothingIsWritten)
{
    auto& component = load();
    registry.faults.failFrom("programPath");
    component.SetAutoRun(true);
    EXPECT_FALSE(component.AutoRun());
    EXPECT_FALSE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_TRUE(registry.callsOf("writeString").empty());
}

TEST_F(AutoStartTest, AppNameIsFixedAfterLoadingButEditableInADesignEnvironment)
{
    auto& component = load();
    component.SetAppName("Other");
    EXPECT_EQ(component.AppName(), "MyApplication");
    component.SetAutoRun(true);
    EXPECT_TRUE(registry.value(HKCU, runKey, "MyApplication"));
    EXPECT_FALSE(registry.value(HKCU, runKey, "Other"));

    TComponent designer(nullptr);
    designer.SetDesigning(true);
    auto& designed = designer.Create<TAutoStart>(registry);
    designed.SetAppName("Cookies");
    EXPECT_EQ(designed.AppName(), "Cookies");
    designed.SetAppName("");
    EXPECT_EQ(designed.AppName(), "Cookies");

    registry.calls.clear();
    designed.SetAutoRun(true);
    designed.SetRegLocation(TRegLocation::LocalMachine);
    EXPECT_FALSE(designed.AutoRun());
    EXPECT_EQ(designed.RegLocation(), TRegLocation::LocalMachine);
    EXPECT_TRUE(registry.calls.empty()) << "a design environment never touches the registry";
}

TEST_F(AutoStartTest, NothingIsWrittenWhenTheComponentGoes)
{
    {
        TComponent form(nullptr);
        auto& component = form.Create<TAutoStart>(registry);
        form.BeginLoading();
        component.SetAppName("MyApplication");
        form.EndLoading();
        component.SetAutoRun(true);
        registry.calls.clear();
    }
    EXPECT_TRUE(registry.callsOf("deleteValue").empty());
    EXPECT_TRUE(registry.value(HKCU, runKey, "MyApplication"));
}
