// What every fake service shares: a log of the calls made to it, with their
// arguments, and faults on demand (the next call, the n-th, or all from now on).
#pragma once

#include <map>
#include <string>
#include <vector>

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

class FakeService {
public:
    std::vector<Call> calls;
    FaultPlan faults;
    // A log that several fakes share, for the order of calls across services; null: none.
    std::vector<Call>* journal = nullptr;
    // Off, calls are no longer logged (for benchmarks, where the log would be
    // the only thing that grows); faults still apply.
    bool logging = true;

    // The calls of one operation, in order.
    std::vector<Call> callsOf(const std::string& operation) const;

protected:
    // Logs the call; true when the fault plan says it fails.
    bool record(const std::string& operation, std::vector<std::string> args = {});
};
