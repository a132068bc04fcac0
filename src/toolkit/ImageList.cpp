// Image lists.
#include "toolkit/ImageList.h"

void TImageList::AddIconResource(const std::string& name)
{
    TIcon image;
    image.LoadFromResourceName(icons_, name, {Width, Height});
    images_.push_back(std::move(image));
}

void TImageList::GetIcon(int index, TIcon& icon) const
{
    if (index >= 0 && index < Count())
        icon.Assign(images_[static_cast<std::size_t>(index)]);
}
