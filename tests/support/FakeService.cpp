// Call recording and fault injection of the fakes.
#include "support/FakeService.h"

void FaultPlan::failNth(const std::string& operation, int n)
{
    rules_.emplace(operation, Rule{n, false});
}

void FaultPlan::failFrom(const std::string& operation)
{
    rules_.emplace(operation, Rule{0, true});
}

void FaultPlan::clear()
{
    rules_.clear();
}

bool FaultPlan::shouldFail(const std::string& operation)
{
    bool fail = false;
    for (auto it = rules_.begin(); it != rules_.end();) {
        if (it->first != operation && it->first != "*") {
            ++it;
            continue;
        }
        Rule& rule = it->second;
        if (rule.always) {
            fail = true;
            ++it;
        } else if (--rule.remaining == 0) {
            fail = true;
            it = rules_.erase(it);
        } else {
            ++it;
        }
    }
    return fail;
}

void FaultSequence::failAt(long n, Mode mode)
{
    count_ = 0;
    failAt_ = n;
    mode_ = mode;
    operations_.clear();
}

bool FaultSequence::shouldFail(const std::string& operation)
{
    ++count_;
    operations_.push_back(operation);
    if (count_ > limit) {
        runaway = true;
        throw RunawayCalls(label);
    }
    if (failAt_ == 0)
        return false;
    return mode_ == Mode::Once ? count_ == failAt_ : count_ >= failAt_;
}

std::vector<Call> FakeService::callsOf(const std::string& operation) const
{
    std::vector<Call> result;
    for (const Call& call : calls)
        if (call.operation == operation)
            result.push_back(call);
    return result;
}

bool FakeService::record(const std::string& operation, std::vector<std::string> args)
{
    if (logging) {
        if (journal)
            journal->push_back({operation, args});
        calls.push_back({operation, std::move(args)});
    }
    return step(operation);
}

bool FakeService::step(const std::string& operation)
{
    bool fail = faults.shouldFail(operation);
    if (sequence && sequence->shouldFail(operation))
        fail = true;
    return fail;
}
