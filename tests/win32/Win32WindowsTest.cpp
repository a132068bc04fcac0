// Win32 only. The window plumbing: every message of an adapter's window reaches
// its procedure inside the catch-all, and hooks see messages first.
#include "platform/win32/Win32Ui.h"
#include "platform/win32/Win32WindowMessages.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

class Win32Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        callbacks.setHandler([this](std::exception_ptr error) {
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& e) {
                errors.push_back(e.what());
            }
        });
    }

    struct NoEvents final : platform::IWindowEvents {
        void onCloseRequest() override {}
        bool onQueryEndSession() override { return true; }
        void onEndSession() override {}
        void onPaint(platform::ICanvas&) override {}
    };

    static constexpr UINT failing = WM_APP + 5;
    static constexpr UINT answered = WM_APP + 6;

    Win32Callbacks callbacks;
    Win32Ui ui{callbacks};
    Win32WindowMessages messages{callbacks};
    std::vector<std::string> errors;
};

} // namespace

TEST_F(Win32Windows, AnErrorInAProcedureReachesTheHandlerAndTheMessageAnswersZero)
{
    auto window = messages.newUtilityWindow("NombletPlumbingTest", [](const platform::WindowMessage& m) {
        if (m.message == failing)
            throw std::runtime_error("procedure failed");
        return m.message == answered ? std::intptr_t{42} : std::intptr_t{0};
    });
    ASSERT_NE(window, nullptr);
    HWND hwnd = toHwnd(window->handle());
    EXPECT_EQ(::SendMessageA(hwnd, answered, 0, 0), 42);
    EXPECT_EQ(::SendMessageA(hwnd, failing, 0, 0), 0);
    EXPECT_EQ(errors, std::vector<std::string>{"procedure failed"});

    // A second window of the same class shares the one registration.
    auto other = messages.newUtilityWindow("NombletPlumbingTest", [](const platform::WindowMessage&) { return 7; });
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(::SendMessageA(toHwnd(other->handle()), answered, 0, 0), 7);
}

TEST_F(Win32Windows, AHookSeesMessagesFirstOnePerWindowUntilItGoes)
{
    NoEvents events;
    auto window = ui.newWindow({.className = "NombletHookedTest", .caption = "", .bounds = {}}, events);
    std::vector<UINT> seen;
    auto hook = messages.hookWindow(*window, [&](const platform::WindowMessage& m) {
        if (m.message == failing)
            throw std::runtime_error("observer failed");
        seen.push_back(m.message);
    });
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(messages.hookWindow(*window, [](const platform::WindowMessage&) {}), nullptr);

    HWND hwnd = toHwnd(window->handle());
    ::SendMessageA(hwnd, answered, 0, 0);
    ::SendMessageA(hwnd, failing, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT>{answered});
    EXPECT_EQ(errors, std::vector<std::string>{"observer failed"});

    hook.reset();
    ::SendMessageA(hwnd, answered, 0, 0);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_NE(messages.hookWindow(*window, [](const platform::WindowMessage&) {}), nullptr);
}
