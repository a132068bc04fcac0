// The paced sounds of munched cookies.
#include "app/MunchSounds.h"

#include <utility>

MunchSounds::MunchSounds(platform::IUi& ui, TWave& crunch, TWave& burp, const TMenuItem& soundsOn)
    : crunch_(crunch), burp_(burp), soundsOn_(soundsOn), spacing_(nullptr, ui)
{
    spacing_.SetEnabled(false);
    spacing_.SetInterval(spacingMs);
    spacing_.SetOnTimer([this](TObject*) { spacingEnded(); });
}

void MunchSounds::Munched(std::uint16_t count)
{
    if (!soundsOn_.Checked)
        return;
    // The burp follows the crunch at once and cuts it short: it is what stays.
    TWave& last = count % 5 == 0 ? burp_ : crunch_;
    if (spacing_.Enabled()) {
        pending_ = &last;
        return;
    }
    crunch_.Play();
    if (&last == &burp_)
        burp_.Play();
    spacing_.SetEnabled(true);
}

void MunchSounds::spacingEnded()
{
    TWave* next = std::exchange(pending_, nullptr);
    if (!next || !soundsOn_.Checked) {
        spacing_.SetEnabled(false);
        return;
    }
    next->Play(); // the timer runs on: this sound has its spacing too
}
