// What every fake service shares: a log of the calls made to it, with their
// arguments, and faults on demand (the next call, the n-th, or all from now on).
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

// A system handle's number, as the fakes make and log them.
template <class Handle>
    requires std::is_enum_v<Handle>
std::string handleText(Handle handle)
{
    return std::to_string(static_cast<std::uintptr_t>(handle));
}

struct Call {
    std::string operation;
    std::vector<std::string> args;
    bool operator==(const Call&) const = default;
};

// Which calls are to fail. An operation named "*" stands for every operation.
class FaultPlan {
public:
    void failNext(const std::string& operation) { failNth(operation, 1); }
    // The n-th call of the operation from now on fails (1 is the next one).
    void failNth(const std::string& operation, int n);
    // Every call of the operation from now on fails.
    void failFrom(const std::string& operation);
    void clear();

    // Counts one call of the operation; true when it is to fail.
    bool shouldFail(const std::string& operation);

private:
    struct Rule {
        int remaining = 0; // calls until the failing one; 0 for "always"
        bool always = false;
    };
    std::multimap<std::string, Rule> rules_;
};

// The calls of several fakes counted in one sequence, and faults by place in
// it: the n-th call once, or the n-th and every later one. A run that makes
// more calls than the limit is taken for one that would never end: the call
// over the limit throws, and `runaway` stays set. UI thread only.
class FaultSequence {
public:
    enum class Mode { Once, FromThenOn };

    // Counting starts again at 0; the n-th call from now on fails (1 is the next).
    void failAt(long n, Mode mode);
    // Counting starts again at 0, with no fault.
    void restart() { failAt(0, Mode::Once); }
    // No more faults; the count goes on.
    void clear() { failAt_ = 0; }

    long count() const { return count_; }
    // The operations counted since the last restart, in order.
    const std::vector<std::string>& operations() const { return operations_; }
    long limit = 1'000'000;
    bool runaway = false;
    // Names the run in the error of a runaway one: a destructor may carry it to terminate.
    std::string label;

    // Counts one call; true when it is to fail.
    bool shouldFail(const std::string& operation);

private:
    long count_ = 0;
    long failAt_ = 0; // 0: none
    Mode mode_ = Mode::Once;
    std::vector<std::string> operations_;
};

// Thrown by the call that goes over a sequence's limit.
struct RunawayCalls : std::runtime_error {
    explicit RunawayCalls(const std::string& run)
        : std::runtime_error("more platform calls than any run of the path needs: " + run)
    {
    }
};

class FakeService {
public:
    std::vector<Call> calls;
    FaultPlan faults;
    // A log that several fakes share, for the order of calls across services; null: none.
    std::vector<Call>* journal = nullptr;
    // A sequence that several fakes share, consulted beside `faults`; null: none.
    FaultSequence* sequence = nullptr;
    // Off, calls are no longer logged (for benchmarks, where the log would be
    // the only thing that grows); faults still apply.
    bool logging = true;

    // The calls of one operation, in order.
    std::vector<Call> callsOf(const std::string& operation) const;

protected:
    // Logs the call; true when the fault plan says it fails.
    bool record(const std::string& operation, std::vector<std::string> args = {});
    // A step of a call that is not logged of its own (the next entry of a
    // search): true when the fault plan or the sequence says it fails.
    bool step(const std::string& operation);
};
