// The wave image check and the "Data" stream reader on any bytes.
//
// The check: an image it accepts can be walked by a player that trusts its
// sizes without leaving the block (the walk below reads from an exact-size
// copy, so the address sanitizer sees any step outside), its format fields
// are consistent (what the player divides by is not 0, the channels and the
// rate are within reason, PCM's sizes follow from its bits), and the sound is
// handed to the player exactly when the check accepts it.
// The reader: it takes what the size prefix says, cut to what the stream
// holds, never more; what it took is written back byte for byte.
#include "FuzzInput.h"
#include "support/FakeFileSystem.h"
#include "support/FakeSound.h"
#include "toolkit/MemoryStream.h"
#include "widgets/WaveSound.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::uint32_t le32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

std::uint32_t le16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

// What a player takes from the format: it divides by the block align and the
// bytes a second, makes a buffer per channel, and for PCM derives both sizes.
void checkFormat(const std::uint8_t* fields)
{
    const std::uint32_t tag = le16(fields), channels = le16(fields + 2), rate = le32(fields + 4);
    const std::uint32_t bytesPerSecond = le32(fields + 8), blockAlign = le16(fields + 12), bits = le16(fields + 14);
    FUZZ_CHECK(channels >= 1 && channels <= 8);
    FUZZ_CHECK(rate >= 1 && rate <= 384000);
    FUZZ_CHECK(blockAlign != 0 && bytesPerSecond != 0);
    if (tag == 1) {
        FUZZ_CHECK(bits % 8 == 0 && bits >= 8 && bits <= 32);
        FUZZ_CHECK(blockAlign * 8 == channels * bits);
        FUZZ_CHECK(std::uint64_t(bytesPerSecond) == std::uint64_t(rate) * blockAlign);
    }
}

// What a trusting player does: walks the chunks by their sizes to the format
// and the data, reads the format's fields and touches every sample byte.
void walkLikeAPlayer(const std::uint8_t* image, std::size_t size)
{
    std::size_t offset = 12;
    bool format = false;
    volatile std::uint8_t sink = 0;
    for (;;) {
        FUZZ_CHECK(offset <= size && size - offset >= 8);
        const std::uint8_t* chunk = image + offset;
        std::uint32_t length = le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !format) {
            for (std::uint32_t i = 0; i < 16; ++i)
                sink = sink ^ chunk[8 + i];
            checkFormat(chunk + 8);
            format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && format) {
            for (std::uint32_t i = 0; i < length; ++i)
                sink = sink ^ chunk[8 + i];
            return;
        }
        offset += 8 + std::size_t(length) + (length & 1);
    }
}

void checkImage(const std::uint8_t* data, std::size_t size)
{
    auto image = std::make_unique<std::uint8_t[]>(size);
    std::copy(data, data + size, image.get());
    bool accepted = waveImageIsPlayable(image.get(), size);
    if (accepted)
        walkLikeAPlayer(image.get(), size);

    FakeFileSystem files;
    FakeSound sound;
    {
        TWaveData wave(files, sound);
        wave.SetData(static_cast<std::int32_t>(size), image.get());
        wave.Play();
        FUZZ_CHECK(sound.played.size() == (accepted ? 1u : 0u));
    }
}

void checkReader(const std::uint8_t* data, std::size_t size)
{
    FakeFileSystem files;
    FakeSound sound;
    TWaveData wave(files, sound);
    wave.SetData(3, "old"); // whatever was there goes
    TMemoryStream stream(std::vector<std::uint8_t>(data, data + size));
    wave.ReadData(stream);

    std::size_t expected = 0;
    if (size >= 4) {
        auto claimed = static_cast<std::int32_t>(le32(data));
        if (claimed > 0)
            expected = std::min<std::size_t>(std::size_t(claimed), size - 4);
    }
    FUZZ_CHECK(std::size_t(wave.Size()) == expected);
    FUZZ_CHECK(wave.IsEmpty() == (expected == 0));
    FUZZ_CHECK(expected == 0 || std::equal(data + 4, data + 4 + expected, wave.Image()));

    TMemoryStream written;
    wave.WriteData(written);
    FUZZ_CHECK(written.Size() == std::int64_t(4 + expected));
    written.SetPosition(0);
    TWaveData again(files, sound);
    again.ReadData(written);
    FUZZ_CHECK(again.Size() == wave.Size());
    FUZZ_CHECK(expected == 0 || std::equal(wave.Image(), wave.Image() + expected, again.Image()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkImage(data, size);
    checkReader(data, size);
    return 0;
}
