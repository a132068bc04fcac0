// Wave sounds held in memory.
#include "widgets/WaveSound.h"

#include "platform/Errors.h"
#include "toolkit/Error.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

namespace {

std::uint32_t littleEndian32(const std::uint8_t* bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

} // namespace

bool waveFormatAgrees(const std::uint8_t* fields)
{
    const auto word = [&](int at) { return std::uint32_t(fields[at]) | std::uint32_t(fields[at + 1]) << 8; };
    const std::uint32_t tag = word(0), channels = word(2), blockAlign = word(12), bits = word(14);
    const std::uint32_t rate = littleEndian32(fields + 4), bytesPerSecond = littleEndian32(fields + 8);
    constexpr std::uint32_t pcm = 1, mostChannels = 8, highestRate = 384000;
    if (channels < 1 || channels > mostChannels || rate < 1 || rate > highestRate || blockAlign == 0 ||
        bytesPerSecond == 0)
        return false;
    if (tag != pcm)
        return true;
    return (bits == 8 || bits == 16 || bits == 24 || bits == 32) && blockAlign == channels * bits / 8 &&
           bytesPerSecond == rate * blockAlign;
}

bool waveImageIsPlayable(const std::uint8_t* image, std::size_t size)
{
    if (!image || size < 12 || std::memcmp(image, "RIFF", 4) != 0 || std::memcmp(image + 8, "WAVE", 4) != 0)
        return false;
    bool format = false;
    std::size_t offset = 12;
    while (size - offset >= 8) {
        const std::uint8_t* chunk = image + offset;
        std::uint32_t length = littleEndian32(chunk + 4);
        if (length > size - offset - 8)
            return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            format = length >= 16 && waveFormatAgrees(chunk + 8);
            if (!format)
                return false;
        }
        else if (std::memcmp(chunk, "data", 4) == 0 && format)
            return true;
        // Chunks start at even offsets.
        std::size_t next = std::size_t(8) + length + (length & 1);
        if (next > size - offset)
            return false;
        offset += next;
    }
    return false;
}

TWaveData::TWaveData(platform::IFileSystem& fileSystem, platform::ISound& sound)
    : fileSystem_(fileSystem), sound_(sound)
{
}

TWaveData::~TWaveData()
{
    Clear();
}

void TWaveData::Clear()
{
    if (IsEmpty())
        return;
    if (mayBePlaying_) {
        sound_.stop();
        mayBePlaying_ = false;
    }
    std::vector<std::uint8_t>().swap(image_); // an empty object holds no block
}

void TWaveData::SetData(std::int32_t Size, const void* Bytes)
{
    Clear();
    if (Size <= 0)
        return;
    const auto* bytes = static_cast<const std::uint8_t*>(Bytes);
    image_.assign(bytes, bytes + Size);
}

void TWaveData::Assign(const TPersistent* Source)
{
    if (!Source) {
        Clear();
        return;
    }
    if (const auto* wave = dynamic_cast<const TWaveData*>(Source)) {
        if (wave != this)
            SetData(wave->Size(), wave->Image());
        return;
    }
    TPersistent::Assign(Source);
}

void TWaveData::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Data", [this](TMemoryStream& stream) { ReadData(stream); },
        [this](TMemoryStream& stream) { WriteData(stream); }, !IsEmpty());
}

void TWaveData::ReadData(TMemoryStream& Stream)
{
    Clear();
    std::uint8_t prefix[4] = {};
    if (Stream.Read(prefix, sizeof prefix) < sizeof prefix)
        return; // not even a size: nothing to take
    auto size = static_cast<std::int32_t>(littleEndian32(prefix));
    if (size <= 0)
        return;
    // A stream shorter than its prefix gives what it holds; nothing past its
    // end is read and no block larger than the stream is allocated.
    std::int64_t available = std::max<std::int64_t>(0, Stream.Size() - Stream.Position());
    auto count = static_cast<std::size_t>(std::min<std::int64_t>(size, available));
    if (count == 0)
        return;
    image_.resize(count);
    image_.resize(Stream.Read(image_.data(), count));
    if (image_.empty())
        std::vector<std::uint8_t>().swap(image_);
}

void TWaveData::WriteData(TMemoryStream& Stream) const
{
    auto size = static_cast<std::uint32_t>(Size());
    std::uint8_t prefix[4] = {std::uint8_t(size), std::uint8_t(size >> 8), std::uint8_t(size >> 16),
                              std::uint8_t(size >> 24)};
    Stream.Write(prefix, sizeof prefix);
    Stream.Write(image_.data(), image_.size());
}

void TWaveData::LoadFromFile(const std::string& FileName)
{
    Clear();
    std::uint32_t attributes = fileSystem_.attributes(FileName);
    if (attributes == platform::invalidAttributes || (attributes & platform::faDirectory))
        return;
    platform::FileContent content = fileSystem_.readWholeFile(FileName);
    if (!content.ok) {
        if (content.error == platform::errorNotEnoughMemory)
            throw std::bad_alloc();
        throw EInOutError(static_cast<int>(content.error));
    }
    if (content.bytes.size() > static_cast<std::size_t>(INT32_MAX))
        throw std::bad_alloc();
    // The file's own block becomes the image: one allocation of its exact size.
    image_ = std::move(content.bytes);
    if (image_.empty())
        std::vector<std::uint8_t>().swap(image_);
}

void TWaveData::Play()
{
    if (IsEmpty())
        return;
    // An image the player could not walk safely stays silent, as one it cannot play would.
    if (!waveImageIsPlayable(image_.data(), image_.size()))
        return;
    sound_.play(image_.data(), image_.size());
    mayBePlaying_ = true;
}

TWave::TWave(TComponent* AOwner, const platform::Platform& platform)
    : TComponent(AOwner), waveData_(std::make_unique<TWaveData>(platform.fileSystem, platform.sound))
{
}

TWave::~TWave() = default;

void TWave::Play()
{
    fire(OnPlay, this);
    waveData_->Play();
}
