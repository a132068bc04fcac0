// The sounds of munched cookies, a burst heard as the ear heard it.
#include "app/MunchSounds.h"

#include <utility>

MunchSounds::MunchSounds(platform::IUi& ui, TWave& crunch, TWave& burp, const TMenuItem& soundsOn)
    : crunch_(crunch), burp_(burp), soundsOn_(soundsOn), spacing_(nullptr, ui)
{
    spacing_.SetEnabled(false);
    spacing_.SetInterval(spacingMs);
    spacing_.SetOnTimer([this](TObject*) { spacingEnded(); });
}

void MunchSounds::Munched(std::uint16_t count, std::uint64_t cookies)
{
    if (!soundsOn_.Checked || cookies == 0)
        return;
    // The first cookie of a burst is heard at once; the others only make the
    // burst go on, the last one's sounds pending.
    if (!spacing_.Enabled()) {
        play(static_cast<std::uint16_t>(count - (cookies - 1)));
        spacing_.SetEnabled(true);
        if (cookies == 1)
            return;
    }
    last_ = count;
    burstGoesOn_ = true;
}

void MunchSounds::play(std::uint16_t count)
{
    crunch_.Play();
    if (count % 5 == 0)
        burp_.Play(); // at once: it cuts the crunch short
}

void MunchSounds::spacingEnded()
{
    if (std::exchange(burstGoesOn_, false))
        return;
    spacing_.SetEnabled(false);
    if (auto count = std::exchange(last_, std::nullopt); count && soundsOn_.Checked)
        play(*count);
}
