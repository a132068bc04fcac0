// What every notification area promises the tray icon, run against each
// implementation. A world gives the service, a hidden window and two icons.
#pragma once

#include "contracts/WorldNames.h"
#include "platform/NotifyArea.h"

#include <gtest/gtest.h>

#include <cstring>

template <typename World>
class NotifyAreaContract : public testing::Test {
protected:
    World world;
};

TYPED_TEST_SUITE_P(NotifyAreaContract);

TYPED_TEST_P(NotifyAreaContract, AnIconIsChangedAndRemovedOnlyWhileShown)
{
    platform::NotifyIconData data;
    data.hWnd = this->world.window();
    data.uCallbackMessage = 2048;
    data.hIcon = this->world.icon(0);
    std::strcpy(data.szTip.data(), "Nomblet");
    platform::INotifyArea& area = this->world.notifyArea();

    EXPECT_FALSE(area.modify(data)) << "not there yet";
    EXPECT_FALSE(area.remove(data)) << "not there yet";
    EXPECT_TRUE(area.add(data));
    data.hIcon = this->world.icon(1);
    EXPECT_TRUE(area.modify(data));
    EXPECT_TRUE(area.remove(data));
    EXPECT_FALSE(area.modify(data)) << "gone";
    EXPECT_FALSE(area.remove(data)) << "gone";
}

REGISTER_TYPED_TEST_SUITE_P(NotifyAreaContract, AnIconIsChangedAndRemovedOnlyWhileShown);
