// Icon images.
#include "toolkit/Icon.h"

void TIcon::LoadFromResourceName(platform::IIconsAndMenus& icons, const std::string& name, platform::Size size)
{
    image_ = std::make_shared<Image>(Image{icons, name, size, nullptr});
}

const std::string& TIcon::ResourceName() const
{
    static const std::string none;
    return image_ ? image_->name : none;
}

platform::IconHandle TIcon::Handle() const
{
    if (!image_)
        return {};
    if (!image_->loaded)
        image_->loaded = image_->icons.loadIcon(image_->name, image_->size);
    return image_->loaded ? image_->loaded->handle() : platform::IconHandle{};
}
