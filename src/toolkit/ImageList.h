// A list of same-sized images, taken from the program's icon resources.
// UI thread only.
#pragma once

#include "toolkit/Component.h"
#include "toolkit/Icon.h"
#include "platform/IconsAndMenus.h"

#include <string>
#include <vector>

class TImageList : public TComponent {
public:
    TImageList(TComponent* owner, platform::IIconsAndMenus& icons) : TComponent(owner), icons_(icons) {}

    int Width = 16;
    int Height = 16;

    // Appends the named icon resource as the next image.
    void AddIconResource(const std::string& name);
    int Count() const { return static_cast<int>(images_.size()); }
    // Makes the icon show image n; an index outside the list leaves it as it is.
    void GetIcon(int index, TIcon& icon) const;

private:
    platform::IIconsAndMenus& icons_;
    std::vector<TIcon> images_;
};
