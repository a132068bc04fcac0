// Resolution of colour values.
#include "toolkit/Color.h"

#include "platform/Ui.h"

std::uint32_t ColorToRGB(TColor color, platform::IUi& ui)
{
    if (color < 0)
        return ui.sysColor(color & 0xFF);
    return static_cast<std::uint32_t>(color) & 0x00FFFFFF;
}
