// Taking a fuzzer's bytes apart: a few small numbers first, then text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return size_ ? (--size_, *data_++) : 0; }
    std::uint32_t u32()
    {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value |= std::uint32_t(byte()) << (8 * i);
        return value;
    }
    // Up to the next zero byte (dropped), or the rest.
    std::string text()
    {
        const void* zero = size_ ? std::memchr(data_, 0, size_) : nullptr;
        std::size_t length = zero ? static_cast<const std::uint8_t*>(zero) - data_ : size_;
        std::string result(reinterpret_cast<const char*>(data_), length);
        std::size_t taken = zero ? length + 1 : length;
        data_ += taken;
        size_ -= taken;
        return result;
    }
    std::string rest() { return std::string(reinterpret_cast<const char*>(data_), size_); }
    std::size_t remaining() const { return size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// A broken property: says which and stops the run, so that the fuzzer keeps the input.
[[noreturn]] void fuzzFailure(const char* property);
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            fuzzFailure(#condition);                                                                                   \
    } while (0)
