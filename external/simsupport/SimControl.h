#ifndef SIMSUPPORT_SIMCONTROL_H
#define SIMSUPPORT_SIMCONTROL_H

// What the control interfaces of our simulated outside libraries share:
// failures injected into named operations, the log of calls, and a one-shot
// allocation failure. The tables take no lock; each library holds its own
// around them.

#include <atomic>
#include <cstddef>
#include <string>
#include <utility>
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
    // No failure armed: take() answers false for every call.
    bool empty() const { return failures.empty(); }

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

// The newest calls (at most LIMIT), oldest first. The log is a ring of
// LIMIT + 1 entries whose storage is reused: the one entry outside the log
// is filled in place by the next call (next(), then commit()), so that
// logging a call allocates nothing when that entry has room enough.
template <class Call>
class CallLog {
public:
    static const size_t LIMIT = 20000;

    void append(Call call)
    {
        next() = std::move(call);
        commit();
    }
    // The entry the next commit() adds, as an earlier call left it: the
    // caller resets and fills it. It is not in the log until then.
    Call& next()
    {
        const size_t at = (head + count) % SLOTS;
        if (at == slots.size())   // the ring is still growing
            slots.emplace_back();
        return slots[at];
    }
    // Adds next() as the newest call, dropping the oldest when the log is full.
    void commit()
    {
        if (count < LIMIT)
            ++count;
        else
            head = (head + 1) % SLOTS;
    }
    // Empties the log; the entries' storage is kept for the calls to come.
    void clear()
    {
        head = 0;
        count = 0;
    }
    std::vector<Call> all() const
    {
        std::vector<Call> out;
        out.reserve(count);
        for (size_t i = 0; i < count; ++i)
            out.push_back(slots[(head + i) % SLOTS]);
        return out;
    }
    template <class Predicate>
    std::vector<Call> where(Predicate keep) const
    {
        std::vector<Call> out;
        for (size_t i = 0; i < count; ++i) {
            const Call& c = slots[(head + i) % SLOTS];
            if (keep(c))
                out.push_back(c);
        }
        return out;
    }

private:
    static const size_t SLOTS = LIMIT + 1;
    // Until the ring is full, head is 0 and slots holds the entries in the
    // log and at most one more.
    std::vector<Call> slots;
    size_t head = 0;    // the oldest entry
    size_t count = 0;   // entries in the log
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
