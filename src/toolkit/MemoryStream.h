// A growable block of bytes read and written through a position, as layouts
// and sound data travel. Not thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    // Reads up to count bytes; returns how many were read.
    std::size_t Read(void* buffer, std::size_t count);
    // Reads exactly count bytes or throws EReadError, leaving the position unchanged.
    void ReadBuffer(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);

    // Moves the position; it never goes below 0, and may go past the end.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);

    std::int64_t Position() const { return position_; }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    std::int64_t Size() const { return static_cast<std::int64_t>(bytes_.size()); }
    void SetSize(std::size_t size);
    void Clear();

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::int64_t position_ = 0;
};
