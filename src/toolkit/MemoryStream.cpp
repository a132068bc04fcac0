// The memory stream.
#include "toolkit/MemoryStream.h"

#include "toolkit/Error.h"

#include <algorithm>
#include <cstring>

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (position_ >= Size())
        return 0;
    std::size_t available = static_cast<std::size_t>(Size() - position_);
    std::size_t n = std::min(count, available);
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, n);
    position_ += static_cast<std::int64_t>(n);
    return n;
}

void TMemoryStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (position_ > Size() || count > static_cast<std::size_t>(Size() - position_))
        throw EReadError("Stream read error");
    Read(buffer, count);
}

void TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return;
    std::size_t end = static_cast<std::size_t>(position_) + count;
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, count);
    position_ = static_cast<std::int64_t>(end);
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? position_ : Size();
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void TMemoryStream::SetSize(std::size_t size)
{
    bytes_.resize(size);
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear()
{
    bytes_.clear();
    position_ = 0;
}
