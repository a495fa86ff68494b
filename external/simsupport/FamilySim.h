#ifndef FAMILYSIM_H
#define FAMILYSIM_H

// What the simulated family storage libraries (libpelmcore, libveskcore)
// share: the plain-data records their scenarios are made of, and the model
// classes and helpers that turn those records into a configuration tree.
// Header only. The class templates take the family's own class as their
// argument, so that each library instantiates (and exports) classes of its
// own and no name is defined by both.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RaidLib/Util/StorExport.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Chunk.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SASChannel.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SCSIChannel.h"
#include "RaidModel/Interface/System.h"

namespace familysim {

// ---------------------------------------------------------------- records

// One bus of a controller.
struct Channel {
    uint8_t number = 0;
    EnumChannelType type = SCSI;
    EnumSpeed speed = SPEED_UNKNOWN;
};

// A disk in a slot of a channel.
struct Drive {
    uint8_t channel = 0;
    uint16_t target = 0;
    EnumPhysicalDeviceState state = DRIVE_READY;
    uint64_t blocks = 0;                     // size in 512-byte sectors
    std::string vendor, model, serial, firmware, fru;
    EnumHardDriveCacheMode writeCache = HARD_DRIVE_CACHE_MODE_WRITE_THROUGH;
    EnumSpeed speed = SPEED_UNKNOWN;         // negotiated transfer speed
    bool pfaSupported = true;
    bool pfa = false;                        // predictive failure reported
    uint32_t wwn0 = 0, wwn1 = 0;
};

// The extent of a logical drive on one disk.
struct Chunk {
    uint8_t channel = 0;
    uint16_t target = 0;
    uint64_t startSector = 0;
    uint64_t sectors = 0;
};

// A creation time; the model's record gets every field set from it.
struct TimeStamp {
    uint16_t year = 2024;
    uint8_t month = 1, day = 1, hour = 0, minute = 0, second = 0;
    uint16_t millisecond = 0;
};

// What a logical drive of either family holds; the family's record adds its
// data space in the family's unit.
struct LogicalDriveRecord {
    uint16_t number = 0;
    std::string name;
    EnumRaidLevel level = RAID1;
    EnumLogicalDeviceState state = OKAY;
    EnumLogicalDriveCacheMode readCache = LD_CACHE_ENABLED;
    EnumLogicalDriveCacheMode writeCache = LD_CACHE_DISABLED;
    EnumStripeSize stripe = STRIPE_64K;
    TimeStamp created;
    std::vector<Chunk> chunks;
};

// What a controller of either family holds. number is its adapter id in the
// model; PCI bus, device and function tell it apart from the others.
struct ControllerRecord {
    uint32_t number = 0;
    uint8_t pciBus = 0, pciDevice = 0, pciFunction = 0;
    int slot = 0;
    EnumControllerStatus status = CONTROLLER_STATUS_WORKING;
    std::string name, vendor, serial;
    // Version texts keep at most 31 characters.
    std::string biosVersion, firmwareVersion, driverVersion;
    uint32_t buildNumber = 0, biosBuild = 0, firmwareBuild = 0, driverBuild = 0;
    int cacheMB = 0; // installed cache memory
    EnumBatteryStatus battery = BATTERY_STATUS_NOT_INSTALLED;
    uint32_t batteryFullCapacity = 0, batteryRemainingCapacity = 0, batteryCurrentDraw = 0;
    bool copyBack = false, dataScrubbing = false;
    std::vector<Channel> channels;
    std::vector<Drive> drives;
};

inline TIMESTAMP_STRUCT modelTimeStamp(const TimeStamp& t)
{
    TIMESTAMP_STRUCT out;
    out.date_valid = 1;
    out.year = t.year;
    out.month = t.month;
    out.day = t.day;
    out.time_valid = 1;
    out.hour = t.hour;
    out.minute = t.minute;
    out.second = t.second;
    out.msecond = t.millisecond;
    return out;
}

// The constructor arguments of a HardDrive from a drive record (the model
// takes its texts as char*).
struct HardDriveTexts {
    explicit HardDriveTexts(const Drive& d) : drive(d)
    {
        copyText(vendor, d.vendor.c_str());
        copyText(model, d.model.c_str());
        copyText(serial, d.serial.c_str());
        copyText(firmware, d.firmware.c_str());
        copyText(fru, d.fru.c_str());
    }
    const Drive& drive;
    mutable char vendor[PhysicalDevice::TEXT_SIZE];
    mutable char model[PhysicalDevice::TEXT_SIZE];
    mutable char serial[PhysicalDevice::SERIAL_SIZE];
    mutable char firmware[PhysicalDevice::TEXT_SIZE];
    mutable char fru[PhysicalDevice::TEXT_SIZE];
};

// ---------------------------------------------------------------- model classes

// The controller part both families fill from their record: PCI place,
// names, versions and builds, cache, battery and settings.
template <class Family>
class STOR_EXPORT RecordAdapter : public Adapter {
public:
    int getInstalledMemory() const override { return installedMemory; }
    int getCacheMemory() const override { return installedMemory; }

protected:
    RecordAdapter(EnumAdapterType modelCode, const ControllerRecord& c)
        : Adapter(modelCode, c.number, c.status, text(c.biosVersion), text(c.firmwareVersion),
                  text(c.driverVersion), c.slot, false, 32, 8, 0, 8, 15, 16, 16),
          installedMemory(c.cacheMB)
    {
        pciBus = c.pciBus;
        pciDevice = c.pciDevice;
        pciFunction = c.pciFunction;
        copyText(deviceName, c.name.c_str());
        copyText(deviceVendor, c.vendor.c_str());
        copyText(serialNumString, c.serial.c_str());
        buildNum = c.buildNumber;
        biosBuildNum = c.biosBuild;
        fwBuildNum = c.firmwareBuild;
        driverBuildNum = c.driverBuild;
        batStatus = c.battery;
        batFullCapacity = c.batteryFullCapacity;
        batRemainingCapacity = c.batteryRemainingCapacity;
        batCurrentDraw = c.batteryCurrentDraw;
        copyBackEnabled = c.copyBack;
        dataScrubbingActive = c.dataScrubbing;
        versionMatchStatus = CODE_VERSION_MATCH;
    }

    int32_t installedMemory;

private:
    // The model copies the versions from char*.
    static char* text(const std::string& s) { return const_cast<char*>(s.c_str()); }
};

// A disk with its negotiated speed and world wide name.
template <class Family>
class STOR_EXPORT RecordHardDrive : public HardDrive {
protected:
    RecordHardDrive(Adapter* adapterIN, ::Channel* channelIN, const HardDriveTexts& t)
        : HardDrive(adapterIN, channelIN, t.drive.target, t.drive.blocks, t.drive.state, t.vendor, t.model, t.serial,
                    t.firmware, t.drive.pfa, t.drive.writeCache, true, true, false, t.fru, t.drive.pfaSupported)
    {
        setSpeed = negotiatedSpeed = t.drive.speed;
        enumeratedSetSpeed = enumeratedNegotiatedSpeed = t.drive.speed;
        setWWN0(t.drive.wwn0);
        setWWN1(t.drive.wwn1);
    }
};

// A logical drive with a name (never null), cache modes, stripe size and a
// creation time with every field set; the family gives the data space in
// its own unit.
template <class Family>
class STOR_EXPORT RecordLogicalDrive : public LogicalDrive {
public:
    const char* getName() const override { return name.c_str(); }

protected:
    RecordLogicalDrive(Adapter* adapterIN, Array* arrayIN, const LogicalDriveRecord& d, BLOCK_T dataSpaceIN)
        : LogicalDrive(adapterIN, arrayIN, d.number, d.state, d.level, dataSpaceIN, 0, false, d.writeCache, false,
                       false),
          name(d.name)
    {
        readCacheMode = readCacheSetting = d.readCache;
        writeCacheSetting = d.writeCache;
        stripeSize = d.stripe;
        createTimeStamp = modelTimeStamp(d.created);
    }

    std::string name;
};

// ---------------------------------------------------------------- building a tree

// Deletes a model object with its whole subtree (a parent's destructor
// leaves its children alone).
struct SubtreeDeleter {
    void operator()(RaidObject* object) const
    {
        if (object) {
            object->deleteAllChildren();
            delete object;
        }
    }
};

// The channel object of the class that the bus type has in the model.
inline ::Channel* newChannel(Adapter* adapter, const Channel& c)
{
    switch (c.type) {
    case SCSI:
        return new SCSIChannel(adapter, c.number, 7, c.speed);
    case SATA:
        return new SATAChannel(adapter, c.number, c.speed, 8);
    case SAS:
        return new SASChannel(adapter, c.number, c.speed);
    default:
        return new ::Channel(adapter, c.number, c.type, c.speed);
    }
}

// The channel object of a bus number below the adapter; null when none.
inline ::Channel* findChannel(const Adapter& adapter, unsigned number)
{
    for (uint32_t i = 0; i < adapter.getNumChannels(); ++i) {
        ::Channel* channel = adapter.getChannel(i);
        if (channel->getChannelID() == number)
            return channel;
    }
    return nullptr;
}

// The disk of the adapter in the slot; null when none.
inline HardDrive* findDrive(const Adapter& adapter, unsigned channel, unsigned target)
{
    for (uint32_t i = 0; i < adapter.getNumHardDrives(); ++i) {
        HardDrive* drive = adapter.getHardDrive(i);
        if (drive->getChannelID() == channel && drive->getDeviceID() == target)
            return drive;
    }
    return nullptr;
}

// Adds the record's channels and, as Disk objects, its disks; a disk on a
// bus the controller does not have is left out.
template <class Disk>
void addChannelsAndDrives(Adapter& adapter, const ControllerRecord& c)
{
    for (const Channel& bus : c.channels) {
        if (::Channel* channel = newChannel(&adapter, bus))
            adapter.addChild(channel);
    }
    for (const Drive& d : c.drives) {
        ::Channel* channel = findChannel(adapter, d.channel);
        if (!channel)
            continue;
        if (Disk* disk = new Disk(&adapter, channel, HardDriveTexts(d)))
            channel->addChild(disk);
    }
}

// Adds a chunk below the logical drive for every extent; an extent whose
// disk the adapter has names that disk as its provider, any other only its
// channel and target.
inline void addChunks(LogicalDrive& logical, const Adapter& adapter, const std::vector<Chunk>& chunks)
{
    for (const Chunk& c : chunks) {
        HardDrive* disk = findDrive(adapter, c.channel, c.target);
        ::Chunk* chunk = disk ? new ::Chunk(disk, &logical, c.startSector, c.sectors, CHUNK_TYPE_DATA, 0, CHUNK_NORMAL)
                              : new ::Chunk(c.channel, c.target, c.startSector, c.sectors, 0, 0, CHUNK_TYPE_DATA,
                                            CHUNK_NORMAL);
        if (chunk)
            logical.addChild(chunk);
    }
}

// An adapter with its subtree, deleted whole unless released.
using AdapterTree = std::unique_ptr<Adapter, SubtreeDeleter>;

// Builds the adapter of every controller with `build` (an AdapterTree of a
// record) and adds it to the system. A build that yields no adapter (no
// memory) records -3 in ret.
template <class Record, class Build>
void addAdapters(System& system, const std::vector<Record>& controllers, Ret& ret, Build build)
{
    for (const Record& c : controllers) {
        AdapterTree adapter = build(c);
        if (!adapter) {
            ret.setResource();
            continue;
        }
        system.addChild(adapter.release());   // the system owns it, even when adding fails
    }
}

// ---------------------------------------------------------------- writing scenarios

// Disk sizes, in 512-byte sectors.
const uint64_t BLOCKS_36G = 71132000;
const uint64_t BLOCKS_73G = 143374000;
const uint64_t BLOCKS_80G = 156301488;
const uint64_t BLOCKS_146G = 286749488;
const uint64_t BLOCKS_250G = 488397168;

// A disk; its FRU text is "FRU-" and the model, its world wide name follows
// from its slot.
inline Drive disk(uint8_t channel, uint16_t target, EnumPhysicalDeviceState state, uint64_t blocks,
                  EnumSpeed speed, const std::string& vendor, const std::string& model, const std::string& serial)
{
    return Drive{channel, target, state, blocks, vendor, model, serial, "0007", "FRU-" + model,
                 HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, speed, true, false, 0x5000C500u,
                 uint32_t(channel) << 16 | target};
}

// A disk by channel and target.
using Slot = std::pair<uint8_t, uint16_t>;

// The family's record (Record, a LogicalDriveRecord) of a logical drive of
// `sectors` data sectors over the disks, each giving it an extent from
// `startSector` on: the data divided by the members that carry data (one of
// a mirror, all but one of a RAID-5). The family adds the data space in its
// own unit.
template <class Record>
Record logicalDrive(uint16_t number, const std::string& name, EnumRaidLevel level, EnumLogicalDeviceState state,
                    uint64_t sectors, const std::vector<Slot>& disks, uint64_t startSector = 0)
{
    Record d;
    d.number = number;
    d.name = name;
    d.level = level;
    d.state = state;
    const uint64_t count = disks.size();
    const uint64_t carrying = level == RAID1 ? 1 : level == RAID5 && count > 1 ? count - 1 : count;
    for (const Slot& s : disks) {
        Chunk c;
        c.channel = s.first;
        c.target = s.second;
        c.startSector = startSector;
        c.sectors = carrying ? sectors / carrying : 0;
        d.chunks.push_back(c);
    }
    return d;
}

} // namespace familysim

#endif
