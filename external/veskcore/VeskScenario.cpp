// The built-in scenario of the simulated Vesk controllers.

#include <string>

#include "VeskSim.h"

namespace vesksim {

namespace {

using familysim::channel;
using familysim::disk;
using familysim::Slot;
using familysim::stamp;

const uint64_t BLOCKS_73G = 143374000;
const uint64_t BLOCKS_80G = 156301488;
const uint64_t BLOCKS_146G = 286749488;
const uint64_t BLOCKS_250G = 488397168;

LogicalDrive logical(uint16_t number, const std::string& name, EnumRaidLevel level, EnumLogicalDeviceState state,
                     uint64_t blocks, const std::vector<Slot>& disks, uint64_t startSector = 0)
{
    LogicalDrive d;
    static_cast<familysim::LogicalDriveRecord&>(d) =
        familysim::logicalDrive(number, name, level, state, blocks, disks, startSector);
    d.blocks = blocks;
    return d;
}

// An array sized by the extents its logical drives take on its disks.
Array array(uint16_t number, std::vector<LogicalDrive> drives)
{
    Array a;
    a.number = number;
    for (const LogicalDrive& d : drives) {
        for (const familysim::Chunk& c : d.chunks)
            a.blocks += c.sectors;
    }
    a.logicalDrives = std::move(drives);
    return a;
}

void describe(Controller& c, const std::string& name, const std::string& serial, uint32_t build)
{
    c.name = name;
    c.vendor = "Veskon";
    c.serial = serial;
    c.biosVersion = "5.2.0";
    c.firmwareVersion = "5.2.0-" + std::to_string(build);
    c.driverVersion = "2.1.4";
    c.buildNumber = c.biosBuild = c.firmwareBuild = build;
    c.driverBuild = 12;
}

// Controller 0: SCSI, SATA and SAS channels with a SAF-TE enclosure and an
// SES-2 device, a battery-backed cache, and three arrays: two mirrors on one
// pair of disks, a critical RAID-5 with a dead member and a RAID-0.
Controller internalController()
{
    Controller c;
    c.number = 0;
    c.pciBus = 4;
    c.slot = 4;
    describe(c, "VESK 8i RAID", "VSK0042", 1418);
    c.partNumber = "VK-8I-2007-A";
    c.batteryFRU = "BAT-FRU-0731";
    c.cardVersion = "Rev C";
    c.fruNumber = "FRU-VK8I-03";
    c.cacheMB = 256;
    c.battery = BATTERY_STATUS_OK;
    c.batteryFullCapacity = 1000;
    c.batteryRemainingCapacity = 900;
    c.batteryCurrentDraw = 150;
    c.copyBack = true;
    c.channels = {channel(0, SCSI, SPEED_SCSI320), channel(1, SATA, SPEED_SATA300), channel(2, SAS, SPEED_SAS300)};
    c.drives = {
        disk(0, 0, DRIVE_ONLINE, BLOCKS_73G, SPEED_SCSI320, "SEAGATE", "ST373307LC", "3HZ1A001"),
        disk(0, 1, DRIVE_ONLINE, BLOCKS_73G, SPEED_SCSI320, "SEAGATE", "ST373307LC", "3HZ1A002"),
        disk(0, 2, DRIVE_SPARE, BLOCKS_73G, SPEED_SCSI320, "SEAGATE", "ST373307LC", "3HZ1A003"),
        disk(1, 0, DRIVE_ONLINE, BLOCKS_250G, SPEED_SATA300, "MAXTOR", "7L250S0", "L50C0001"),
        disk(1, 1, DRIVE_ONLINE, BLOCKS_250G, SPEED_SATA300, "MAXTOR", "7L250S0", "L50C0002"),
        disk(1, 2, DRIVE_DEAD, BLOCKS_250G, SPEED_SATA300, "MAXTOR", "7L250S0", "L50C0003"),
        disk(2, 0, DRIVE_ONLINE, BLOCKS_146G, SPEED_SAS300, "SEAGATE", "ST3146855SS", "3LN1B001"),
        disk(2, 1, DRIVE_ONLINE, BLOCKS_146G, SPEED_SAS300, "SEAGATE", "ST3146855SS", "3LN1B002"),
        disk(2, 2, DRIVE_READY, BLOCKS_146G, SPEED_SAS300, "SEAGATE", "ST3146855SS", "3LN1B003"),
    };
    c.drives[5].pfa = true;
    c.drives[6].writeCache = HARD_DRIVE_CACHE_MODE_WRITE_BACK;

    SafteEnclosure shelf;
    shelf.channel = 0;
    shelf.target = 15;
    shelf.vendor = "VESKON";
    shelf.model = "SAFTE SHELF 14";
    shelf.serial = "SH0815";
    shelf.firmware = "1.02";
    shelf.fru = "ENC-FRU-0815";
    shelf.slots = 14;
    shelf.tempSensors = 2;
    shelf.fanStatus = {0, 0, 2};
    shelf.powerSupplyStatus = {0, 1};
    c.enclosures = {shelf};
    SesDevice expander;
    expander.channel = 2;
    expander.target = 8;
    expander.vendor = "VESKON";
    expander.model = "Z12SAS EXPANDER";
    expander.serial = "EX0012";
    expander.firmware = "0.9";
    expander.fru = "SES-FRU-12";
    c.sesDevices = {expander};

    LogicalDrive boot = logical(0, "Boot", RAID1, OKAY, 64000000, {{0, 0}, {0, 1}});
    boot.created = stamp(2007, 3, 5, 14, 30, 15, 250);
    LogicalDrive logs = logical(1, "Logs", RAID1, OKAY, 20000000, {{0, 0}, {0, 1}}, 64000000);
    logs.created = stamp(2007, 3, 6, 9, 0, 0, 0);
    LogicalDrive data = logical(2, "Data", RAID5, CRITICAL, 800000000, {{1, 0}, {1, 1}, {1, 2}});
    data.writeCache = LD_CACHE_ENABLED;
    data.created = stamp(2008, 1, 20, 11, 5, 42, 7);
    LogicalDrive scratch = logical(3, "Scratch", RAID0, OKAY, 400000000, {{2, 0}, {2, 1}});
    scratch.readCache = LD_CACHE_DISABLED;
    scratch.created = stamp(2009, 6, 30, 23, 59, 59, 999);
    c.arrays = {array(0, {boot, logs}), array(1, {data}), array(2, {scratch})};
    return c;
}

// Controller 1: IDE, fibre and SATA-on-SAS channels, no serial number (its
// PCI place names it), a part number longer than the 32 characters kept, a
// charging battery, an enclosure that answers no SAF-TE pages and one mirror.
Controller externalController()
{
    Controller c;
    c.number = 1;
    c.pciBus = 5;
    c.pciDevice = 1;
    c.slot = 5;
    describe(c, "VESK 4e", "", 1502);
    c.partNumber = "VK-4E-EXTERNAL-PORT-CARD-PN-0123456789";
    c.batteryFRU = "BAT-FRU-0902";
    c.cardVersion = "Rev A";
    c.fruNumber = "FRU-VK4E-01";
    c.cacheMB = 128;
    c.battery = BATTERY_STATUS_CHARGING;
    c.batteryFullCapacity = 1000;
    c.batteryRemainingCapacity = 400;
    c.batteryCurrentDraw = 0;
    c.channels = {channel(0, IDE, SPEED_ATA133), channel(1, FIBRE, SPEED_FIBRE2GB),
                  channel(2, SATA_ON_SAS, SPEED_SATAONSAS300)};
    c.drives = {
        disk(0, 0, DRIVE_ONLINE, BLOCKS_80G, SPEED_ATA133, "WDC", "WD800JB", "WMA8E001"),
        disk(1, 0, DRIVE_ONLINE, BLOCKS_146G, SPEED_FIBRE2GB, "SEAGATE", "ST3146807FC", "3HY0F001"),
        disk(1, 1, DRIVE_ONLINE, BLOCKS_146G, SPEED_FIBRE2GB, "SEAGATE", "ST3146807FC", "3HY0F002"),
        disk(2, 0, DRIVE_READY, BLOCKS_250G, SPEED_SATAONSAS300, "MAXTOR", "7L250S0", "L50S0001"),
    };
    SafteEnclosure jbod;
    jbod.channel = 1;
    jbod.target = 125;
    jbod.vendor = "VESKON";
    jbod.model = "JBOD SHELF";
    jbod.serial = "JB0900";
    jbod.firmware = "2.00";
    jbod.fru = "ENC-FRU-0900";
    jbod.safteData = false;
    c.enclosures = {jbod};
    LogicalDrive archive = logical(0, "Archive", RAID1, OKAY, 200000000, {{1, 0}, {1, 1}});
    archive.created = stamp(2008, 12, 24, 18, 0, 0, 0);
    c.arrays = {array(0, {archive})};
    return c;
}

} // namespace

Scenario defaultScenario()
{
    Scenario s;
    s.controllers = {internalController(), externalController()};
    return s;
}

} // namespace vesksim
