// Wave sounds held in memory: TWaveData keeps a complete wave file image and
// plays it without waiting; TWave is the component that owns one. UI thread only.
//
// A sound that may still be playing is stopped before its image is freed or
// replaced, since the player keeps reading the image after Play has returned.
#pragma once

#include "platform/Platform.h"
#include "toolkit/Component.h"
#include "toolkit/Persistent.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TWaveData : public TPersistent {
public:
    TWaveData(platform::IFileSystem& fileSystem, platform::ISound& sound);
    ~TWaveData() override;
    TWaveData(const TWaveData&) = delete;
    TWaveData& operator=(const TWaveData&) = delete;

    std::string ClassName() const override { return "TWaveData"; }

    // No source empties this object; another TWaveData is copied byte for byte;
    // any other class raises EConvertError.
    void Assign(const TPersistent* Source) override;
    // One raw byte-block property, "Data", present when not empty.
    void DefineProperties(TFiler& Filer) override;

    // The "Data" stream: the size as 4 little-endian bytes, then the image.
    virtual void ReadData(TMemoryStream& Stream);
    virtual void WriteData(TMemoryStream& Stream) const;
    // Replaces the image by the whole file. A missing file (or a folder) leaves
    // the object empty; a file that cannot be read raises EInOutError with the
    // system's error code, the old image being gone already.
    virtual void LoadFromFile(const std::string& FileName);
    // Starts playing and returns at once; does nothing when empty.
    virtual void Play();

    bool IsEmpty() const { return image_.empty(); }
    void Clear();
    // A Size of 0 or less leaves the object empty.
    void SetData(std::int32_t Size, const void* Bytes);

    std::int32_t Size() const { return static_cast<std::int32_t>(image_.size()); }
    const std::uint8_t* Image() const { return image_.empty() ? nullptr : image_.data(); }

private:
    platform::IFileSystem& fileSystem_;
    platform::ISound& sound_;
    std::vector<std::uint8_t> image_;
    bool mayBePlaying_ = false; // the player may still read image_
};

class TWave : public TComponent {
public:
    TWave(TComponent* AOwner, const platform::Platform& platform);
    ~TWave() override;

    TWaveData* WaveData() const { return waveData_.get(); }
    // Copies Value's image in; the owned object is never replaced.
    void SetWaveData(const TWaveData* Value) { waveData_->Assign(Value); }

    // Raised at each play request, before the sound starts (also when empty).
    TNotifyEvent OnPlay;

    virtual void Play();

private:
    std::unique_ptr<TWaveData> waveData_;
};

// Whether the image may be handed to the player. It must be walkable without
// leaving it: "RIFF" and "WAVE", then chunks that each end inside the image, up
// to a "fmt " chunk and a later "data" chunk (the player trusts the sizes
// inside, so one that claims more than it holds would make it read past the
// block). And every "fmt " chunk must agree with itself (waveFormatAgrees):
// the player divides by its fields and sizes buffers by them.
bool waveImageIsPlayable(const std::uint8_t* image, std::size_t size);

// Whether the 16 bytes of a format's fields agree: 1 to 8 channels, a rate from
// 1 to 384,000 a second, a block align and bytes a second that are not 0; for
// PCM (tag 1) also 8, 16, 24 or 32 bits a sample, block align = channels x bits
// / 8 and bytes a second = rate x block align. Other formats (ADPCM, ...) keep
// their own rules for those.
bool waveFormatAgrees(const std::uint8_t* fields);
bool waveImageIsPlayable(const std::uint8_t* image, std::size_t size);
