// Paced sounds of the cleanup commands.
#include "app/SoundPacer.h"

#include <utility>

void SoundPacer::Play(TWave& wave)
{
    auto now = now_();
    if (started_ && now - last_ < spacing) {
        waiting_ = &wave;
        return;
    }
    waiting_ = nullptr;
    started_ = true;
    last_ = now;
    wave.Play();
}

void SoundPacer::Finish()
{
    if (TWave* wave = std::exchange(waiting_, nullptr)) {
        last_ = now_();
        wave->Play();
    }
}
