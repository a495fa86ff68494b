// The event poll of the Tarnell library. The controllers report no events
// themselves: the poll keeps two snapshots of the configuration, decides by
// its clocks and two cheap change tests whether a new one is worth building,
// lets the event rules compare the controllers of the two and hands out the
// event ring's text.

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/Date.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

namespace {

// Which of the three checks of a poll ran; it decides which clock is stamped.
enum class PollCheck { UNCONDITIONAL, CHANGE_STATUS, PROGRESS };

// The Tarnell adapter at the address in the system; null without a system,
// without an object there or for an object of another class.
TarnellAdapter* adapterAt(TarnellSystem* system, const Addr& addr)
{
    return static_cast<TarnellAdapter*>(TarnellLib::objectIn(system, addr, "TarnellAdapter"));
}

void collectAdapterIDs(const TarnellSystem* system, std::vector<STORID_T>& ids)
{
    if (system == nullptr)
        return;
    for (unsigned long i = 0; i < system->getNumAdapters(); ++i) {
        const Adapter* adapter = system->getAdapter(i);
        if (adapter != nullptr && adapter->isInstanceOf("TarnellAdapter"))
            ids.push_back(adapter->getAdapterID());
    }
}

// Runs the event rules on every controller of either snapshot, once each, in
// the order of their model ids: the clocks and snapshots serve all
// controllers, so comparing only the one a caller named would lose the
// changes of the others. A controller missing from one side is handed over
// as null.
void compareEveryAdapter(TarnellSystem* previous, TarnellSystem* current, std::string& text)
{
    std::vector<STORID_T> ids;
    collectAdapterIDs(previous, ids);
    collectAdapterIDs(current, ids);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    for (STORID_T id : ids) {
        const Addr addr(id);
        TarnellEvents::compareConfigs(adapterAt(previous, addr), adapterAt(current, addr), text);
    }
}

} // namespace

Ret TarnellLib::getEvents(const Addr& addrIN, unsigned long startEventNumberIN, char** xmlINOUT)
{
    if (xmlINOUT == nullptr || sys == nullptr)
        return Ret(Ret::BAD_PARAM);
    // The clocks, the ring and the rules' tables are the whole process's.
    // The family's trace scope is entered first, as every other traced
    // operation (the constructor, a Java native) does before it reaches the
    // poll's lock: the snapshots built below enter it again.
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE, "TarnellLib::getEvents()");
    std::lock_guard<std::mutex> hold(TarnellEvents::pollLock());
    const uint32_t now = Date().getTime();

    // The first snapshot of this library (or the first after a dropped one).
    bool builtFirst = false;
    if (currentSys == nullptr) {
        currentSys = buildOwnedSystem(false);
        if (currentSys == nullptr)
            return Ret(Ret::RESOURCE);
        builtFirst = true;
    }
    TarnellAdapter* current = adapterAt(currentSys, addrIN);

    // Exactly one check runs; differences of times are unsigned 32-bit, so a
    // clock set back gives a large difference and an unconditional rebuild.
    PollCheck check;
    bool changed;
    if (now - lastMainThreadTimeCall > pollingRate) {
        check = PollCheck::UNCONDITIONAL;
        changed = true;
    } else if (now - lastConfigChangeTimeCall > configChangePollingRate) {
        check = PollCheck::CHANGE_STATUS;
        changed = current != nullptr && TarnellEvents::configurationChanged(current);
    } else {
        check = PollCheck::PROGRESS;
        changed = current != nullptr && TarnellEvents::progressChanged(current);
    }
    // A snapshot younger than the minimum age is not replaced.
    if (now - lastConfigChangeTime < configChangePollingRate)
        changed = false;

    Ret result;
    if (oldSys == nullptr || changed) {
        bool compare = true;
        if (!builtFirst) {
            // Rotate: the new snapshot is built before anything is dropped,
            // so a failed build leaves both snapshots as they were.
            TarnellSystem* fresh = buildOwnedSystem(false);
            if (fresh == nullptr) {
                result = Ret(Ret::RESOURCE);
                compare = false;
            } else {
                TarnellSystem* dropped = oldSys;
                oldSys = currentSys;
                currentSys = fresh;
                retire(dropped);
            }
        }
        if (compare) {
            TarnellAdapter* old = adapterAt(oldSys, addrIN);
            current = adapterAt(currentSys, addrIN);
            std::string text;
            if (current == nullptr && old != nullptr) {
                // The addressed controller vanished: only its loss is
                // derived, and the snapshot without it is dropped, so the
                // next comparison is made against the same old snapshot
                // (which also finds the other controllers' changes, once).
                // The dropped snapshot is freed once sys no longer names it.
                TarnellEvents::compareConfigs(old, nullptr, text);
                TarnellSystem* dropped = currentSys;
                currentSys = nullptr;
                retire(dropped);
            } else {
                compareEveryAdapter(oldSys, currentSys, text);
            }
            TarnellEvents::getEventsXml(startEventNumberIN, text);
            lastConfigChangeTime = now;

            char* copy = new (std::nothrow) char[text.size() + 1];
            if (copy == nullptr) {
                // The caller keeps the text it had; the events stay in the
                // ring for a later call.
                result = Ret(Ret::RESOURCE);
            } else {
                std::memcpy(copy, text.c_str(), text.size() + 1);
                delete[] *xmlINOUT;
                *xmlINOUT = copy;
            }
        }
    }

    if (check == PollCheck::UNCONDITIONAL)
        lastMainThreadTimeCall = now;
    else if (check == PollCheck::CHANGE_STATUS)
        lastConfigChangeTimeCall = now;
    return result;
}
