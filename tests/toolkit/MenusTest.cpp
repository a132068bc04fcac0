// Menu items: the tree and the click.
#include "toolkit/Menus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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

#include "support/FakeIconsAndMenus.h"

namespace {
struct PopupFixture {
    FakeUi ui;
    FakeIconsAndMenus menus{ui};
    TComponent owner{nullptr};
    TPopupMenu& menu = owner.Create<TPopupMenu>(menus);
    TMenuItem& add(TMenuItem& parent, const char* caption)
    {
        TMenuItem& item = owner.Create<TMenuItem>();
        item.Caption = caption;
        parent.Add(item);
        return item;
    }
};
} // namespace

TEST(Menus, PopupShowsTheItemTreeAsOnPopupLeftItAndRunsTheChosenItem)
{
    PopupFixture f;
    TMenuItem& count = f.add(f.menu.Items(), "Munched = 0");
    f.add(f.menu.Items(), "-");
    TMenuItem& sounds = f.add(f.menu.Items(), "Modify Sounds");
    TMenuItem& burp = f.add(sounds, "Burp Sound");
    TMenuItem& exit = f.add(f.menu.Items(), "Exit");
    exit.Default = true;
    f.menu.OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, &f.menu);
        count.Caption = "Munched = 7";
        count.Checked = true;
    };
    TObject* clicked = nullptr;
    burp.OnClick = [&](TObject* sender) { clicked = sender; };
    f.menus.menuChoice = "Modify Sounds/Burp Sound";
    f.menu.Popup(30, 40);

    EXPECT_EQ(clicked, &burp);
    EXPECT_EQ(f.menus.callsOf("trackPopupMenu")[0].args, (std::vector<std::string>{"30", "40"}));
    const auto& m = f.menus.lastMenu;
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].caption, "Munched = 7");
    EXPECT_TRUE(m[0].checked);
    EXPECT_EQ(m[1].caption, "-");
    ASSERT_EQ(m[2].items.size(), 1u);
    EXPECT_EQ(m[2].items[0].caption, "Burp Sound");
    EXPECT_TRUE(m[3].isDefault);
    EXPECT_FALSE(m[0].isDefault);
    // Every entry has its own id.
    std::set<unsigned> ids{m[0].id, m[1].id, m[2].id, m[2].items[0].id, m[3].id};
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_EQ(ids.count(0), 0u);
}

TEST(Menus, HiddenItemsAreLeftOutAndGreyedOnesCannotBeChosen)
{
    struct Case {
        bool visible;
        bool enabled;
        bool shown;
        bool runs;
    };
    for (const Case& c : {Case{true, true, true, true}, Case{true, false, true, false}, Case{false, true, false, false}}) {
        PopupFixture f;
        TMenuItem& browsers = f.add(f.menu.Items(), "Other Browsers");
        TMenuItem& row = f.add(browsers, "Firefox");
        f.add(browsers, "Brave");
        row.Visible = c.visible;
        row.Enabled = c.enabled;
        int clicks = 0;
        row.OnClick = [&](TObject*) { ++clicks; };
        f.menus.menuChoice = "Other Browsers/Firefox";
        f.menu.Popup(0, 0);
        EXPECT_EQ(clicks, c.runs ? 1 : 0) << c.visible << c.enabled;
        std::vector<std::string> captions;
        for (const platform::MenuEntry& entry : f.menus.lastMenu.at(0).items) {
            captions.push_back(entry.caption);
            if (entry.caption == "Firefox") {
                EXPECT_EQ(entry.enabled, c.enabled);
            }
        }
        EXPECT_EQ(std::count(captions.begin(), captions.end(), "Firefox"), c.shown ? 1 : 0);
        EXPECT_EQ(std::count(captions.begin(), captions.end(), "Brave"), 1);
    }
}

TEST(Menus, ADismissedMenuOrAnItemFreedWhileItWasOpenRunsNothing)
{
    PopupFixture f;
    TMenuItem& item = f.add(f.menu.Items(), "Exit");
    int clicks = 0;
    item.OnClick = [&](TObject*) { ++clicks; };
    f.menu.Popup(0, 0); // no choice: dismissed
    f.menus.menuChoice = "Exit";
    f.menus.whileMenuOpen = [&] { f.owner.DestroyComponent(item); };
    f.menu.Popup(0, 0);
    EXPECT_EQ(clicks, 0);
}

TEST(Menus, AMenuWithoutTheUiServiceOnlyRaisesOnPopup)
{
    TComponent owner(nullptr);
    TPopupMenu& menu = owner.Create<TPopupMenu>();
    int popups = 0;
    menu.OnPopup = [&](TObject*) { ++popups; };
    menu.Popup(1, 2);
    EXPECT_EQ(popups, 1);
}
