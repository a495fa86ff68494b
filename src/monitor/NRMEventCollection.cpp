#include "monitor/NRMEventCollection.h"

#include <utility>

#include "monitor/NRMDebug.h"
#include "monitor/NRMEventIds.h"

NRMEventCollection::NRMEventCollection(std::string logFileNameIN, int maxSizeIN, EnumEventType level)
    : maxSize(maxSizeIN >= MIN_SIZE ? maxSizeIN : MIN_SIZE),
      eventTypeLevel(level >= NRM_EVENT_TASK_RUNNING && level <= NRM_EVENT_INFORMATION_7 ? level
                                                                                          : NRM_EVENT_TASK_RUNNING),
      logFileName(std::move(logFileNameIN)),
      logFile(nullptr)
{
    if (!logFileName.empty())
        logFile = fopen(logFileName.c_str(), "a+");
}

NRMEventCollection::~NRMEventCollection()
{
    if (logFile) {
        fflush(logFile);
        fclose(logFile);
    }
}

void NRMEventCollection::addEvent(NRMEvent& event)
{
    if (event.severity > getEventTypeLevel()) {
        printEvent(event);
        return;
    }
    std::lock_guard<std::mutex> hold(locker);
    if (static_cast<int>(events.size()) >= maxSize) {
        // Drop a tenth of the capacity less one, and turn the oldest survivor
        // into the marker, which the taker then receives first.
        int drop = maxSize / 10 - 1;
        if (drop < 1)
            drop = 1;
        for (int i = 0; i < drop && !events.empty(); ++i)
            events.pop_front();
        if (!events.empty()) {
            NRMEvent& marker = events.front();
            marker.reset();
            marker.eventId = nrmevent::QUEUE_OVERLOAD.id;
            marker.severity = nrmevent::QUEUE_OVERLOAD.severity;
            marker.text = nrmevent::QUEUE_OVERLOAD_TEXT;
            printEvent(marker);
        }
    }
    printEvent(event);
    events.push_back(event);
}

void NRMEventCollection::addEvent(const char* text)
{
    NRMEvent event;
    event.text = text ? text : "";
    addEvent(event);
}

std::vector<NRMEvent> NRMEventCollection::getEvents(int n)
{
    // At most n, and all of them when fewer are queued. Counting first and
    // taking all those counted would take more than n when the poll thread
    // appends in between, and a caller with room for n would lose the rest.
    return takeOldest(n);
}

std::vector<NRMEvent> NRMEventCollection::getAllEvents() { return takeOldest(getNumberOfEvents()); }

std::vector<NRMEvent> NRMEventCollection::takeOldest(int n)
{
    std::vector<NRMEvent> taken;
    for (int i = 0; i < n; ++i) {
        std::lock_guard<std::mutex> hold(locker);
        if (events.empty())
            break;
        taken.push_back(std::move(events.front()));
        events.pop_front();
    }
    return taken;
}

void NRMEventCollection::flushEvents(int n)
{
    std::lock_guard<std::mutex> hold(locker);
    if (n == 0 || n > static_cast<int>(events.size()))
        n = static_cast<int>(events.size());
    for (int i = 0; i < n && !events.empty(); ++i)
        events.pop_front();
}

int NRMEventCollection::getNumberOfEvents()
{
    std::lock_guard<std::mutex> hold(locker);
    return static_cast<int>(events.size());
}

void NRMEventCollection::setMaxSize(int size)
{
    std::lock_guard<std::mutex> hold(locker);
    if (size > MIN_SIZE && size != maxSize)
        maxSize = size;
}

bool NRMEventCollection::setEventTypeLevel(EnumEventType level)
{
    if (level < NRM_EVENT_ERROR || level > NRM_EVENT_INFORMATION_7)
        return false;
    eventTypeLevel.store(level, std::memory_order_relaxed);
    return true;
}

void NRMEventCollection::printEvent(NRMEvent event)
{
    if (!logFile || !nrmDebugOn(NRM_DEBUG_EVENTS))
        return;
    fprintf(logFile, "%s\n\n", event.toString().c_str());
    fflush(logFile);
}
