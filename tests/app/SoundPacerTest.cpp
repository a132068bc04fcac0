// Sounds in quick succession: one start per spacing, the last one waiting starts at the end.
#include "app/SoundPacer.h"
#include "resources/BuiltinSounds.h"
#include "support/FakePlatform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(SoundPacer, StartsOneSoundPerSpacingAndTheLastOneWaitingAtTheEnd)
{
    struct Case {
        std::vector<int> atMs;   // when each sound is asked for
        std::vector<int> played; // which of them start, in order, Finish included
    } cases[] = {
        {{0, 10, 20, 60, 70, 200}, {0, 3, 5}},
        {{0, 10, 20}, {0, 2}}, // the last one waiting starts at the end
        {{0, 49, 50}, {0, 2}}, // exactly one spacing later is late enough
        {{100, 300, 500}, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        FakePlatform fakes;
        std::vector<std::unique_ptr<TWave>> waves;
        std::size_t next = 0;
        SoundPacer pacer([&] { return std::chrono::steady_clock::time_point{} + 1ms * c.atMs[next]; });
        std::vector<int> started;
        for (std::size_t i = 0; i < c.atMs.size(); ++i) {
            waves.push_back(std::make_unique<TWave>(nullptr, fakes.services));
            TMemoryStream data = BuiltinCrunchData();
            waves.back()->WaveData()->ReadData(data);
            next = i;
            std::size_t before = fakes.sound.played.size();
            pacer.Play(*waves.back());
            if (fakes.sound.played.size() > before)
                started.push_back(static_cast<int>(i));
        }
        std::size_t before = fakes.sound.played.size();
        pacer.Finish();
        if (fakes.sound.played.size() > before)
            started.push_back(static_cast<int>(c.atMs.size() - 1));
        EXPECT_EQ(started, c.played) << testing::PrintToString(c.atMs);
    }
}
