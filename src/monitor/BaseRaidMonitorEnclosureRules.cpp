// The enclosure rules (start-up check and comparison of the SAF-TE and SES-2
// enclosures of one adapter) and the SAS drive map.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "monitor/BaseRaidMonitor.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMEventCollection.h"
#include "monitor/NRMEventIds.h"

namespace {

// SAF-TE status bytes exist for 32 fans and 32 power supplies; an index
// beyond reads absent on both sides of a comparison.
const int SAFTE_ELEMENTS = 32;

// The events of one kind of element, by the state it reaches.
struct ElementEvents {
    bool fans;
    const NRMEventDef& replaced;  // failed to operational
    const NRMEventDef& failed;    // to failed
    const NRMEventDef& installed; // absent to operational
    const NRMEventDef& removed;   // to absent
};

const ElementEvents FANS{true, nrmevent::FAN_REPLACED, nrmevent::FAN_FAILED, nrmevent::FAN_INSTALLED,
                         nrmevent::FAN_REMOVED};
const ElementEvents POWER_SUPPLIES{false, nrmevent::POWER_REPLACED, nrmevent::POWER_FAILED,
                                   nrmevent::POWER_INSTALLED, nrmevent::POWER_REMOVED};

// The event of an element whose state went from before to now; null when it
// did not change. The start-up check reads as a change from operational.
const NRMEventDef* changeEvent(const ElementEvents& kind, EnumEnclosureElementStatus before,
                               EnumEnclosureElementStatus now)
{
    if (before == now)
        return nullptr;
    switch (now) {
    case ENCLOSURE_ELEMENT_OPERATIONAL:
        return before == ENCLOSURE_ELEMENT_FAILED ? &kind.replaced : &kind.installed;
    case ENCLOSURE_ELEMENT_FAILED:
        return &kind.failed;
    case ENCLOSURE_ELEMENT_ABSENT:
        return &kind.removed;
    }
    return nullptr;
}

std::vector<RaidObject*> below(const RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    root->getChildren(found, className, true, true);
    return found;
}

uint32_t channelIDOf(const PhysicalDevice* device)
{
    const Channel* channel = device->getChannel();
    return channel ? channel->getChannelID() : STORID_UNDEFINED;
}

// The object of the adapter at the device's channel and device id, under the
// adapter's own id, when it is of the class; null otherwise.
template <class E>
E* partnerIn(Adapter* adapter, const PhysicalDevice* device, const char* className)
{
    RaidObject* found = adapter->getObject(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                           channelIDOf(device), device->getDeviceID());
    return found && found->isInstanceOf(className) ? static_cast<E*>(found) : nullptr;
}

// What the rules read of a SAF-TE enclosure: the monitor's SAF-TE readings,
// which answer from the stored data of a snapshot enclosure.
int elementCount(Enclosure* enclosure, bool fans)
{
    return fans ? BaseRaidMonitor::getFanCount(enclosure) : BaseRaidMonitor::getPowerSupplyCount(enclosure);
}

EnumEnclosureElementStatus elementStatus(Enclosure* enclosure, bool fans, int index)
{
    return fans ? BaseRaidMonitor::getFanStatus(enclosure, index)
                : BaseRaidMonitor::getPowerSupplyStatus(enclosure, index);
}

bool temperatureOutOfRange(Enclosure* enclosure)
{
    if (enclosure->isInstanceOf("NRMEnclosure"))
        return static_cast<NRMEnclosure*>(enclosure)->isTempOutOfRange();
    return enclosure->isTempOutOfRange();
}

// The larger of the two counts: an element on one side only reads absent on
// the other.
int compareCount(Enclosure* now, Enclosure* before, bool fans)
{
    return std::min(std::max(elementCount(now, fans), elementCount(before, fans)), SAFTE_ELEMENTS);
}

bool comparable(Enclosure* now, Enclosure* before, Adapter*)
{
    return BaseRaidMonitor::isSafteDataValid(now) && BaseRaidMonitor::isSafteDataValid(before);
}

#ifndef MONITOR_WITHOUT_SES2
// Of an SES-2 enclosure, its own SES readings (a snapshot's come from its
// copied elements) put on the element status scale.
int elementCount(SES2EnclosureDevice* enclosure, bool fans)
{
    return fans ? enclosure->getFanCount() : enclosure->getPowerSupplyCount();
}

EnumEnclosureElementStatus elementStatus(SES2EnclosureDevice* enclosure, bool fans, int index)
{
    const auto n = static_cast<unsigned short>(index);
    return fans ? BaseRaidMonitor::getFanStatus(enclosure->getFanStatus(n))
                : BaseRaidMonitor::getPowerSupplyStatus(enclosure->getPowerSupplyStatus(n));
}

bool temperatureOutOfRange(SES2EnclosureDevice* enclosure) { return enclosure->isTempOutOfRange(); }

// The new enclosure's count: an element the old one lacks reads unknown,
// that is operational, and one only the old one has is not looked at.
int compareCount(SES2EnclosureDevice* now, SES2EnclosureDevice*, bool fans) { return elementCount(now, fans); }

// A Vesk adapter's enclosures are compared even without valid SES data.
bool comparable(SES2EnclosureDevice* now, SES2EnclosureDevice* before, Adapter* adapter)
{
    return (now->isSESDataValid() && before->isSESDataValid()) || adapter->isInstanceOf("VeskAdapter");
}
#endif

// One enclosure event about the enclosure, for the adapter: of the whole
// enclosure (kind null: its channel phrase, its model) or of element index
// of the kind (the element number and the channel phrase, the FRU number).
void raise(BaseRaidMonitor& monitor, NRMEventCollection& ecIN, const NRMEventDef& def, Adapter* adapter,
           PhysicalDevice* enclosure, const ElementEvents* kind = nullptr, int index = 0)
{
    std::vector<std::string> params;
    if (kind)
        params.push_back(NLSParser::itoa(index + 1, 10));
    params.push_back(monitor.getEventID(enclosure->getChannel()));
    NRMEvent event = monitor.makeEvent(def, params);
    event.address.setAdapterID(adapter->getAdapterID());
    event.address.setChannelID(channelIDOf(enclosure));
    event.address.setDeviceID(enclosure->getDeviceID());
    if (kind)
        (kind->fans ? event.fanNumber : event.powerSupplyNumber) = index;
    event.setAdapterSerial(adapter);
    if (kind)
        event.fruNumber = enclosure->getFruNumber();
    else
        event.enclosureModel = enclosure->getModel();
    ecIN.addEvent(event);
}

// The start-up check of one enclosure of either kind: failed and absent
// fans, then power supplies, then the temperature.
template <class E>
void checkEnclosure(BaseRaidMonitor& monitor, NRMEventCollection& ecIN, Adapter* adapter, E* enclosure)
{
    for (const ElementEvents* kind : {&FANS, &POWER_SUPPLIES}) {
        const int count = elementCount(enclosure, kind->fans);
        for (int i = 0; i < count; ++i) {
            const NRMEventDef* def =
                changeEvent(*kind, ENCLOSURE_ELEMENT_OPERATIONAL, elementStatus(enclosure, kind->fans, i));
            if (def)
                raise(monitor, ecIN, *def, adapter, enclosure, kind, i);
        }
    }
    if (temperatureOutOfRange(enclosure))
        raise(monitor, ecIN, nrmevent::TEMP_FAILED, adapter, enclosure);
}

// A pair of enclosures of either kind, element by element, then the
// temperature; the events describe the new one.
template <class E>
void comparePair(BaseRaidMonitor& monitor, NRMEventCollection& ecIN, Adapter* adapter, E* now, E* before)
{
    for (const ElementEvents* kind : {&FANS, &POWER_SUPPLIES}) {
        const int count = compareCount(now, before, kind->fans);
        for (int i = 0; i < count; ++i) {
            const NRMEventDef* def =
                changeEvent(*kind, elementStatus(before, kind->fans, i), elementStatus(now, kind->fans, i));
            if (def)
                raise(monitor, ecIN, *def, adapter, now, kind, i);
        }
    }
    const bool wasOut = temperatureOutOfRange(before);
    const bool isOut = temperatureOutOfRange(now);
    if (wasOut && !isOut)
        raise(monitor, ecIN, nrmevent::TEMP_NORMAL, adapter, now);
    else if (isOut && !wasOut)
        raise(monitor, ecIN, nrmevent::TEMP_FAILED, adapter, now);
}

// The texts of the error lines of one kind's comparison.
struct CompareErrors {
    const char* newSide;
    const char* oldSide;
};

// One kind's comparison: each new enclosure against its partner in the old
// adapter (none: it appeared, with its start-up check), then each old
// enclosure without a partner in the new adapter (it disappeared).
template <class E>
void compareKind(BaseRaidMonitor& monitor, NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter,
                 const char* className, const CompareErrors& errors)
{
    for (RaidObject* object : below(newAdapter, className)) {
        if (!object || !object->isInstanceOf(className)) {
            monitor.logDebugGroup(NRM_DEBUG_ERRORS, "%s", errors.newSide);
            continue;
        }
        auto* now = static_cast<E*>(object);
        E* before = partnerIn<E>(oldAdapter, now, className);
        if (!before) {
            raise(monitor, ecIN, nrmevent::ENCLOSURE_OK, newAdapter, now);
            monitor.checkSafte(ecIN, newAdapter, now);
        } else if (comparable(now, before, newAdapter)) {
            comparePair(monitor, ecIN, newAdapter, now, before);
        }
    }
    for (RaidObject* object : below(oldAdapter, className)) {
        if (!object || !object->isInstanceOf(className)) {
            monitor.logDebugGroup(NRM_DEBUG_ERRORS, "%s", errors.oldSide);
            continue;
        }
        auto* before = static_cast<E*>(object);
        if (!partnerIn<E>(newAdapter, before, className))
            raise(monitor, ecIN, nrmevent::ENCLOSURE_FAILED, newAdapter, before);
    }
}

int idArg(uint32_t id) { return static_cast<int>(id); }

// A number of the drive map that counts from 1, or 2147483647 unset.
std::string fromOne(uint32_t id)
{
    return NLSParser::itoa(static_cast<int>(id == STORID_UNDEFINED ? id : id + 1u), 10);
}

} // namespace

NRMEvent BaseRaidMonitor::makeEvent(const NRMEventDef& event, const std::vector<std::string>& params)
{
    NRMEvent record(event.id, event.severity, event.key ? catalogue.get(event.key, params) : std::string(),
                    event.name);
    record.objectType = event.objectType;
    return record;
}

void BaseRaidMonitor::checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN)
{
    if (!adapterIN) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkSafte adapterIN is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering checkSafte(&ecIN, KRNA: %d)\n", idArg(adapterIN->getAdapterID()));
    for (RaidObject* object : below(adapterIN, "Enclosure")) {
        if (!object || !object->isInstanceOf("Enclosure")) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkSafte enclosure is NULL!!!\n");
            continue;
        }
        auto* enclosure = static_cast<Enclosure*>(object);
        if (!isSafteDataValid(enclosure)) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkSafte enclosure SafteData is invalid!!!\n");
            continue;
        }
        checkSafte(ecIN, adapterIN, enclosure);
    }
#ifndef MONITOR_WITHOUT_SES2
    const bool vesk = adapterIN->isInstanceOf("VeskAdapter");
    for (RaidObject* object : below(adapterIN, "SES2EnclosureDevice")) {
        if (!object || !object->isInstanceOf("SES2EnclosureDevice")) {
            logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::checkSafte ses2Eenclosure is NULL!!!\n");
            continue;
        }
        auto* enclosure = static_cast<SES2EnclosureDevice*>(object);
        if (!enclosure->isSESDataValid() && !vesk) {
            logDebugGroup(NRM_DEBUG_ERRORS,
                          "ERROR: BaseRaidMonitor::checkSafte ses2Eenclosure SESData is invalid!!!\n");
            continue;
        }
        checkSafte(ecIN, adapterIN, enclosure);
    }
#endif
}

void BaseRaidMonitor::checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN, Enclosure* enclosure)
{
    if (!adapterIN || !enclosure)
        return;
    logDebugGroup(NRM_DEBUG_TRACE, "       Entering checkSafte with Enclosure(&ecIN, CH: %d, PD: %d)\n",
                  idArg(channelIDOf(enclosure)), idArg(enclosure->getDeviceID()));
    checkEnclosure(*this, ecIN, adapterIN, enclosure);
}

#ifndef MONITOR_WITHOUT_SES2
void BaseRaidMonitor::checkSafte(NRMEventCollection& ecIN, Adapter* adapterIN, SES2EnclosureDevice* enclosure)
{
    if (!adapterIN || !enclosure)
        return;
    logDebugGroup(NRM_DEBUG_TRACE, "       Entering checkSafte with SES2Enclosure(&ecIN, CH: %d, PD: %d)\n",
                  idArg(channelIDOf(enclosure)), idArg(enclosure->getDeviceID()));
    checkEnclosure(*this, ecIN, adapterIN, enclosure);
}
#endif

void BaseRaidMonitor::compareSafte(NRMEventCollection& ecIN, Adapter* newAdapter, Adapter* oldAdapter)
{
    if (!newAdapter || !oldAdapter) {
        logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::compareSafte adapter is NULL!!!\n");
        return;
    }
    logDebugGroup(NRM_DEBUG_TRACE, "   Entering compareSafte(&ecIN, KRNA: %d)\n", idArg(newAdapter->getAdapterID()));
    logDebugGroup(NRM_DEBUG_TRACE, "       Checking for SAFTE Enclosures...\n");
    compareKind<Enclosure>(
        *this, ecIN, newAdapter, oldAdapter, "Enclosure",
        {"ERROR: BaseRaidMonitor::compareSafte newEnclosure is NULL while comparing!!!\n",
         "ERROR: BaseRaidMonitor::compareSafte oldEnclosure is NULL while checking for removed SAFTE Enclosure's!!!\n"});
#ifndef MONITOR_WITHOUT_SES2
    logDebugGroup(NRM_DEBUG_TRACE, "       Checking for SES2 Enclosures...\n");
    compareKind<SES2EnclosureDevice>(*this, ecIN, newAdapter, oldAdapter, "SES2EnclosureDevice",
                                     {"ERROR: BaseRaidMonitor::compareSafte newSES2Enclosure is NULL while "
                                      "comparing!!!\n",
                                      "ERROR: BaseRaidMonitor::compareSafte oldSES2Enclosure is NULL while checking "
                                      "for removed SES2 Enclosure's!!!\n"});
#endif
}

void BaseRaidMonitor::logSASDriveMap(NRMEventCollection& ecIN, Adapter* adapter)
{
    if (!adapter)
        return;
    logDebugGroup(NRM_DEBUG_TRACE, "       Entering logSASDriveMap(&ecIN, %d)\n", idArg(adapter->getAdapterID()));
    for (RaidObject* object : below(adapter, "Channel")) {
        if (!object || static_cast<Channel*>(object)->getChannelType() != SAS)
            continue;
        for (RaidObject* entry : below(object, "HardDrive")) {
            if (!entry) {
                logDebugGroup(NRM_DEBUG_ERRORS, "ERROR: BaseRaidMonitor::logSASDriveMap HardDrive is NULL!!!\n");
                continue;
            }
            auto* drive = static_cast<HardDrive*>(entry);
            const uint32_t channelID = channelIDOf(drive);
            NRMEvent event = makeEvent(nrmevent::DRIVE_MAP,
                                       {fromOne(adapter->getAdapterID()), fromOne(channelID),
                                        NLSParser::itoa(idArg(drive->getDeviceID()), 10), getEventID(drive),
                                        getReplacementID(drive)});
            event.address.setAdapterID(adapter->getAdapterID());
            event.address.setChannelID(channelID);
            event.address.setDeviceID(drive->getDeviceID());
            event.fruNumber = drive->getFruNumber();
            event.setAdapterSerial(adapter);
            ecIN.addEvent(event);
        }
    }
}
