// Menu items: the tree and the click.
#include "toolkit/Menus.h"

#include <gtest/gtest.h>

TEST(Menus, ItemsJoinOneParentAndLeaveItWhenFreed)
{
    TComponent owner(nullptr);
    TPopupMenu& menu = owner.Create<TPopupMenu>();
    TMenuItem& a = owner.Create<TMenuItem>();
    TMenuItem& b = owner.Create<TMenuItem>();
    menu.Items().Add(a);
    menu.Items().Add(b);
    a.Add(b); // moves
    EXPECT_EQ(menu.Items().Count(), 1);
    EXPECT_EQ(b.Parent(), &a);

    owner.DestroyComponent(b);
    EXPECT_EQ(a.Count(), 0);
}

TEST(Menus, ClickRaisesOnClickWithTheItemAsSender)
{
    TComponent owner(nullptr);
    TMenuItem& item = owner.Create<TMenuItem>();
    item.Click(); // no handler: nothing
    TObject* sender = nullptr;
    item.OnClick = [&](TObject* s) { sender = s; };
    item.Click();
    EXPECT_EQ(sender, &item);
}
