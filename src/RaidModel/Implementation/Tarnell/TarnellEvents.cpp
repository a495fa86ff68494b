#include "RaidModel/Implementation/Tarnell/TarnellEvents.h"

#include <cstring>
#include <map>

#include "RaidLib/Util/Date.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"
#include "storagedll/storintf.h"

uint32_t reportCriticalLogicalDriveRate = 28800;
uint32_t reportUnsupportedDriveRate = 2592000;
uint32_t timeOfLastCriticalLogicalDriveReport = 0;
uint32_t lastUnsupportedDriveReoprtTime = 0;

RaidEvent TarnellAdapter::eventsBuffer[TarnellEvents::EVENT_RING_SIZE];
int TarnellAdapter::currentEvtPtr = -1;
int TarnellAdapter::eventCycleCount = 0;

namespace {

const uint32_t RING_SIZE = TarnellEvents::EVENT_RING_SIZE;

// What the rules keep of one controller between polls.
struct TrackedAdapter {
    EVT_ADAPTER_STATUS status;
    _REBUILD_STATUS progress;
    bool progressSaved;
};

// By model adapter id; a node map, so the references handed out stay valid
// while other controllers are added. Made once and never destroyed: a poll
// may still run on another thread while the process exits.
std::map<STORID_T, TrackedAdapter>& trackedAdapters()
{
    static std::map<STORID_T, TrackedAdapter>* table = new std::map<STORID_T, TrackedAdapter>;
    return *table;
}

// A controller's entry; a new one is zeroed (value-initialised).
TrackedAdapter& trackedAdapter(STORID_T adapterID) { return trackedAdapters()[adapterID]; }

// One reminder throttle: true, and the stamp moved to now, when more than
// rate seconds have passed. A clock set back before the stamp gives a large
// unsigned difference, so the reminder comes at once.
bool isTimeToReport(uint32_t rate, uint32_t& stamp)
{
    const uint32_t now = Date().getTime();
    const uint32_t elapsed = now - stamp;
    if (elapsed > rate) {
        stamp = now;
        return true;
    }
    return false;
}

} // namespace

TarnellEvents::TarnellEvents() { tarnellTraceConstruct("TarnellEvents"); }

TarnellEvents::~TarnellEvents() { tarnellTraceDestruct("TarnellEvents"); }

uint32_t TarnellEvents::lastEventNumber()
{
    return static_cast<uint32_t>(TarnellAdapter::eventCycleCount) * RING_SIZE +
           static_cast<uint32_t>(TarnellAdapter::currentEvtPtr + 1);
}

void TarnellEvents::addEvent(RaidEvent event)
{
    int slot = TarnellAdapter::currentEvtPtr + 1;
    if (slot == static_cast<int>(RING_SIZE)) {
        slot = 0;
        ++TarnellAdapter::eventCycleCount;
    }
    TarnellAdapter::currentEvtPtr = slot;
    event.setEventNumber(lastEventNumber());
    TarnellAdapter::eventsBuffer[slot] = event;
}

void TarnellEvents::getEventsXml(unsigned long since, std::string& xml)
{
    const unsigned long last = lastEventNumber();
    if (since == 0 || since > last)
        return;
    const unsigned long distance = last - since;
    uint32_t count;
    uint32_t slot;
    if (distance < RING_SIZE) {
        count = static_cast<uint32_t>(distance) + 1;
        slot = static_cast<uint32_t>((since - 1) % RING_SIZE);
    } else {
        count = RING_SIZE;
        slot = static_cast<uint32_t>(last % RING_SIZE);
    }
    for (uint32_t i = 0; i < count; ++i) {
        xml += TarnellAdapter::eventsBuffer[slot].toXML();
        xml += "\n";
        slot = (slot + 1) % RING_SIZE;
    }
}

bool TarnellEvents::progressChanged(TarnellAdapter* adapter)
{
    if (!adapter)
        return false;
    _REBUILD_STATUS now;
    std::memset(&now, 0, sizeof now);
    if (adapter->returnProgress(now) != Ret(0))
        return false;
    const _REBUILD_STATUS* saved = getSavedProgress(adapter->getAdapterID());
    if (!saved)
        return true;
    return now.ucOpcode != saved->ucOpcode || now.ucVirtDriveNumber != saved->ucVirtDriveNumber ||
           now.ucCheckOption != saved->ucCheckOption || now.ucStatus != saved->ucStatus ||
           now.ucIsSLDVirtDriveId != saved->ucIsSLDVirtDriveId ||
           now.ucSubOpcodeQualifier != saved->ucSubOpcodeQualifier || now.ucDevChnID != saved->ucDevChnID ||
           now.ucDevTgtID != saved->ucDevTgtID;
}

bool TarnellEvents::configurationChanged(TarnellAdapter* /*adapter: the change status is library-wide*/)
{
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (!store)
        return false;
    int status = 0;
    S_Ret sret = store->GetAdapterChangeStatus(status);
    return sret.iReturnCode == 0 && status != 0;
}

bool TarnellEvents::isTimeToReportCriticalLogicalDrives()
{
    return isTimeToReport(reportCriticalLogicalDriveRate, timeOfLastCriticalLogicalDriveReport);
}

bool TarnellEvents::isTimeToReportUnsupportedDrives()
{
    return isTimeToReport(reportUnsupportedDriveRate, lastUnsupportedDriveReoprtTime);
}

std::mutex& TarnellEvents::pollLock()
{
    static std::mutex lock;
    return lock;
}

void TarnellEvents::SetNRMTime(long time)
{
    timeOfLastCriticalLogicalDriveReport = static_cast<uint32_t>(time);
    lastUnsupportedDriveReoprtTime = static_cast<uint32_t>(time);
}

EVT_ADAPTER_STATUS& TarnellEvents::getAdapterStatus(STORID_T adapterID) { return trackedAdapter(adapterID).status; }

const _REBUILD_STATUS* TarnellEvents::getSavedProgress(STORID_T adapterID)
{
    const std::map<STORID_T, TrackedAdapter>& table = trackedAdapters();
    const auto it = table.find(adapterID);
    return it != table.end() && it->second.progressSaved ? &it->second.progress : nullptr;
}

void TarnellEvents::saveProgress(STORID_T adapterID, const _REBUILD_STATUS& record)
{
    TrackedAdapter& tracked = trackedAdapter(adapterID);
    tracked.progress = record;
    tracked.progressSaved = true;
}

void TarnellEvents::resetForTest()
{
    for (RaidEvent& event : TarnellAdapter::eventsBuffer)
        event = RaidEvent();
    TarnellAdapter::currentEvtPtr = -1;
    TarnellAdapter::eventCycleCount = 0;
    trackedAdapters().clear();
    timeOfLastCriticalLogicalDriveReport = 0;
    lastUnsupportedDriveReoprtTime = 0;
}
