// The built-in scenario of the simulated Vesk controllers.

#include <string>

#include "VeskSim.h"

namespace vesksim {

namespace {

using namespace familysim;

LogicalDrive logical(uint16_t number, const std::string& name, EnumRaidLevel level, EnumLogicalDeviceState state,
                     uint64_t blocks, const std::vector<Slot>& disks, uint64_t startSector = 0)
{
    LogicalDrive d = logicalDrive<LogicalDrive>(number, name, level, state, blocks, disks, startSector);
    d.blocks = blocks;
    return d;
}

// An array sized by the extents its logical drives take on its disks.
Array array(uint16_t number, std::vector<LogicalDrive> drives)
{
    Array a;
    a.number = number;
    for (const LogicalDrive& d : drives) {
        for (const Chunk& c : d.chunks)
            a.blocks += c.sectors;
    }
    a.logicalDrives = std::move(drives);
    return a;
}

// A controller's number, PCI place and slot, texts, versions and the texts
// of its card.
void describe(Controller& c, uint32_t number, uint8_t bus, uint8_t device, const std::string& name,
              const std::string& serial, uint32_t build, const std::vector<std::string>& card)
{
    c.number = number;
    c.pciBus = bus;
    c.pciDevice = device;
    c.slot = bus;
    c.name = name;
    c.vendor = "Veskon";
    c.serial = serial;
    c.biosVersion = "5.2.0";
    c.firmwareVersion = "5.2.0-" + std::to_string(build);
    c.driverVersion = "2.1.4";
    c.buildNumber = c.biosBuild = c.firmwareBuild = build;
    c.driverBuild = 12;
    c.partNumber = card.at(0);
    c.batteryFRU = card.at(1);
    c.cardVersion = card.at(2);
    c.fruNumber = card.at(3);
}

// The cache and the battery that backs it.
void cache(Controller& c, int megabytes, EnumBatteryStatus battery, uint32_t full, uint32_t remaining, uint32_t draw)
{
    c.cacheMB = megabytes;
    c.battery = battery;
    c.batteryFullCapacity = full;
    c.batteryRemainingCapacity = remaining;
    c.batteryCurrentDraw = draw;
}

// Controller 0: SCSI, SATA and SAS channels with a SAF-TE enclosure and an
// SES-2 device, a battery-backed cache, and three arrays: two mirrors on one
// pair of disks, a critical RAID-5 with a dead member and a RAID-0.
Controller internalController()
{
    Controller c;
    describe(c, 0, 4, 0, "VESK 8i RAID", "VSK0042", 1418, {"VK-8I-2007-A", "BAT-FRU-0731", "Rev C", "FRU-VK8I-03"});
    cache(c, 256, BATTERY_STATUS_OK, 1000, 900, 150);
    c.copyBack = true;
    c.channels = {{0, SCSI, SPEED_SCSI320}, {1, SATA, SPEED_SATA300}, {2, SAS, SPEED_SAS300}};
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

    // A shelf with a fan not installed and a supply that is off, and an expander.
    c.enclosures = {
        {0, 15, "VESKON", "SAFTE SHELF 14", "SH0815", "1.02", "ENC-FRU-0815", true, 14, 2, {0, 0, 2}, {0, 1}, 0, 0}};
    c.sesDevices = {{2, 8, "VESKON", "Z12SAS EXPANDER", "EX0012", "0.9", "SES-FRU-12"}};

    LogicalDrive boot = logical(0, "Boot", RAID1, OKAY, 64000000, {{0, 0}, {0, 1}});
    boot.created = {2007, 3, 5, 14, 30, 15, 250};
    LogicalDrive logs = logical(1, "Logs", RAID1, OKAY, 20000000, {{0, 0}, {0, 1}}, 64000000);
    logs.created = {2007, 3, 6, 9, 0, 0, 0};
    LogicalDrive data = logical(2, "Data", RAID5, CRITICAL, 800000000, {{1, 0}, {1, 1}, {1, 2}});
    data.writeCache = LD_CACHE_ENABLED;
    data.created = {2008, 1, 20, 11, 5, 42, 7};
    LogicalDrive scratch = logical(3, "Scratch", RAID0, OKAY, 400000000, {{2, 0}, {2, 1}});
    scratch.readCache = LD_CACHE_DISABLED;
    scratch.created = {2009, 6, 30, 23, 59, 59, 999};
    c.arrays = {array(0, {boot, logs}), array(1, {data}), array(2, {scratch})};
    return c;
}

// Controller 1: IDE, fibre and SATA-on-SAS channels, no serial number (its
// PCI place names it), a part number longer than the 32 characters kept, a
// charging battery, an enclosure that answers no SAF-TE pages and one mirror.
Controller externalController()
{
    Controller c;
    describe(c, 1, 5, 1, "VESK 4e", "", 1502,
             {"VK-4E-EXTERNAL-PORT-CARD-PN-0123456789", "BAT-FRU-0902", "Rev A", "FRU-VK4E-01"});
    cache(c, 128, BATTERY_STATUS_CHARGING, 1000, 400, 0);
    c.channels = {{0, IDE, SPEED_ATA133}, {1, FIBRE, SPEED_FIBRE2GB}, {2, SATA_ON_SAS, SPEED_SATAONSAS300}};
    c.drives = {
        disk(0, 0, DRIVE_ONLINE, BLOCKS_80G, SPEED_ATA133, "WDC", "WD800JB", "WMA8E001"),
        disk(1, 0, DRIVE_ONLINE, BLOCKS_146G, SPEED_FIBRE2GB, "SEAGATE", "ST3146807FC", "3HY0F001"),
        disk(1, 1, DRIVE_ONLINE, BLOCKS_146G, SPEED_FIBRE2GB, "SEAGATE", "ST3146807FC", "3HY0F002"),
        disk(2, 0, DRIVE_READY, BLOCKS_250G, SPEED_SATAONSAS300, "MAXTOR", "7L250S0", "L50S0001"),
    };
    c.enclosures = {{1, 125, "VESKON", "JBOD SHELF", "JB0900", "2.00", "ENC-FRU-0900", false, 0, 0, {}, {}, 0, 0}};
    LogicalDrive archive = logical(0, "Archive", RAID1, OKAY, 200000000, {{1, 0}, {1, 1}});
    archive.created = {2008, 12, 24, 18, 0, 0, 0};
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
