// A tray icon as the program makes one: owned by the main form, with an image
// list of the six tray images and a popup menu, read like a layout.
#pragma once

#include "shell/TrayIcon.h"
#include "support/FakePlatform.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

#include <gtest/gtest.h>

class TrayIconFixture : public ::testing::Test {
protected:
    // The component is created by its owner, with the application and the
    // notification-area service; its icon is added once loading has ended.
    TTrayIcon& createTrayIcon()
    {
        form.BeginLoading();
        images = &form.Create<TImageList>(menus);
        for (const char* name : {"TRAY0", "TRAY1", "TRAY2", "TRAY3", "TRAY4", "TRAY5"})
            images->AddIconResource(name);
        menu = &form.Create<TPopupMenu>(menus);
        tray = &form.Create<TTrayIcon>(app, messages, fakes.notifyArea);
        tray->SetIconList(images);
        tray->SetCycleInterval(100);
        tray->SetShowHint(true);
        tray->PopupMenu = menu;
        tray->LeftPopup = true;
        form.EndLoading();
        return *tray;
    }

    TMenuItem& addItem(const std::string& caption, bool isDefault = false)
    {
        TMenuItem& item = form.Create<TMenuItem>();
        item.Caption = caption;
        item.Default = isDefault;
        menu->Items().Add(item);
        return item;
    }

    // The resource of the image the notification area shows now.
    std::string shownImage() const
    {
        auto it = fakes.notifyArea.icons.find(tray->NotifyData().hWnd);
        return it == fakes.notifyArea.icons.end() ? "<none>" : menus.iconResource(it->second.hIcon);
    }

    // The user acts on the icon with the mouse.
    void mouse(unsigned mouseMessage) { ASSERT_TRUE(fakes.notifyArea.mouse(mouseMessage)); }

    FakePlatform fakes;
    FakeUi& ui = fakes.ui;
    FakeWindowMessages& messages = fakes.windowMessages;
    FakeIconsAndMenus& menus = fakes.iconsAndMenus;
    TApplication app{ui};
    TForm& form = app.CreateForm<TForm>("TForm1");
    TImageList* images = nullptr;
    TPopupMenu* menu = nullptr;
    TTrayIcon* tray = nullptr;
};
