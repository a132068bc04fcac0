// An icon image: empty, or an icon resource of the program that the system
// loads when its handle is first needed. Copies share one loaded image.
// UI thread only.
#pragma once

#include "platform/IconsAndMenus.h"

#include <memory>
#include <string>

class TIcon {
public:
    TIcon() = default;

    // Shows the named icon resource at the given size; loaded on demand.
    void LoadFromResourceName(platform::IIconsAndMenus& icons, const std::string& name, platform::Size size = {16, 16});
    // Shows the same image as the source (the toolkit's icon assignment).
    void Assign(const TIcon& source) { image_ = source.image_; }

    bool Empty() const { return image_ == nullptr; }
    const std::string& ResourceName() const;
    // The system's handle, loading the image if need be; 0 when empty or the
    // image cannot be loaded.
    platform::IconHandle Handle() const;

private:
    struct Image {
        platform::IIconsAndMenus& icons;
        std::string name;
        platform::Size size;
        std::unique_ptr<platform::IIcon> loaded;
    };
    std::shared_ptr<Image> image_;
};
