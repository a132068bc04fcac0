// LevelDB's port to the C++ standard library (threads, once, atomics) with Snappy, for both builds. It stands in
// for the port headers of the sources as fetched: their POSIX one needs pthreads, their Windows one libuv.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include <snappy.h>

namespace leveldb {
namespace port {

constexpr bool kLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

class CondVar;

class Mutex {
public:
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    void AssertHeld() {}

private:
    friend class CondVar;
    std::mutex mutex_;
};

class CondVar {
public:
    explicit CondVar(Mutex* mutex) : mutex_(mutex) {}
    // Called with the mutex held; returns with it held again.
    void Wait() {
        std::unique_lock<std::mutex> lock(mutex_->mutex_, std::adopt_lock);
        condition_.wait(lock);
        lock.release();
    }
    void Signal() { condition_.notify_one(); }
    void SignalAll() { condition_.notify_all(); }

private:
    std::condition_variable condition_;
    Mutex* mutex_;
};

using OnceType = std::once_flag;
#define LEVELDB_ONCE_INIT {}
inline void InitOnce(OnceType* once, void (*initializer)()) { std::call_once(*once, initializer); }

class AtomicPointer {
public:
    AtomicPointer() = default;
    explicit AtomicPointer(void* value) : value_(value) {}
    void* Acquire_Load() const { return value_.load(std::memory_order_acquire); }
    void Release_Store(void* value) { value_.store(value, std::memory_order_release); }
    void* NoBarrier_Load() const { return value_.load(std::memory_order_relaxed); }
    void NoBarrier_Store(void* value) { value_.store(value, std::memory_order_relaxed); }

private:
    std::atomic<void*> value_{nullptr};
};

inline bool Snappy_Compress(const char* input, std::size_t length, std::string* output) {
    output->resize(snappy::MaxCompressedLength(length));
    std::size_t compressed = 0;
    snappy::RawCompress(input, length, output->data(), &compressed);
    output->resize(compressed);
    return true;
}

inline bool Snappy_GetUncompressedLength(const char* input, std::size_t length, std::size_t* result) {
    return snappy::GetUncompressedLength(input, length, result);
}

inline bool Snappy_Uncompress(const char* input, std::size_t length, char* output) {
    return snappy::RawUncompress(input, length, output);
}

inline bool GetHeapProfile(void (*)(void*, const char*, int), void*) { return false; }

// 0: no hardware CRC; the portable table is used.
inline std::uint32_t AcceleratedCRC32C(std::uint32_t, const char*, std::size_t) { return 0; }

} // namespace port

} // namespace leveldb
