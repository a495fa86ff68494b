// The built-in scenario: two controllers that show what the family reads
// (README.md lists them).

#include <cstdio>
#include <cstring>

#include "SimInternal.h"

namespace tarnellsim {

namespace {

const uint32_t BLOCKS_36G = 71132000;
const uint32_t BLOCKS_73G = 143374000;

Device disk(uint8_t ch, uint8_t tg, uint8_t state, uint32_t blocks, const char* vendor, const char* model,
            const char* serial, const char* fru) {
    Device d;
    d.channel = ch;
    d.target = tg;
    d.type = DEVTYPE_DISK;
    d.state = state;
    d.blocks = blocks;
    d.vendor = vendor;
    d.model = model;
    d.firmware = "B24A";
    d.serial = serial;
    d.fru = fru;
    return d;
}

Device other(uint8_t ch, uint8_t tg, uint8_t type, const char* vendor, const char* model, const char* fw,
             const char* serial) {
    Device d;
    d.channel = ch;
    d.target = tg;
    d.type = type;
    d.state = DEVSTATE_READY;
    d.vendor = vendor;
    d.model = model;
    d.firmware = fw;
    d.serial = serial;
    d.writeCache = false;
    d.writeCacheChangeable = false;
    d.selfTest = false;
    return d;
}

// A basic drive laid over `disks` from sector `start`, `perDisk` sectors each.
LogicalDrive basic(uint8_t number, uint8_t code, uint8_t params, uint8_t arrayId, uint32_t dataMiB,
                   std::initializer_list<std::pair<uint8_t, uint8_t>> disks, uint32_t start, uint32_t perDisk,
                   uint32_t sequence, uint16_t year, uint8_t month, uint8_t day) {
    LogicalDrive d;
    d.number = number;
    d.raidCode = code;
    d.params = params;
    d.arrayId = arrayId;
    d.sizeSectors = dataMiB * 2048;
    d.sequence = sequence;
    d.createYear = year;
    d.createMonth = month;
    d.createDay = day;
    for (auto& m : disks) {
        Chunk k;
        k.channel = m.first;
        k.target = m.second;
        k.startSector = start;
        k.sectorCount = perDisk;
        d.chunks.push_back(k);
    }
    return d;
}

LogicalDrive spanned(uint8_t number, uint8_t code, uint8_t spanId, uint32_t dataMiB,
                     const std::vector<const LogicalDrive*>& subs, uint32_t sequence, uint16_t year, uint8_t month,
                     uint8_t day) {
    LogicalDrive h;
    h.number = number;
    h.spanned = true;
    h.raidCode = code;
    h.arrayId = spanId;
    h.sizeSectors = dataMiB * 2048;
    h.sequence = sequence;
    h.createYear = year;
    h.createMonth = month;
    h.createDay = day;
    for (auto* s : subs) {
        Chunk k;
        k.target = s->number;
        k.sectorCount = s->sizeSectors;
        h.chunks.push_back(k);
    }
    return h;
}

void deviceLog(Controller& c) {
    c.logs.device.assign(size_t(c.channelCount) * 16, 0);
    for (auto& d : c.devices) {
        if (d.state == DEVSTATE_NONE || d.channel >= c.channelCount) continue;
        uint32_t soft = (d.channel * 7u + d.target * 3u) % 5u;
        uint32_t hard = d.state == DEVSTATE_DEAD ? 3u : 0u;
        c.logs.device[d.channel * 16u + d.target] =
            uint32_t(d.channel) << 24 | uint32_t(d.target) << 16 | soft << 8 | hard;
    }
}

Controller controllerA() {
    Controller c;
    c.number = 2;
    c.model = 6;              // TARNELL_B2
    c.slot = 3;
    c.channelCount = 3;
    c.biosVersion = "7.10.18";
    c.firmwareVersion = "7.10.18";
    c.driverVersion = "7.12.07";
    c.speedCode[2] = 4;       // the third channel runs at Ultra160
    c.hostId = "ZEQHOST-A";
    c.userOpts = storrec::setBits(0, 24, 1, 1) | storrec::setBits(0, 26, 1, 1);  // copy-back, hot-swap rebuild
    c.rebuildRate = REBUILD_RATE_MEDIUM;
    c.nvramType = 6;
    c.stripeCode = 6;
    c.readAhead = true;
    auto& f = c.features;
    f.set_ulPosRelLevel(1);
    f.set_ulBBCacheRelLevel(3);
    f.set_ulHARelLevel(1);
    f.set_ulHardDrvFRU(1);
    f.set_ulOSSRelLevel(1);
    f.set_ulIdDrvRelLvl(1);
    f.set_ulQCRelLevel(1);
    f.set_ulU16DRelLvl(1);
    f.set_ulLDMRelLevel(1);
    f.set_ulOSIRelLevel(1);
    f.set_ulHSRRelLevel(1);
    f.set_ulDSCRelLevel(1);
    f.set_ulAutoSyncRL(1);
    f.set_ulAdapRARL(1);
    f.set_ulR5ERelLevel(1);
    f.set_ulELFRelLevel(1);
    f.set_ulFFDCRelLevel(1);
    f.set_ulRealTimeRL(1);
    f.set_ulUltra160RL(2);
    f.set_ulVarMaxCmdRL(1);
    f.set_ulHLDRelLevel(1);
    f.set_ulSSStatsRL(1);
    f.set_ulR5EERelLevel(1);
    f.set_ulAdapterFRURL(1);
    f.set_ulVendorID(0x1D5A);
    f.set_ulDeviceID(0x0250);
    f.set_ulRevisionID(3);
    f.set_ulCopyBackRL(1);
    c.enquiryMiscFlag = 0x02;
    c.bbcSerialConfigured = "BB4A0117";
    c.bbcSerialInstalled = "BB4A0117";
    c.batteryTemperature = 29;
    c.batteryPercent = 97;
    c.vpdPartNumber = "ZQ-71P8519";
    c.vpdSerial = "ZQA3120045";
    c.vpdCardFru = "71P8642";
    c.vpdBatteryFru = "71P8648";

    auto& dv = c.devices;
    dv.push_back(disk(0, 0, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00101", "06P5760"));
    dv.push_back(disk(0, 1, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00102", "06P5760"));
    dv.push_back(disk(0, 2, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00103", "06P5760"));
    dv.push_back(disk(0, 3, DEVSTATE_ONLINE, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00104", "06P5762"));
    dv.push_back(disk(0, 4, DEVSTATE_ONLINE, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00105", "06P5762"));
    dv.push_back(disk(0, 5, DEVSTATE_HOT_SPARE, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00106", "06P5762"));
    dv.push_back(disk(0, 6, DEVSTATE_READY, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00107", "06P5762"));
    Device enc = other(0, 15, DEVTYPE_ENCLOSURE, "ZEQ-XJP", "SAFTE-14", "1.10", "ENC00A17");
    const uint8_t safteConfig[8] = {3, 3, 14, 1, 2, 1, 0x80, 0};
    std::memcpy(enc.safteConfig, safteConfig, sizeof safteConfig);
    enc.safteConfig[63] = 1;
    const uint8_t safteStatus[28] = {0x00, 0x00, 0x00,                    // fans
                                     0x00, 0x00, 0x20,                    // power supplies: the third not installed
                                     0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, // slot ids
                                     0x00, 0x00,                          // door lock, speaker
                                     0x2E, 0x30,                          // temperatures
                                     0x00, 0x00,                          // out of range flags
                                     1, 0x00};
    std::memcpy(enc.safteStatus, safteStatus, sizeof safteStatus);
    dv.push_back(enc);

    dv.push_back(disk(1, 0, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00111", "06P5760"));
    dv.push_back(disk(1, 1, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00112", "06P5760"));
    dv.push_back(disk(1, 2, DEVSTATE_DEAD, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00113", "06P5762"));
    Device rebuilding = disk(1, 3, DEVSTATE_REBUILDING, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", "7VB00114", "06P5762");
    rebuilding.replacedSlot = slotOf(1, 2);   // the former hot spare took the failed disk's place
    dv.push_back(rebuilding);
    Device boot = disk(1, 4, DEVSTATE_READY, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00115", "06P5760");
    boot.osPartition = true;
    dv.push_back(boot);
    Device fresh = disk(1, 5, DEVSTATE_NONE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00116", "06P5760");
    dv.push_back(fresh);      // inserted, not yet taken up: a rescan finds it
    Device gone = disk(1, 6, DEVSTATE_READY, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00117", "06P5760");
    gone.present = false;     // pulled while ready: a rescan loses it
    dv.push_back(gone);

    dv.push_back(disk(2, 0, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00121", "06P5760"));
    dv.push_back(disk(2, 1, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00122", "06P5760"));
    dv.push_back(disk(2, 2, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00123", "06P5760"));
    dv.push_back(disk(2, 3, DEVSTATE_ONLINE, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00124", "06P5760"));
    dv.push_back(other(2, 4, DEVTYPE_CDROM, "ZEQ-TWQM", "CDR-24X", "1.02", "CD000125"));
    dv.push_back(other(2, 5, DEVTYPE_TAPE, "ZEQ-TWQM", "DDS4-TAP", "C130", "TP000126"));
    dv.push_back(disk(2, 6, DEVSTATE_STANDBY, BLOCKS_36G, "ZEQ-XJP", "XJ36L320", "3KA00127", "06P5760"));

    c.drives.push_back(basic(0, 5, 0, 0, 20000, {{0, 0}, {0, 1}, {0, 2}}, 0, 20480000, 1, 2023, 11, 14));
    c.drives.back().writeCache = true;
    c.drives.push_back(basic(1, 0, 0, 0, 12000, {{0, 0}, {0, 1}, {0, 2}}, 20480000, 8192000, 2, 2023, 11, 14));
    c.drives.push_back(basic(2, 1, 0, 1, 30000, {{1, 0}, {1, 1}}, 0, 61440000, 3, 2024, 1, 9));
    c.drives.back().writeCache = true;
    c.drives.push_back(basic(3, 5, 0, 2, 100000, {{0, 3}, {0, 4}, {1, 3}}, 0, 102400000, 4, 2024, 2, 21));
    c.subDrives.push_back(basic(0, 1, 0, 3, 34000, {{2, 0}, {2, 1}}, 0, 69632000, 5, 2024, 3, 2));
    c.subDrives.push_back(basic(1, 1, 0, 4, 34000, {{2, 2}, {2, 3}}, 0, 69632000, 6, 2024, 3, 2));
    c.drives.push_back(spanned(4, 1, 0, 68000, {&c.subDrives[0], &c.subDrives[1]}, 7, 2024, 3, 2));
    c.nextSequence = 8;
    for (auto* v : {&c.drives, &c.subDrives})
        for (auto& d : *v) d.stripeCode = c.stripeCode;

    Task rebuild;
    rebuild.kind = Task::REBUILD;
    rebuild.drive = 3;
    rebuild.channel = 1;
    rebuild.target = 3;
    rebuild.totalBlocks = 100000ull * 2048;
    rebuild.doneBlocks = rebuild.totalBlocks * 35 / 100;
    c.tasks.push_back(rebuild);

    deviceLog(c);
    c.logs.soft = {0x000ABC01, 0x01021402, 0x0103A011};
    c.logs.hard = {0x01020301, 0x01020302};
    c.logs.deadDrive = {0x01020801};
    c.configUpdateCount = 41;
    return c;
}

Controller controllerB() {
    Controller c;
    c.number = 5;
    c.model = 7;              // TARNELL_C0
    c.slot = 6;
    c.channelCount = 2;
    c.biosVersion = "8.00.14";
    c.firmwareVersion = "8.00.14";
    c.driverVersion = "7.12.07";
    c.userOpts = storrec::setBits(0, 25, 1, 1) | storrec::setBits(0, 31, 1, 1);  // scrubbing off, unattended
    c.rebuildRate = REBUILD_RATE_HIGH;
    c.nvramType = 5;
    c.stripeCode = 7;
    c.readAhead = false;
    auto& f = c.features;
    f.set_ulPosRelLevel(1);
    f.set_ulBBCacheRelLevel(2);
    f.set_ulHARelLevel(1);
    f.set_ulHardDrvFRU(1);
    f.set_ulIdDrvRelLvl(1);
    f.set_ulLDMRelLevel(1);
    f.set_ulDSCRelLevel(1);
    f.set_ulAdapRARL(1);
    f.set_ulR5ERelLevel(1);
    f.set_ulUltra160RL(1);
    f.set_ulHLDRelLevel(1);
    f.set_ulR5EERelLevel(1);
    f.set_ulVendorID(0x1D5A);
    f.set_ulDeviceID(0x0260);
    f.set_ulRevisionID(1);
    c.enquiryMiscFlag = 0x02;
    c.bbcSerialConfigured = "BB5C0042";
    c.bbcSerialInstalled = "BB5C0042";

    auto& dv = c.devices;
    const char* xjp = "ZEQ-XJP";
    const char* m73 = "XJ73L320";
    dv.push_back(disk(0, 0, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00200", "06P5761"));
    dv.push_back(disk(0, 1, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00201", "06P5761"));
    dv.push_back(disk(0, 2, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00202", "06P5761"));
    dv.push_back(disk(0, 3, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00203", "06P5761"));
    dv.push_back(disk(0, 4, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00204", "06P5761"));
    dv.push_back(disk(0, 5, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00205", "06P5761"));
    dv.push_back(disk(0, 6, DEVSTATE_HOT_SPARE, BLOCKS_73G, xjp, m73, "3KB00206", "06P5761"));
    dv.push_back(disk(0, 7, DEVSTATE_READY, BLOCKS_73G, xjp, m73, "3KB00207", "06P5761"));
    dv.push_back(disk(0, 8, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00208", "06P5761"));
    dv.push_back(disk(0, 9, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00209", "06P5761"));
    dv.push_back(disk(1, 0, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00210", "06P5761"));
    dv.push_back(disk(1, 1, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00211", "06P5761"));
    dv.push_back(disk(1, 2, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00212", "06P5761"));
    dv.push_back(disk(1, 3, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00213", "06P5761"));
    dv.push_back(disk(1, 4, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00214", "06P5761"));
    dv.push_back(disk(1, 5, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00215", "06P5761"));
    dv.push_back(disk(1, 6, DEVSTATE_ONLINE, BLOCKS_73G, xjp, m73, "3KB00216", "06P5761"));
    dv.push_back(disk(1, 7, DEVSTATE_DEAD, BLOCKS_73G, xjp, m73, "3KB00217", "06P5761"));
    dv.push_back(disk(1, 8, DEVSTATE_READY, BLOCKS_73G, "NORVEX", "NV73-320", "NV000218", ""));
    Device pfa = disk(1, 9, DEVSTATE_READY, BLOCKS_73G, xjp, m73, "3KB00219", "06P5761");
    pfa.pfa = true;
    dv.push_back(pfa);
    dv.push_back(disk(1, 10, DEVSTATE_READY, BLOCKS_73G, xjp, m73, "3KB00220", "06P5761"));
    dv.push_back(disk(1, 11, DEVSTATE_READY, BLOCKS_73G, xjp, m73, "3KB00221", "06P5761"));

    c.drives.push_back(
        basic(0, 5, VDP_PARAM_RAID5EE, 0, 100000, {{0, 0}, {0, 1}, {0, 2}, {0, 3}}, 0, 102400000, 1, 2023, 6, 30));
    c.subDrives.push_back(basic(0, 5, 0, 1, 120000, {{0, 4}, {0, 5}, {1, 0}}, 0, 122880000, 2, 2023, 7, 4));
    c.subDrives.push_back(basic(1, 5, 0, 2, 120000, {{1, 1}, {1, 2}, {1, 3}}, 0, 122880000, 3, 2023, 7, 4));
    c.drives.push_back(spanned(1, 5, 0, 240000, {&c.subDrives[0], &c.subDrives[1]}, 4, 2023, 7, 4));
    c.drives.push_back(basic(2, 1, 0, 3, 90000, {{1, 4}, {1, 5}, {1, 6}}, 0, 122880000, 5, 2023, 12, 1));
    c.drives.back().writeCache = true;
    c.drives.push_back(basic(3, 0, 0, 4, 50000, {{0, 8}, {0, 9}}, 0, 51200000, 6, 2024, 4, 18));
    c.drives.back().blocked = true;   // its array was rebuilt after a disk failure
    c.nextSequence = 7;
    for (auto* v : {&c.drives, &c.subDrives})
        for (auto& d : *v) d.stripeCode = c.stripeCode;

    c.hasLastTask = true;   // a synchronization that ended well
    c.lastTask.kind = Task::SYNCHRONIZE;
    c.lastTask.drive = 2;
    c.lastTask.option = 1;
    c.lastTask.totalBlocks = c.lastTask.doneBlocks = 90000ull * 2048;
    c.lastTask.status = 0x00;

    deviceLog(c);
    c.logs.soft = {0x0004A001};
    c.logs.badStripe = {0x00030001, 0x00030002};
    c.logs.deadDrive = {0x01070801};
    c.configUpdateCount = 17;
    return c;
}

} // namespace

// A full controller: the settings of controller 2 of the default scenario, 4
// channels of 16 online 73G disks each, and 8 RAID-5 logical drives of 8
// disks each (drive k on channel k / 2, targets 0-7 or 8-15), each in its own
// array. No task runs; the logs hold the device entries only.
static Controller fullController(uint16_t number) {
    Controller c = controllerA();
    c.number = number;
    c.slot = uint16_t(number + 1);
    c.channelCount = 4;
    c.speedCode[2] = 5;
    char text[16];
    std::snprintf(text, sizeof text, "ZQF%07u", unsigned(number));
    c.vpdSerial = text;
    c.devices.clear();
    c.drives.clear();
    c.subDrives.clear();
    c.tasks.clear();
    c.hasLastTask = false;
    c.logs = EventLogs();
    for (uint8_t ch = 0; ch < 4; ++ch) {
        for (uint8_t tg = 0; tg < 16; ++tg) {
            // Eight characters, the width of the record's field, unique over
            // every controller number: "7VF", the number, the channel and
            // the target in decimal below 100; "7X", the number in four and
            // the channel and target in two hexadecimal digits from 100 on.
            char serial[16];
            if (number < 100)
                std::snprintf(serial, sizeof serial, "7VF%02u%u%02u", unsigned(number), unsigned(ch), unsigned(tg));
            else
                std::snprintf(serial, sizeof serial, "7X%04X%02X", unsigned(number), unsigned(ch * 16 + tg));
            c.devices.push_back(disk(ch, tg, DEVSTATE_ONLINE, BLOCKS_73G, "ZEQ-VRKD", "VR73U320", serial, "06P5762"));
        }
    }
    const uint32_t perDiskMiB = 64000;
    for (uint8_t k = 0; k < 8; ++k) {
        const uint8_t ch = uint8_t(k / 2);
        const uint8_t first = uint8_t((k % 2) * 8);
        LogicalDrive d;
        d.number = k;
        d.raidCode = 5;
        d.arrayId = k;
        d.sizeSectors = 7 * perDiskMiB * 2048;
        d.sequence = uint32_t(k + 1);
        d.createYear = 2024;
        d.createMonth = 1;
        d.createDay = uint8_t(k + 1);
        d.stripeCode = c.stripeCode;
        for (uint8_t tg = first; tg < first + 8; ++tg) {
            Chunk chunk;
            chunk.channel = ch;
            chunk.target = tg;
            chunk.startSector = 0;
            chunk.sectorCount = perDiskMiB * 2048;
            d.chunks.push_back(chunk);
        }
        c.drives.push_back(d);
    }
    c.nextSequence = 9;
    deviceLog(c);
    return c;
}

Scenario fullScenario(unsigned controllers) {
    Scenario s;
    for (unsigned i = 0; i < controllers && i < 0x10000u; ++i)
        s.controllers.push_back(fullController(uint16_t(i)));
    return s;
}

Scenario defaultScenario() {
    Scenario s;
    s.controllers.push_back(controllerA());
    s.controllers.push_back(controllerB());
    return s;
}

} // namespace tarnellsim
