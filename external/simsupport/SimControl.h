#ifndef SIMSUPPORT_SIMCONTROL_H
#define SIMSUPPORT_SIMCONTROL_H

// What the control interfaces of our simulated outside libraries share:
// failures injected into named operations, the log of calls, and a one-shot
// allocation failure. The tables take no lock; each library holds its own
// around them.

#include <atomic>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace simsupport {

// Calls that concern no adapter, and failures that match any call.
const int ANY_ADAPTER = -1;

class FailureTable {
public:
    // The named operation answers `code` for calls concerning `adapter`
    // (ANY_ADAPTER: any call, also those without an adapter). `every` false
    // fails the next matching call only; the first `after` matching calls go
    // through.
    void add(const std::string& operation, int code, int adapter, bool every, unsigned after)
    {
        failures.push_back(Failure{operation, adapter, code, every, after});
    }
    void clear() { failures.clear(); }

    // True, with the code, when this call is to fail; a one-shot failure is
    // used up. With exact, only a failure naming this very adapter matches.
    bool take(const std::string& operation, int adapter, int& code, bool exact = false)
    {
        for (auto it = failures.begin(); it != failures.end(); ++it) {
            if (it->operation != operation)
                continue;
            if (exact ? it->adapter != adapter : (it->adapter != ANY_ADAPTER && it->adapter != adapter))
                continue;
            if (it->after > 0) {
                --it->after;
                return false;
            }
            code = it->code;
            if (!it->every)
                failures.erase(it);
            return true;
        }
        return false;
    }

private:
    struct Failure {
        std::string operation;
        int adapter;
        int code;
        bool every;
        unsigned after; // matching calls still to let through
    };
    std::vector<Failure> failures;
};

// The newest calls, oldest first.
template <class Call>
class CallLog {
public:
    static const size_t LIMIT = 20000;

    void append(Call call)
    {
        log.push_back(std::move(call));
        while (log.size() > LIMIT)
            log.pop_front();
    }
    void clear() { log.clear(); }
    std::vector<Call> all() const { return std::vector<Call>(log.begin(), log.end()); }
    template <class Predicate>
    std::vector<Call> where(Predicate keep) const
    {
        std::vector<Call> out;
        for (const Call& c : log) {
            if (keep(c))
                out.push_back(c);
        }
        return out;
    }

private:
    std::deque<Call> log;
};

// A one-shot failure of the library's next allocation, armed by a test.
class AllocationHook {
public:
    void armNext() { armed.store(true); }
    // True (and disarmed) when the allocation asking is to fail.
    bool take() { return armed.exchange(false); }

private:
    std::atomic<bool> armed{false};
};

} // namespace simsupport

#endif
