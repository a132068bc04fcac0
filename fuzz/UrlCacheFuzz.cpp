// The URL cache component's copy of an entry out of the buffer the cache
// filled, whatever the cache wrote there: a record cut short, string pointers
// before, inside or past the buffer, strings without their terminator, a size
// written back larger than the buffer, and any calendar time. Nothing
// is read outside the buffer (the address sanitizer watches the exact-size
// block), each string is the one its pointer starts inside the buffer, and
// each time is 0 or a date-time of years 1 to 9999.
#include "FuzzInput.h"
#include "browserdata/UrlCache.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using platform::CacheEntryRecord;
using platform::CacheFileTime;
using platform::CacheSystemTime;

namespace {

// A cache that writes what the fuzzer says: the probe reports `probed` bytes;
// the fill writes `written` bytes of record-plus-text, with each string
// pointer at an offset the fuzzer picks (relative to the buffer, possibly outside it).
class ScriptedCache final : public platform::IUrlCache {
public:
    std::uint32_t probed = 0;
    std::uint32_t claimedAfterFill = 0; // a size written back on success
    std::vector<std::uint8_t> content; // what the fill writes, pointers patched in
    std::int64_t offsets[4] = {};      // source, local file, header, extension
    std::uint16_t calendar[8] = {};
    bool calendarOk = true;
    void* filled = nullptr;            // where the entry went
    std::uint32_t filledSize = 0;
    std::vector<std::uint8_t> filledBytes; // and what it held: the buffer is freed later

    bool libraryPresent() override { return true; }
    platform::CacheEnumHandle findFirstEntry(const char*, std::uint32_t, std::uint32_t, std::int64_t, void* buffer,
                                             std::uint32_t& size) override
    {
        return fill(buffer, size) ? 1 : 0;
    }
    bool findNextEntry(platform::CacheEnumHandle, void* buffer, std::uint32_t& size) override
    {
        return fill(buffer, size);
    }
    bool deleteEntry(const std::string&) override { return true; }
    void findClose(platform::CacheEnumHandle) override {}
    std::uint32_t lastError() override { return error_; }
    bool fileTimeToLocalFileTime(const CacheFileTime& utc, CacheFileTime& local) override
    {
        local = utc;
        return true;
    }
    bool fileTimeToSystemTime(const CacheFileTime& time, CacheSystemTime& t) override
    {
        // Any calendar, valid or not, chosen by the file time's words.
        std::uint16_t* fields[] = {&t.year, &t.month, &t.dayOfWeek, &t.day, &t.hour, &t.minute, &t.second,
                                   &t.milliseconds};
        for (int i = 0; i < 8; ++i)
            *fields[i] = static_cast<std::uint16_t>(calendar[i] ^ (i < 4 ? time.low >> (i * 8) : time.high >> ((i - 4) * 8)));
        return calendarOk;
    }

private:
    bool fill(void* buffer, std::uint32_t& size)
    {
        if (!buffer || size < probed) {
            size = probed;
            error_ = platform::errorInsufficientBuffer;
            return false;
        }
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        std::size_t count = std::min<std::size_t>(size, content.size());
        if (count)
            std::memcpy(bytes, content.data(), count);
        if (size >= sizeof(CacheEntryRecord)) {
            CacheEntryRecord record;
            std::memcpy(&record, bytes, sizeof record);
            const char** pointers[] = {&record.sourceUrlName, &record.localFileName, &record.headerInfo,
                                       &record.fileExtension};
            for (int i = 0; i < 4; ++i)
                *pointers[i] = offsets[i] == INT64_MIN
                                   ? nullptr
                                   : reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(bytes) +
                                                                   static_cast<std::uintptr_t>(offsets[i]));
            std::memcpy(bytes, &record, sizeof record);
        }
        filled = buffer;
        filledSize = size;
        filledBytes.assign(bytes, bytes + size);
        size = std::max(size, claimedAfterFill);
        return true;
    }

    std::uint32_t error_ = 0;
};

std::string expectedText(const ScriptedCache& cache, std::int64_t offset)
{
    if (cache.filledSize < sizeof(CacheEntryRecord) || offset == INT64_MIN || offset < 0 ||
        offset >= std::int64_t(cache.filledSize))
        return {};
    auto start = cache.filledBytes.begin() + offset;
    return std::string(start, std::find(start, cache.filledBytes.end(), '\0'));
}

bool plausibleTime(double t)
{
    // 1 January 1 and 31 December 9999, 23:59:59.999.
    return t == 0 || (std::isfinite(t) && t >= -693594.0 && t < 2958466.0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    ScriptedCache cache;
    cache.probed = input.byte() | (input.byte() & 0x01) << 8; // up to 511 bytes
    for (std::int64_t& offset : cache.offsets) {
        std::uint8_t pick = input.byte();
        offset = pick == 0xFF ? INT64_MIN : static_cast<std::int64_t>(pick) * 2 - 64;
    }
    for (std::uint16_t& field : cache.calendar)
        field = static_cast<std::uint16_t>(input.byte() | input.byte() << 8);
    cache.calendarOk = (input.byte() & 3) != 0;
    cache.claimedAfterFill = input.u32();
    std::string rest = input.rest();
    cache.content.assign(rest.begin(), rest.end());

    TUrlCache::TestLibraryAtStart(cache);
    TUrlCache urlCache(nullptr, cache);
    bool next = cache.probed & 0x100;
    std::uint32_t result = urlCache.FindFirstEntry(0);
    if (next && result == 0)
        result = urlCache.FindNextEntry();
    if (result != 0 || !cache.filled)
        return 0;

    const TEntryInfo& e = urlCache.EntryInfo();
    FUZZ_CHECK(e.SourceUrlName == expectedText(cache, cache.offsets[0]));
    FUZZ_CHECK(e.LocalFileName == expectedText(cache, cache.offsets[1]));
    FUZZ_CHECK(e.HeaderInfo == expectedText(cache, cache.offsets[2]));
    FUZZ_CHECK(e.FileExtension == expectedText(cache, cache.offsets[3]));
    FUZZ_CHECK(plausibleTime(e.LastModifiedTime) && plausibleTime(e.ExpireTime) &&
               plausibleTime(e.LastAccessTime) && plausibleTime(e.LastSyncTime));
    return 0;
}
