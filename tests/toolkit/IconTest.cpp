// Icons and image lists: images loaded once, on demand, and shared by copies.
#include "toolkit/ImageList.h"

#include "support/FakeIconsAndMenus.h"

#include <gtest/gtest.h>

TEST(Icon, AnImageIsLoadedOnFirstUseAndSharedByItsCopies)
{
    FakeUi ui;
    FakeIconsAndMenus icons{ui};
    TComponent owner(nullptr);
    TImageList& list = owner.Create<TImageList>(icons);
    list.AddIconResource("TRAY0");
    list.AddIconResource("TRAY1");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_TRUE(icons.callsOf("loadIcon").empty());

    TIcon a, b;
    EXPECT_EQ(a.Handle(), platform::IconHandle{});
    list.GetIcon(1, a);
    list.GetIcon(1, b);
    EXPECT_EQ(a.Handle(), b.Handle());
    EXPECT_EQ(icons.iconResource(a.Handle()), "TRAY1");
    EXPECT_EQ(icons.callsOf("loadIcon"), (std::vector<Call>{{"loadIcon", {"TRAY1", "16x16"}}}));

    list.GetIcon(2, a); // outside the list: unchanged
    EXPECT_EQ(a.ResourceName(), "TRAY1");
    owner.DestroyComponent(list);
    EXPECT_EQ(icons.iconResource(b.Handle()), "TRAY1"); // copies outlive the list
    a = TIcon();
    b = TIcon();
    EXPECT_EQ(icons.liveIcons(), 0u);
}

TEST(Icon, AnImageTheSystemCannotLoadHasNoHandle)
{
    FakeUi ui;
    FakeIconsAndMenus icons{ui};
    TIcon icon;
    icon.LoadFromResourceName(icons, "MISSING");
    icons.faults.failNext("loadIcon");
    EXPECT_EQ(icon.Handle(), platform::IconHandle{});
    EXPECT_NE(icon.Handle(), platform::IconHandle{}); // tried again on the next use
}
