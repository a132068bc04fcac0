// Reads a table that a generator of cmake/ packed into bytes: varints (seven
// bits a byte, the lowest first, the high bit on every byte but the last) and
// single bytes. Past its end it reads zeros.
#pragma once

#include <cstddef>
#include <cstdint>

class TPackedTable {
public:
    TPackedTable(const char* data, std::size_t size) : data_(data), size_(size) {}

    bool Done() const { return at_ >= size_; }

    std::uint8_t Byte() { return at_ < size_ ? static_cast<std::uint8_t>(data_[at_++]) : 0; }

    std::uint32_t Varint()
    {
        std::uint32_t value = 0;
        for (int shift = 0; at_ < size_ && shift < 32; shift += 7) {
            const std::uint8_t byte = Byte();
            value |= static_cast<std::uint32_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                break;
        }
        return value;
    }

private:
    const char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};
