// Wave sounds: the image's life (set, copy, load, stream), playing, and the
// rule that a playing image is never freed under the player.
#include "widgets/WaveSound.h"

#include "platform/Errors.h"
#include "resources/BuiltinSounds.h"
#include "support/FakePlatform.h"
#include "toolkit/Error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include <cstring>

using testing::ElementsAre;

namespace {

// A small, well-formed wave image with n sample bytes.
std::vector<std::uint8_t> waveImage(std::uint32_t n, std::uint8_t fill = 0x80)
{
    auto le32 = [](std::vector<std::uint8_t>& v, std::uint32_t x) {
        for (int s = 0; s < 32; s += 8)
            v.push_back(std::uint8_t(x >> s));
    };
    auto tag = [](std::vector<std::uint8_t>& v, const char* t) { v.insert(v.end(), t, t + 4); };
    std::vector<std::uint8_t> v;
    tag(v, "RIFF");
    le32(v, 36 + n);
    tag(v, "WAVE");
    tag(v, "fmt ");
    le32(v, 16);
    for (std::uint8_t b : {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0})
        v.push_back(b);
    tag(v, "data");
    le32(v, n);
    v.insert(v.end(), n, fill);
    return v;
}

std::string text(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> bytesOf(const TWaveData& data)
{
    return data.IsEmpty() ? std::vector<std::uint8_t>{} : std::vector<std::uint8_t>(data.Image(), data.Image() + data.Size());
}

TMemoryStream streamOf(std::vector<std::uint8_t> bytes)
{
    return TMemoryStream(std::move(bytes));
}

std::vector<std::uint8_t> withPrefix(std::int32_t prefix, std::vector<std::uint8_t> body)
{
    auto p = static_cast<std::uint32_t>(prefix);
    std::vector<std::uint8_t> v = {std::uint8_t(p), std::uint8_t(p >> 8), std::uint8_t(p >> 16), std::uint8_t(p >> 24)};
    v.insert(v.end(), body.begin(), body.end());
    return v;
}

class OtherPersistent : public TPersistent {
public:
    std::string ClassName() const override { return "TFont"; }
};

// Records what a layout reader or writer would be offered.
class RecordingFiler : public TFiler {
public:
    struct Property {
        std::string name;
        TStreamProc read, write;
        bool hasData;
    };
    std::vector<Property> properties;
    void DefineBinaryProperty(const std::string& Name, const TStreamProc& ReadData, const TStreamProc& WriteData,
                              bool HasData) override
    {
        properties.push_back({Name, ReadData, WriteData, HasData});
    }
};

class WaveDataTest : public testing::Test {
protected:
    FakePlatform platform;
    TWaveData data{platform.fileSystem, platform.sound};

    std::vector<std::string> soundCalls() const
    {
        std::vector<std::string> ops;
        for (const Call& c : platform.sound.calls)
            ops.push_back(c.operation);
        return ops;
    }
};

} // namespace

TEST_F(WaveDataTest, SetDataCopiesTheBytesAndNonPositiveSizesLeaveItEmpty)
{
    auto image = waveImage(10);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    EXPECT_FALSE(data.IsEmpty());
    EXPECT_NE(data.Image(), image.data());
    image[0] = 'X';
    EXPECT_EQ(data.Image()[0], 'R');

    data.SetData(0, image.data());
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_EQ(data.Image(), nullptr);
    data.SetData(5, image.data());
    data.SetData(-3, image.data());
    EXPECT_TRUE(data.IsEmpty());
    EXPECT_EQ(data.Size(), 0);
}

TEST_F(WaveDataTest, AssignCopiesDeeplyAndNoSourceEmpties)
{
    auto image = waveImage(20);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    {
        TWaveData target(platform.fileSystem, platform.sound);
        target.Assign(&data);
        EXPECT_EQ(bytesOf(target), image);
        EXPECT_NE(target.Image(), data.Image());
        data.Clear(); // the source goes; the copy keeps its sound
        EXPECT_EQ(bytesOf(target), image);

        target.Assign(&data); // from an empty object
        EXPECT_TRUE(target.IsEmpty());
        target.SetData(static_cast<std::int32_t>(image.size()), image.data());
        target.Assign(&target);
        EXPECT_EQ(bytesOf(target), image);
        target.Assign(nullptr);
        EXPECT_TRUE(target.IsEmpty());
    }
}

TEST_F(WaveDataTest, AssignBetweenUnrelatedClassesRaisesTheAssignError)
{
    OtherPersistent other;
    try {
        data.Assign(&other);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TFont to a TWaveData");
    }
    try {
        other.Assign(&data);
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TWaveData to a TFont");
    }
}

TEST_F(WaveDataTest, TheDataStreamRoundTripsAndAnEmptyObjectStoresNothing)
{
    RecordingFiler emptyFiler;
    data.DefineProperties(emptyFiler);
    ASSERT_EQ(emptyFiler.properties.size(), 1u);
    EXPECT_EQ(emptyFiler.properties[0].name, "Data");
    EXPECT_FALSE(emptyFiler.properties[0].hasData);

    auto image = waveImage(300, 0x42);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    RecordingFiler filer;
    data.DefineProperties(filer);
    ASSERT_EQ(filer.properties.size(), 1u);
    EXPECT_TRUE(filer.properties[0].hasData);

    TMemoryStream stream;
    filer.properties[0].write(stream);
    EXPECT_EQ(stream.Bytes(), withPrefix(static_cast<std::int32_t>(image.size()), image));

    TWaveData copy(platform.fileSystem, platform.sound);
    RecordingFiler reader;
    copy.DefineProperties(reader);
    stream.SetPosition(0);
    reader.properties[0].read(stream);
    EXPECT_EQ(bytesOf(copy), image);
    EXPECT_EQ(stream.Position(), stream.Size());
}

TEST_F(WaveDataTest, ASizePrefixOfZeroOrLessGivesAnEmptyObjectAndReadsNoFurther)
{
    auto image = waveImage(8);
    for (std::int32_t prefix : {0, -1, INT32_MIN}) {
        data.SetData(static_cast<std::int32_t>(image.size()), image.data());
        TMemoryStream stream = streamOf(withPrefix(prefix, {1, 2, 3, 4}));
        data.ReadData(stream);
        EXPECT_TRUE(data.IsEmpty()) << prefix;
        EXPECT_EQ(stream.Position(), 4) << prefix;
    }
}

TEST_F(WaveDataTest, AStreamShorterThanItsPrefixGivesWhatItHoldsAndNoMore)
{
    // The claimed size is never allocated or read past the stream's end.
    TMemoryStream stream = streamOf(withPrefix(INT32_MAX, {'R', 'I', 'F', 'F', 9}));
    data.ReadData(stream);
    EXPECT_EQ(text(bytesOf(data)), std::string("RIFF\x09", 5));
    EXPECT_EQ(stream.Position(), stream.Size());

    TMemoryStream justPrefix = streamOf(withPrefix(100, {}));
    data.ReadData(justPrefix);
    EXPECT_TRUE(data.IsEmpty());

    TMemoryStream halfPrefix = streamOf({7, 0});
    data.ReadData(halfPrefix);
    EXPECT_TRUE(data.IsEmpty());

    // What was taken is not a walkable wave image: playing it stays silent.
    auto whole = waveImage(100);
    TMemoryStream cut = streamOf(withPrefix(2869, std::vector<std::uint8_t>(whole.begin(), whole.begin() + 60)));
    data.ReadData(cut);
    EXPECT_EQ(data.Size(), 60);
    data.Play();
    EXPECT_TRUE(platform.sound.calls.empty());
}

TEST_F(WaveDataTest, LoadFromFileTakesTheWholeFileThroughOneRead)
{
    auto image = waveImage(500, 0x33);
    platform.fileSystem.addFile("C:\\sounds\\mine.wav", text(image));
    data.LoadFromFile("C:\\sounds\\mine.wav");

    EXPECT_EQ(bytesOf(data), image);
    EXPECT_THAT(platform.fileSystem.calls,
                ElementsAre(Call{"attributes", {"C:\\sounds\\mine.wav"}}, Call{"readWholeFile", {"C:\\sounds\\mine.wav"}}));
}

TEST_F(WaveDataTest, LoadFromFileOfAMissingFileOrAFolderLeavesSilenceWithoutAnError)
{
    auto image = waveImage(40);
    platform.fileSystem.addFolder("C:\\sounds\\folder.wav");
    for (const char* name : {"C:\\sounds\\absent.wav", "C:\\nowhere\\x.wav", "C:\\sounds\\folder.wav", ""}) {
        data.SetData(static_cast<std::int32_t>(image.size()), image.data());
        EXPECT_NO_THROW(data.LoadFromFile(name)) << name;
        EXPECT_TRUE(data.IsEmpty()) << name;
    }
    EXPECT_TRUE(platform.fileSystem.callsOf("readWholeFile").empty());
}

TEST_F(WaveDataTest, LoadFromFileTakesAnyContentByteForByte)
{
    platform.fileSystem.addFile("C:\\empty.wav", "");
    data.LoadFromFile("C:\\empty.wav");
    EXPECT_TRUE(data.IsEmpty());
    data.Play();

    platform.fileSystem.addFile("C:\\one.wav", "R");
    data.LoadFromFile("C:\\one.wav");
    EXPECT_EQ(text(bytesOf(data)), "R");
    data.Play();

    platform.fileSystem.addFile("C:\\text.wav", "this is not a wave file at all, just words");
    data.LoadFromFile("C:\\text.wav");
    EXPECT_EQ(data.Size(), 42);
    data.Play();

    std::string big(10 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 7);
    platform.fileSystem.addFile("C:\\big.wav", big);
    data.LoadFromFile("C:\\big.wav");
    ASSERT_EQ(data.Size(), 10 * 1024 * 1024);
    EXPECT_EQ(std::memcmp(data.Image(), big.data(), big.size()), 0);
    data.Play();

    // None of them is a wave image the player could walk: all silent.
    EXPECT_TRUE(platform.sound.calls.empty());
}

TEST_F(WaveDataTest, AFileThatCannotBeReadRaisesAnIoErrorWithTheSystemCodeAndTheOldSoundIsGone)
{
    auto image = waveImage(40);
    platform.fileSystem.addFile("C:\\locked.wav", "RIFF....");
    platform.fileSystem.lock("C:\\locked.wav", /*sharedForReading=*/false);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    try {
        data.LoadFromFile("C:\\locked.wav");
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(static_cast<std::uint32_t>(error.ErrorCode), platform::errorSharingViolation);
        EXPECT_EQ(error.Message(), "I/O error 32");
    }
    EXPECT_TRUE(data.IsEmpty());

    platform.fileSystem.addFile("C:\\denied.wav", "x");
    platform.fileSystem.faults.failNext("readWholeFile");
    try {
        data.LoadFromFile("C:\\denied.wav");
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(static_cast<std::uint32_t>(error.ErrorCode), platform::errorAccessDenied);
        EXPECT_EQ(error.Message(), "File access denied");
    }
}

TEST_F(WaveDataTest, PlayHandsTheImageToThePlayerOnlyWhenThereIsOne)
{
    data.Play();
    EXPECT_TRUE(platform.sound.calls.empty());

    auto image = waveImage(100);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    data.Play();
    data.Play();
    EXPECT_THAT(soundCalls(), ElementsAre("play", "play"));
    EXPECT_EQ(platform.sound.callsOf("play")[0].args, std::vector<std::string>{std::to_string(image.size())});
    EXPECT_EQ(platform.sound.played.at(0), image);
    EXPECT_TRUE(platform.sound.isPlaying());
}

TEST_F(WaveDataTest, APlayingSoundIsStoppedBeforeItsImageIsFreedOrReplaced)
{
    auto image = waveImage(200, 0x10);
    auto other = waveImage(150, 0x20);
    platform.fileSystem.addFile("C:\\other.wav", text(other));
    TWaveData source(platform.fileSystem, platform.sound);
    source.SetData(static_cast<std::int32_t>(other.size()), other.data());

    std::vector<std::function<void()>> replacements = {
        [&] { data.SetData(static_cast<std::int32_t>(other.size()), other.data()); },
        [&] { data.Assign(&source); },
        [&] { data.Assign(nullptr); },
        [&] { data.Clear(); },
        [&] { data.LoadFromFile("C:\\other.wav"); },
        [&] { data.LoadFromFile("C:\\absent.wav"); },
        [&] {
            TMemoryStream stream = streamOf(withPrefix(static_cast<std::int32_t>(other.size()), other));
            data.ReadData(stream);
        },
    };
    for (std::size_t i = 0; i < replacements.size(); ++i) {
        data.SetData(static_cast<std::int32_t>(image.size()), image.data());
        platform.sound.calls.clear();
        data.Play();
        replacements[i]();
        EXPECT_THAT(soundCalls(), ElementsAre("play", "stop")) << "replacement " << i;
        EXPECT_EQ(platform.sound.imagesChangedWhilePlaying, 0) << "replacement " << i;
    }

    // The destructor too.
    auto dying = std::make_unique<TWaveData>(platform.fileSystem, platform.sound);
    dying->SetData(static_cast<std::int32_t>(image.size()), image.data());
    dying->Play();
    dying.reset();
    EXPECT_FALSE(platform.sound.isPlaying());
    EXPECT_EQ(platform.sound.imagesChangedWhilePlaying, 0);
}

TEST_F(WaveDataTest, AnImageThatNeverPlayedIsReplacedWithoutStoppingOtherSounds)
{
    auto image = waveImage(30);
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    data.SetData(static_cast<std::int32_t>(image.size()), image.data());
    data.Clear();
    EXPECT_TRUE(platform.sound.calls.empty());
}

TEST(WaveImageBounds, OnlyImagesWhoseChunksEndInsideThemAreWalkable)
{
    auto good = waveImage(10);
    EXPECT_TRUE(waveImageIsPlayable(good.data(), good.size()));
    // Bytes after the data chunk are harmless.
    auto trailing = good;
    trailing.insert(trailing.end(), 5, 0);
    EXPECT_TRUE(waveImageIsPlayable(trailing.data(), trailing.size()));

    EXPECT_FALSE(waveImageIsPlayable(nullptr, 0));
    EXPECT_FALSE(waveImageIsPlayable(good.data(), 11));
    EXPECT_FALSE(waveImageIsPlayable(good.data(), good.size() - 1)); // data chunk cut short

    auto notRiff = good;
    notRiff[0] = 'X';
    EXPECT_FALSE(waveImageIsPlayable(notRiff.data(), notRiff.size()));
    auto notWave = good;
    notWave[8] = 'X';
    EXPECT_FALSE(waveImageIsPlayable(notWave.data(), notWave.size()));

    auto hugeData = good;
    hugeData[40] = hugeData[41] = hugeData[42] = hugeData[43] = 0xFF;
    EXPECT_FALSE(waveImageIsPlayable(hugeData.data(), hugeData.size()));
    auto hugeFormat = good;
    hugeFormat[16] = hugeFormat[17] = hugeFormat[18] = hugeFormat[19] = 0xFF;
    EXPECT_FALSE(waveImageIsPlayable(hugeFormat.data(), hugeFormat.size()));

    auto shortFormat = good; // a "fmt " chunk too small to hold a format
    shortFormat[16] = 2;
    EXPECT_FALSE(waveImageIsPlayable(shortFormat.data(), shortFormat.size()));

    auto noFormat = good;
    std::memcpy(noFormat.data() + 12, "junk", 4);
    EXPECT_FALSE(waveImageIsPlayable(noFormat.data(), noFormat.size()));

    // An odd-sized chunk before the format is padded to an even length.
    std::vector<std::uint8_t> padded(good.begin(), good.begin() + 12);
    for (int b : {int('L'), int('I'), int('S'), int('T'), 3, 0, 0, 0, int('a'), int('b'), int('c'), 0})
        padded.push_back(std::uint8_t(b));
    padded.insert(padded.end(), good.begin() + 12, good.end());
    EXPECT_TRUE(waveImageIsPlayable(padded.data(), padded.size()));
    padded.pop_back();
    EXPECT_FALSE(waveImageIsPlayable(padded.data(), padded.size()));
}

TEST(WaveFormat, OnlyFormatsWhoseFieldsAgreeArePlayedAndTheImageIsKeptEitherWay)
{
    struct Format {
        std::uint16_t tag, channels;
        std::uint32_t rate, bytesPerSecond;
        std::uint16_t blockAlign, bits;
    };
    const struct {
        const char* what;
        Format format;
        bool plays;
    } cases[] = {
        {"8-bit mono PCM", {1, 1, 11025, 11025, 1, 8}, true},
        {"16-bit stereo PCM", {1, 2, 44100, 176400, 4, 16}, true},
        {"24-bit 8 channels at the highest rate", {1, 8, 384000, 9216000, 24, 24}, true},
        {"32-bit mono at 1 a second", {1, 1, 1, 4, 4, 32}, true},
        {"IMA ADPCM keeps its own block rules", {0x11, 1, 22050, 11100, 512, 4}, true},
        {"bytes a second and block align 0", {1, 1, 11025, 0, 0, 8}, false},
        {"block align 0 alone", {1, 1, 11025, 11025, 0, 8}, false},
        {"no channels", {1, 0, 11025, 11025, 1, 8}, false},
        {"65535 channels", {1, 65535, 11025, 11025, 1, 8}, false},
        {"9 channels", {1, 9, 11025, 99225, 9, 8}, false},
        {"rate 0", {1, 1, 0, 1, 1, 8}, false},
        {"a rate above 384,000", {1, 1, 384001, 384001, 1, 8}, false},
        {"12-bit PCM", {1, 1, 11025, 22050, 2, 12}, false},
        {"PCM block align not channels x bits / 8", {1, 2, 11025, 44100, 4, 8}, false},
        {"PCM bytes a second not rate x block align", {1, 1, 11025, 11024, 1, 8}, false},
        {"ADPCM with bytes a second 0", {0x11, 1, 22050, 0, 512, 4}, false},
        {"ADPCM with no channels", {0x11, 0, 22050, 11100, 512, 4}, false},
    };
    for (const auto& c : cases) {
        auto image = waveImage(8);
        const Format& f = c.format;
        std::uint8_t* fields = image.data() + 20;
        for (auto [at, value, bytes] : {std::tuple{0, std::uint32_t(f.tag), 2}, {2, std::uint32_t(f.channels), 2},
                                        {4, f.rate, 4}, {8, f.bytesPerSecond, 4}, {12, std::uint32_t(f.blockAlign), 2},
                                        {14, std::uint32_t(f.bits), 2}})
            for (int b = 0; b < bytes; ++b)
                fields[at + b] = std::uint8_t(value >> (8 * b));
        EXPECT_EQ(waveFormatAgrees(fields), c.plays) << c.what;
        EXPECT_EQ(waveImageIsPlayable(image.data(), image.size()), c.plays) << c.what;

        FakePlatform platform;
        TWaveData data(platform.fileSystem, platform.sound);
        data.SetData(static_cast<std::int32_t>(image.size()), image.data());
        data.Play();
        EXPECT_EQ(platform.sound.played.size(), c.plays ? 1u : 0u) << c.what;
        EXPECT_EQ(std::vector<std::uint8_t>(data.Image(), data.Image() + data.Size()), image) << c.what << " is kept";
        EXPECT_TRUE(platform.ui.boxes.empty()) << c.what;
    }
    // A second format chunk that disagrees spoils the image, whichever the player reads.
    auto twoFormats = waveImage(8);
    std::vector<std::uint8_t> bad(twoFormats.begin() + 12, twoFormats.begin() + 36);
    bad[8 + 2] = 0; // no channels
    twoFormats.insert(twoFormats.begin() + 36, bad.begin(), bad.end());
    EXPECT_FALSE(waveImageIsPlayable(twoFormats.data(), twoFormats.size()));
}

TEST(Wave, PlayRaisesOnPlayFirstEvenWhenEmpty)
{
    FakePlatform platform;
    TComponent owner(nullptr);
    TWave& wave = owner.Create<TWave>(platform.services);
    std::vector<std::string> order;
    wave.OnPlay = [&](TObject* sender) {
        EXPECT_EQ(sender, &wave);
        order.push_back("OnPlay, sound calls: " + std::to_string(platform.sound.calls.size()));
    };
    wave.Play();
    EXPECT_THAT(order, ElementsAre("OnPlay, sound calls: 0"));
    EXPECT_TRUE(platform.sound.calls.empty());

    auto image = waveImage(64);
    wave.WaveData()->SetData(static_cast<std::int32_t>(image.size()), image.data());
    wave.Play();
    EXPECT_THAT(order, ElementsAre("OnPlay, sound calls: 0", "OnPlay, sound calls: 0"));
    EXPECT_EQ(platform.sound.callsOf("play").size(), 1u);

    wave.OnPlay = nullptr;
    wave.Play();
    EXPECT_EQ(platform.sound.callsOf("play").size(), 2u);
}

TEST(Wave, SettingWaveDataCopiesIntoTheOwnedObjectAndFreeingStopsTheSound)
{
    FakePlatform platform;
    auto owner = std::make_unique<TComponent>(nullptr);
    TWave& wave = owner->Create<TWave>(platform.services);
    TWaveData* own = wave.WaveData();

    auto image = waveImage(80);
    {
        TWaveData value(platform.fileSystem, platform.sound);
        value.SetData(static_cast<std::int32_t>(image.size()), image.data());
        wave.SetWaveData(&value);
    }
    EXPECT_EQ(wave.WaveData(), own);
    EXPECT_EQ(bytesOf(*own), image);

    wave.Play();
    owner.reset();
    EXPECT_FALSE(platform.sound.isPlaying());
    EXPECT_EQ(platform.sound.callsOf("stop").size(), 1u);
    EXPECT_EQ(platform.sound.imagesChangedWhilePlaying, 0);
}

TEST(BuiltinSounds, TheDataStreamsLoadIntoWavesAsTheLayoutCarriesThem)
{
    struct Expected {
        TMemoryStream stream;
        std::int32_t imageSize;
        std::uint32_t dataSize;
    } sounds[] = {{BuiltinBurpData(), 2869, 2825}, {BuiltinCrunchData(), 2629, 2585}};

    FakePlatform platform;
    TComponent owner(nullptr);
    for (Expected& sound : sounds) {
        // The layout's own framing would give the stream's length: n + 4.
        EXPECT_EQ(sound.stream.Size(), sound.imageSize + 4);
        EXPECT_EQ(sound.stream.Position(), 0);

        TWave& wave = owner.Create<TWave>(platform.services);
        wave.WaveData()->ReadData(sound.stream);
        ASSERT_EQ(wave.WaveData()->Size(), sound.imageSize);
        EXPECT_EQ(sound.stream.Position(), sound.stream.Size());

        const std::uint8_t* image = wave.WaveData()->Image();
        auto le32 = [&](int at) { return std::uint32_t(image[at]) | image[at + 1] << 8 | image[at + 2] << 16 | std::uint32_t(image[at + 3]) << 24; };
        auto le16 = [&](int at) { return unsigned(image[at]) | unsigned(image[at + 1]) << 8; };
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(image), 4), "RIFF");
        EXPECT_EQ(le32(4), std::uint32_t(sound.imageSize - 8));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(image) + 8, 8), "WAVEfmt ");
        EXPECT_EQ(le32(16), 16u);
        EXPECT_EQ(le16(20), 1u);     // uncompressed samples
        EXPECT_EQ(le16(22), 1u);     // mono
        EXPECT_EQ(le32(24), 11025u); // samples per second
        EXPECT_EQ(le32(28), 11025u); // bytes per second
        EXPECT_EQ(le16(32), 1u);     // block align
        EXPECT_EQ(le16(34), 8u);     // bits per sample
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(image) + 36, 4), "data");
        EXPECT_EQ(le32(40), sound.dataSize);
        EXPECT_EQ(44 + sound.dataSize, std::uint32_t(sound.imageSize)); // nothing after the data

        // Not silence: the samples move well away from the midpoint.
        int loudest = 0;
        for (std::uint32_t i = 44; i < 44 + sound.dataSize; ++i)
            loudest = std::max(loudest, std::abs(int(image[i]) - 128));
        EXPECT_GT(loudest, 40);

        wave.Play();
        EXPECT_EQ(platform.sound.played.back(), std::vector<std::uint8_t>(image, image + sound.imageSize));
    }
    EXPECT_NE(BuiltinBurpImage().data(), BuiltinCrunchImage().data());
}
