// The built-in scenarios of the simulated Pelm controllers.

#include <string>

#include "PelmSim.h"

namespace pelmsim {

namespace {

using namespace familysim;

const uint64_t SECTORS_PER_MB = 2048;

LogicalDrive logical(uint16_t number, const std::string& name, EnumRaidLevel level, EnumLogicalDeviceState state,
                     uint64_t sizeMB, const std::vector<Slot>& disks)
{
    LogicalDrive d = logicalDrive<LogicalDrive>(number, name, level, state, sizeMB * SECTORS_PER_MB, disks);
    d.sizeMB = sizeMB;
    return d;
}

// A controller's number, PCI place and slot, texts and versions.
void describe(Controller& c, uint32_t number, uint8_t bus, uint8_t device, const std::string& name,
              const std::string& serial, const std::string& bios, const std::string& firmware, uint32_t build)
{
    c.number = number;
    c.pciBus = bus;
    c.pciDevice = device;
    c.slot = int(number) + 2;
    c.name = name;
    c.vendor = "Pelmark";
    c.serial = serial;
    c.biosVersion = bios;
    c.firmwareVersion = firmware;
    c.driverVersion = "1.3.0 (78)";
    c.buildNumber = build;
    c.firmwareBuild = build;
}

// Controller 0: a RAID controller with two Ultra160 SCSI channels, a mirror
// and a critical RAID-5 drive whose rebuild runs.
Controller scsiController()
{
    Controller c;
    describe(c, 0, 2, 4, "PELM U160 RAID", "PLM0004711", "4.1 (123)", "2.10 (456)", 456);
    c.cacheMB = 64;
    c.ultra160 = true;
    c.channels = {{0, SCSI, SPEED_SCSI160}, {1, SCSI, SPEED_SCSI160}};
    auto scsi = [](uint8_t ch, uint16_t t, EnumPhysicalDeviceState state, bool big, const char* serial) {
        return disk(ch, t, state, big ? BLOCKS_73G : BLOCKS_36G, SPEED_SCSI160, "SEAGATE",
                    big ? "ST373307LC" : "ST336607LC", serial);
    };
    c.drives = {
        scsi(0, 0, DRIVE_ONLINE, false, "3JA0A001"),   scsi(0, 1, DRIVE_ONLINE, false, "3JA0A002"),
        scsi(0, 2, DRIVE_ONLINE, true, "3HZ0B001"),    scsi(0, 3, DRIVE_SPARE, true, "3HZ0B002"),
        scsi(1, 0, DRIVE_ONLINE, true, "3HZ0B003"),    scsi(1, 1, DRIVE_ONLINE, true, "3HZ0B004"),
        scsi(1, 2, DRIVE_REBUILDING, true, "3HZ0B005"), scsi(1, 3, DRIVE_READY, false, "3JA0A003"),
    };
    LogicalDrive system = logical(0, "System", RAID1, OKAY, 34000, {{0, 0}, {0, 1}});
    system.created = {2023, 11, 2, 8, 15, 30, 120};
    LogicalDrive data = logical(1, "Data", RAID5, CRITICAL, 138000, {{0, 2}, {1, 0}, {1, 1}, {1, 2}});
    data.writeCache = LD_CACHE_ENABLED;
    data.created = {2024, 1, 15, 13, 45, 0, 500};
    c.logicalDrives = {system, data};
    Task rebuild;
    rebuild.logicalDrive = 1;
    rebuild.type = TASK_REBUILD;
    rebuild.percent = 35;
    c.tasks = {rebuild};
    c.events = {
        {1, 7, 0, 0, 0x00, "", "Controller started"},
        {2, 0, 2, 3, 0x81, "/c1/t2", "Media error found"},
        {3, 7, 0, 1, 0x10, "/ld1", "Rebuild started"},
    };
    c.nextSequence = 4;
    return c;
}

// Controller 1: a SATA and SAS RAID controller without cache or serial
// number, with one RAID-0 drive.
Controller sataController()
{
    Controller c;
    describe(c, 1, 3, 0, "PELM SATA RAID", "", "3.0 (41)", "1.5 (88)", 88);
    c.channels = {{0, SATA, SPEED_SATA300}, {1, SAS, SPEED_SAS300}};
    c.drives = {
        disk(0, 0, DRIVE_ONLINE, BLOCKS_250G, SPEED_SATA300, "SEAGATE", "ST3250823AS", "5ND0C001"),
        disk(0, 1, DRIVE_ONLINE, BLOCKS_250G, SPEED_SATA300, "SEAGATE", "ST3250823AS", "5ND0C002"),
        disk(1, 0, DRIVE_READY, BLOCKS_146G, SPEED_SAS300, "SEAGATE", "ST3146855SS", "3LN0D001"),
    };
    LogicalDrive scratch = logical(0, "Scratch", RAID0, OKAY, 400000, {{0, 0}, {0, 1}});
    scratch.readCache = LD_CACHE_DISABLED;
    scratch.created = {2024, 3, 1, 17, 2, 44, 0};
    c.logicalDrives = {scratch};
    c.events = {{1, 7, 0, 0, 0x00, "", "Controller started"}};
    c.nextSequence = 2;
    return c;
}

} // namespace

Scenario defaultScenario()
{
    Scenario s;
    s.controllers = {scsiController(), sataController()};
    return s;
}

Scenario fullScenario(unsigned controllers)
{
    Scenario s;
    for (unsigned i = 0; i < controllers; ++i) {
        Controller c;
        describe(c, i, uint8_t(2 + i % 250), uint8_t(i / 250), "PELM SAS RAID", "PLMF" + std::to_string(i),
                 "4.1 (123)", "2.10 (456)", 456);
        c.cacheMB = 256;
        for (uint8_t ch = 0; ch < 4; ++ch) {
            c.channels.push_back({ch, SAS, SPEED_SAS300});
            for (uint16_t t = 0; t < 16; ++t)
                c.drives.push_back(disk(ch, t, DRIVE_ONLINE, BLOCKS_73G, SPEED_SAS300, "SEAGATE", "ST373455SS",
                                        "F" + std::to_string(i) + "-" + std::to_string(ch * 16 + t)));
        }
        for (uint16_t k = 0; k < 8; ++k) {
            std::vector<Slot> members;
            for (uint16_t t = 0; t < 8; ++t)
                members.push_back({uint8_t(k / 2), uint16_t((k % 2) * 8 + t)});
            c.logicalDrives.push_back(logical(k, "Volume " + std::to_string(k), RAID5, OKAY, 476000, members));
        }
        c.events = {{1, 7, 0, 0, 0x00, "", "Controller started"}};
        c.nextSequence = 2;
        s.controllers.push_back(c);
    }
    return s;
}

} // namespace pelmsim
