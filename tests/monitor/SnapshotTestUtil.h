#ifndef TESTS_MONITOR_SNAPSHOTTESTUTIL_H
#define TESTS_MONITOR_SNAPSHOTTESTUTIL_H

// Helpers of the snapshot tests: snapshot documents read through a builder,
// and a description of a configuration tree by what the monitor's rules read
// of it, the same for a live tree and for a snapshot.

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "monitor/NRMConfigBuilder.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSystem.h"

namespace snapshottest {

// Whether this monitor library keeps SES-2 enclosures and SAS phys.
#ifdef MONITOR_WITHOUT_SES2
const bool WITH_SES2 = false;
#else
const bool WITH_SES2 = true;
#endif

inline void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The tree a builder reads from a snapshot file holding text.
inline NRMSystem* readSnapshot(NRMConfigBuilder& builder, const std::string& text)
{
    writeText(builder.configFileName, text);
    builder.readXML();
    return builder.nrmSystem;
}

template <class T = RaidObject>
std::vector<T*> all(const RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    if (root)
        root->getChildren(found, className, true, true);
    std::vector<T*> typed;
    for (RaidObject* o : found)
        typed.push_back(static_cast<T*>(o));
    return typed;
}

inline std::string ids(const RaidObject* o)
{
    std::ostringstream s;
    const Addr& a = o->getAddr();
    const unsigned long long values[] = {a.getAdapterID(), a.getArrayID(),  a.getLogicalDriveID(),
                                         a.getChannelID(), a.getDeviceID(), a.getItemID(),
                                         a.getSASPhyID()};
    for (unsigned long long v : values)
        s << (v == STORID_UNDEFINED ? std::string("-") : std::to_string(v)) << '/';
    return s.str();
}

// The SAF-TE readings of an enclosure of either kind: E answers the
// counts, statuses, temperature and slot of a device id; deviceOfSlot the
// device id in a slot.
template <class E, class DeviceOfSlot>
std::string readingsOf(const E* e, bool valid, DeviceOfSlot deviceOfSlot)
{
    std::ostringstream s;
    s << "valid " << valid << " fans " << e->getFanCount() << " supplies " << e->getPowerSupplyCount() << " temp "
      << e->isTempOutOfRange() << " |";
    for (unsigned short i = 0; i <= 33; ++i)
        s << ' ' << e->getFanStatus(i) << '/' << e->getPowerSupplyStatus(i);
    s << " |";
    for (int id = -1; id <= 16; ++id)
        s << ' ' << e->getSlotNumberFromDeviceID(id);
    s << " |";
    for (int slot = -1; slot <= 64; ++slot)
        s << ' ' << deviceOfSlot(slot);
    return s.str();
}

// Those of the stored data for a snapshot, the live ones otherwise.
inline std::string safteReadings(const Enclosure* e)
{
    if (e->isInstanceOf("NRMEnclosure")) {
        const auto* n = static_cast<const NRMEnclosure*>(e);
        return readingsOf(n, n->nrmSafteDataValid, [n](int slot) { return n->getDeviceIDFromSlotNumber(slot); });
    }
    const SafteStatus* status = e->isSafteDataValid() ? e->getSafteStatus() : nullptr;
    return readingsOf(e, status != nullptr && e->getSafteConfig() != nullptr, [status](int slot) {
        return status ? status->getDeviceIDFromSlotNumber(slot) : SafteStatus::NO_SLOT;
    });
}

inline std::string sesReadings(const SES2EnclosureDevice* e)
{
    std::ostringstream s;
    s << "valid " << e->isSESDataValid() << " fans " << e->getFanCount() << " supplies "
      << e->getPowerSupplyCount() << " temp " << e->isTempOutOfRange() << " |";
    for (unsigned short i = 0; i <= e->getFanCount() + 1u || i <= e->getPowerSupplyCount() + 1u; ++i)
        s << ' ' << e->getFanStatus(i) << '/' << e->getPowerSupplyStatus(i);
    s << " |";
    for (RaidObject* c : e->getChildren()) {
        if (c->isInstanceOf("SESElement")) {
            const auto* element = static_cast<const SESElement*>(c);
            s << ' ' << ids(element) << element->getType() << ':' << element->getStatus() << ":'"
              << element->getDescriptor() << "'";
        }
    }
    return s.str();
}

template <class T, class F>
void addSorted(std::vector<std::string>& lines, const std::vector<T*>& objects, F describe)
{
    std::vector<std::string> group;
    for (T* o : objects)
        group.push_back(describe(o));
    std::sort(group.begin(), group.end());
    lines.insert(lines.end(), group.begin(), group.end());
}

// One line per object that the rules look at: controllers, their drives,
// logical drives (of every level), enclosures with their SAF-TE or SES
// readings and SAS phys, then the stored tasks. SES-2 enclosures and SAS
// phys only withSes2. Neither the library type nor the tree's shape below a
// controller shows: a stored controller holds its logical drives directly.
inline std::string describe(const RaidObject* root, const RaidObject* tasks, bool withSes2)
{
    std::vector<std::string> lines;
    for (Adapter* a : all<Adapter>(root, "Adapter")) {
        std::ostringstream s;
        s << "adapter " << ids(a) << " type " << a->getAdapterType() << " slot " << a->getPhysicalSlot()
          << " status " << a->getAdapterStatus() << " serial '" << a->getSerialNumString() << "' battery "
          << a->getBatStatus() << '/' << a->IsBatTempWarning() << " match " << a->getVersionMatchStatus()
          << " versions '" << a->getBiosVersion() << "' '" << a->getFirmwareVersion() << "' '"
          << a->getDeviceDriverVersion() << "' pci " << a->getPCIBus() << '/' << a->getPciDevice() << '/'
          << a->getPCIFunction() << " vendor '" << a->getDeviceVendor() << "' name '" << a->getDeviceName()
          << "' limits";
        for (int limit = MAX_LOGICAL_DRIVES; limit <= MAX_CONTROLLERS; ++limit)
            s << ' ' << a->getLimit(static_cast<Limit>(limit));
        s << " channels " << a->getNumChannels() << " drives " << a->getNumHardDrives() << " enclosures "
          << a->getNumEnclosures();
        if (withSes2)
            s << " ses " << a->getNumSES2Enclosures();
        lines.push_back(s.str());

        addSorted(lines, all<Channel>(a, "Channel"), [](Channel* c) {
            return "channel " + ids(c) + " type " + std::to_string(c->getChannelType()) + " drives " +
                   std::to_string(c->getNumHardDrives()) + " enclosures " + std::to_string(c->getNumEnclosures());
        });
        addSorted(lines, all<HardDrive>(a, "HardDrive"), [](HardDrive* d) {
            std::ostringstream t;
            t << "drive " << ids(d) << " channel " << (d->getChannel() ? d->getChannel()->getChannelID() : 0)
              << " state " << d->getState() << " type " << d->getDeviceType() << " '" << d->getVendor() << "' '"
              << d->getModel() << "' '" << d->getSerialNumber() << "' '" << d->getFirmwareLevel() << "' fru '"
              << d->getFruNumber() << "' wwn " << d->getWWN0() << '/' << d->getWWN1() << '/' << d->getWWNString()
              << " if " << d->getInterfaceType() << " sata " << d->getSataPortNumber() << " size " << d->getSize()
              << " pfa " << d->getPfaError() << '/' << d->getPfaSupported() << " os " << d->getOSPartitionInfo()
              << " task " << d->getTaskInProgress();
            return t.str();
        });
        addSorted(lines, all<LogicalDrive>(a, "LogicalDrive"), [](LogicalDrive* l) {
            std::ostringstream t;
            const TIMESTAMP_STRUCT& c = l->getCreateTimeStamp();
            t << "logical " << ids(l) << " adapter " << (l->getAdapter() ? l->getAdapter()->getAdapterID() : 0)
              << " state " << l->getState() << " raid " << l->getRaidLevel() << " blocked " << l->getBlockedAccess()
              << " cache " << l->getWriteCacheMode() << " os " << l->hasOSPartition() << " bad "
              << l->getBadBlockCount() << " snapshot " << l->getSnapshotType() << " secondary '"
              << l->getSecondaryLogicals() << "' created " << c.year << '-' << c.month << '-' << c.day << ' '
              << c.hour << ':' << c.minute << ':' << c.second << '.' << c.msecond;
            return t.str();
        });
        addSorted(lines, all<Enclosure>(a, "Enclosure"), [](Enclosure* e) {
            return "enclosure " + ids(e) + " channel " +
                   std::to_string(e->getChannel() ? e->getChannel()->getChannelID() : 0) + " '" + e->getModel() +
                   "' '" + e->getSerialNumber() + "' fru '" + e->getFruNumber() + "' " + safteReadings(e);
        });
        if (!withSes2)
            continue;
        addSorted(lines, all<SES2EnclosureDevice>(a, "SES2EnclosureDevice"), [](SES2EnclosureDevice* e) {
            return "ses " + ids(e) + " '" + e->getVendor() + "' '" + e->getModel() + "' '" + e->getSerialNumber() +
                   "' '" + e->getFirmwareLevel() + "' fru '" + e->getFruNumber() + "' " + sesReadings(e);
        });
        addSorted(lines, all<SASPhy>(a, "SASPhy"), [](SASPhy* p) {
            std::ostringstream t;
            t << "phy " << ids(p) << " '" << p->getSASAddress() << "' " << int(p->getInitiatorProtocols()) << '/'
              << int(p->getTargetProtocols()) << " attached " << p->getAttachedPhyID() << " '"
              << p->getAttachedSASaddress() << "' " << int(p->getAttachedInitiatorProtocols()) << '/'
              << int(p->getAttachedTargetProtocols()) << " type " << p->getAttachedDeviceType() << " rates "
              << p->getNegPhyLinkRate() << '/' << p->getProgMinPhyLinkRate() << '/' << p->getProgMaxPhyLinkRate()
              << '/' << p->getHwMinPhyLinkRate() << '/' << p->getHwMaxPhyLinkRate() << " changes "
              << int(p->getPhyChangeCount()) << " virtual " << p->isVirtualPhy() << " timeout "
              << int(p->getPathTimeout()) << " routing " << p->getRoutingType();
            return t.str();
        });
    }
    for (NRMProgress* p : all<NRMProgress>(tasks, "Progress")) {
        std::ostringstream t;
        const Addr& a = p->address;
        t << "task " << p->taskID << ' ' << p->taskType << ' ' << p->taskState << ' ' << p->percentageComplete << " at "
          << a.getAdapterID() << '/' << a.getArrayID() << '/' << a.getLogicalDriveID() << '/' << a.getChannelID()
          << '/' << a.getDeviceID() << '/' << a.getChunkID() << " serial '" << p->adapterSerial << "' unique "
          << p->LDUniqueID;
        lines.push_back(t.str());
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The first task list below a snapshot root.
inline NRMProgressCollection* storedTasks(const RaidObject* root)
{
    std::vector<NRMProgressCollection*> lists = all<NRMProgressCollection>(root, "ProgressCollection");
    return lists.empty() ? nullptr : lists.front();
}

} // namespace snapshottest

#endif
