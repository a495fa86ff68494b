// Filling the C-API records from a simulated controller.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "SimRecords.h"

namespace tarnellsim {

void putText(uint8_t* field, size_t width, const std::string& text, uint8_t pad) {
    size_t n = std::min(width, text.size());
    std::memcpy(field, text.data(), n);
    std::memset(field + n, pad, width - n);
}

void putVersion(_STORAGE_VERSION& v, const std::string& text, uint8_t valid3M) {
    std::memset(&v, 0, sizeof v);
    uint32_t parts[3] = {0, 0, 0};
    const char* p = text.c_str();
    for (int i = 0; i < 3 && *p; ++i) {
        char* end = nullptr;
        parts[i] = uint32_t(std::strtoul(p, &end, 10));
        p = (*end == '.') ? end + 1 : end;
    }
    v.ulMajor = parts[0];
    v.ulMinor = parts[1];
    v.ulMaint = parts[2];
    putText(v.ucText, sizeof v.ucText, text);
    v.ucTextValid = uint8_t(std::min(text.size(), sizeof v.ucText));
    v.uc3MValid = valid3M;
}

void putInterfaceVersion(_STORAGE_VERSION& v) {
    std::memset(&v, 0, sizeof v);
    v.ulMajor = 0;
    v.ulMinor = 6;
    v.ulMaint = 0;
    v.uc3MValid = 3;
}

_STORAGE_ADDRESS_ID libraryAddress(uint16_t adapter) {
    _STORAGE_ADDRESS_ID a;
    std::memset(&a, 0, sizeof a);
    a.usAdapterID = adapter;
    putText(a.ucDllName, sizeof a.ucDllName, "TNCAPI");
    return a;
}

void buildAdapterInfo(Controller& c, _ADAPTER_INFO& info) {
    std::memset(&info, 0, sizeof info);
    info.usAdapNum = c.number;
    info.usAdapLocTyp = 1;           // a PCI slot
    info.usAdapLocNum = c.slot;
    info.usAdapChanCount = c.channelCount;
    info.ulAdapBIOSSize = 0x10000;
    info.ulAdapFirmSize = 0x100000;
    putVersion(info.usAdapVers, c.firmwareVersion);
    putVersion(info.usAdapBIOSVers, c.biosVersion);
    putVersion(info.usAdapFirmVers, c.firmwareVersion);
    info.sAdapType.ucCmndType = 1;
    putText(info.sAdapType.ucScsiVendorId, sizeof info.sAdapType.ucScsiVendorId, "ZEQ", ' ');
    info.sAdapType.ulArchitecture = 1;
    info.sAdapType.ulFamily = 5;
    info.sAdapType.ulImplementation = c.model;
    info.sAdapAddr = libraryAddress(c.number);
}

void buildDriveParams(Controller& c, const LogicalDrive& d, _VIRT_DRV_PARMS& p) {
    std::memset(&p, 0, sizeof p);
    p.setUserField(d.arrayId, d.createDay, d.createMonth);
    p.ucState = driveStateCode(c, d);
    p.ucRaidCacheParam = uint8_t((d.raidCode & VDP_RAID_CODE_MASK) | (d.spanned ? VDP_SPANNED : 0) |
                                 (d.writeCache ? VDP_WRITE_CACHE_ON : 0));
    size_t n = std::min<size_t>(d.chunks.size(), 16);
    p.ucNoOfChunkUnits = uint8_t(n);
    p.ucStripeSize = d.stripeCode;
    p.ucParams = d.params;
    p.ucYear = uint8_t(d.createYear >= 1900 ? d.createYear - 1900 : 0);
    p.ulVirtDriveSize = d.sizeSectors;
    for (size_t i = 0; i < n; ++i) {
        p.sChunk[i].ucChannel = d.chunks[i].channel;
        p.sChunk[i].ucTarget = d.chunks[i].target;
        p.sChunk[i].ulStartSect = d.chunks[i].startSector;
        p.sChunk[i].ulNoOfSect = d.chunks[i].sectorCount;
    }
    if (d.params & VDP_PARAM_RAID5EE) p.setRaid5EESubState(d.raid5eeSubState);
}

void buildConfig(Controller& c, _ADAPTER_CONFIG& cfg) {
    std::memset(&cfg, 0, sizeof cfg);
    cfg.ucNoOfVirtDrives = uint8_t(c.drives.size());
    uint16_t year;
    uint8_t month, day;
    currentDate(year, month, day);
    cfg.ucDateD = day;
    cfg.ucDateM = month;
    cfg.ucDateY = uint8_t(year - 1900);
    for (unsigned ch = 0; ch < ACONFIG_CHANNELS && ch < c.channelCount; ++ch)
        cfg.setInitId(ch, c.initiatorId[ch], c.speedCode[ch]);
    putText(cfg.ucHostId, sizeof cfg.ucHostId, c.hostId);
    putText(cfg.ucTimeSign, sizeof cfg.ucTimeSign, "TNCSIM01");
    cfg.sUserOpts.ulOpts = c.userOpts;
    cfg.sUserOpts.set_uiCfgDriveUpdateCount(c.configUpdateCount);
    cfg.ucRebuildRate = c.rebuildRate;
    putText(cfg.sHardwareDesc.ucBoardDesc, sizeof cfg.sHardwareDesc.ucBoardDesc, "TNC-SIM", ' ');
    putText(cfg.sHardwareDesc.ucProcessor, sizeof cfg.sHardwareDesc.ucProcessor, "PPC405", ' ');
    cfg.sHardwareDesc.ucNoChanType = uint8_t(c.channelCount);
    cfg.sHardwareDesc.ucNvramType = c.nvramType;
    cfg.sHardwareDesc.ulNvramSize = 32768;
    for (auto& d : c.drives)
        if (d.number < ACONFIG_VIRT_DRIVES) buildDriveParams(c, d, cfg.sVirtDrv[d.number]);
    // Entry 0 also carries the adapter's stripe unit and read-ahead setting.
    cfg.sVirtDrv[0].ucStripeSize = c.stripeCode;
    if (c.readAhead) cfg.sVirtDrv[0].ucParams &= uint8_t(~VDP_PARAM_READ_AHEAD_OFF);
    else cfg.sVirtDrv[0].ucParams |= VDP_PARAM_READ_AHEAD_OFF;
    for (auto& dev : c.devices) {
        if (dev.state == DEVSTATE_NONE || dev.channel >= ACONFIG_CHANNELS || dev.target >= ACONFIG_TARGETS)
            continue;
        _DEV_STATE& s = cfg.sDevState[dev.channel][dev.target];
        s.ucParameters = dev.type;
        s.ucMiscFlag = dev.pfa ? 1 : 0;
        s.ucState = dev.state;
        s.ucBlockCount = dev.blocks;
        putText(s.ucDeviceId + DEVID_VENDOR, DEVID_VENDOR_LEN, dev.vendor, ' ');
        putText(s.ucDeviceId + DEVID_MODEL, DEVID_MODEL_LEN, dev.model, ' ');
        putText(s.ucDeviceId + DEVID_FIRMWARE, DEVID_FIRMWARE_LEN, dev.firmware, ' ');
        putText(s.ucDeviceId + DEVID_SERIAL, DEVID_SERIAL_LEN, dev.serial, ' ');
    }
}

void buildEnquiry(Controller& c, _ENQUIRY& e) {
    std::memset(&e, 0, sizeof e);
    e.ucVirtDriveCount = uint8_t(c.drives.size());
    e.ucMiscFlag = c.enquiryMiscFlag;
    putText(e.ucCodeBlkVersion, sizeof e.ucCodeBlkVersion, c.firmwareVersion);
    putText(e.ucBootBlkVersion, sizeof e.ucBootBlkVersion, c.biosVersion);
    e.ucConcurrentCmdCount = 64;
    e.ucMaxPhysicalDevices = 64;
    const DeviceFinder devices(c);
    for (auto& d : c.drives) {
        if (d.number >= 8) continue;
        e.ulDriveSize[d.number] = d.sizeSectors;
        uint8_t st = driveStateCode(devices, d);
        if (st == 2) ++e.ucOfflineVirtDriveCount;
        if (st == 4 || st == 20) ++e.ucCriticalDriveCount;
        if (d.blocked) e.ucBlockedDriveFlag = uint8_t(e.ucBlockedDriveFlag | (1u << d.number));
    }
    unsigned dead = 0;
    for (auto& dev : c.devices)
        if (dev.type == DEVTYPE_DISK && (dev.state == DEVSTATE_DEAD || dev.state == DEVSTATE_DEAD_04)) {
            if (dead < 64) e.usAddrDeadDisk[dead] = uint16_t(dev.channel << 8 | dev.target);
            ++dead;
        }
    e.ucDefunctDiskCount = uint8_t(std::min(dead, 255u));
    for (auto& t : c.tasks)
        if (t.kind == Task::REBUILD) e.ucRebuildFlag = 1;
    e.usConfigUpdateCount = c.configUpdateCount;
    e.ucMordalErrorCode = c.mordalErrorCode;
}

void buildProgress(Controller& c, _REBUILD_STATUS& r) {
    std::memset(&r, 0, sizeof r);
    const DeviceFinder devices(c);
    for (auto& d : c.drives) {
        if (d.number >= 8) continue;
        _SIZERMAIN& s = r.sVirtualDrive[d.number];
        s.ucVirtDriveNumber = d.number;
        s.ucVirtDriveState = driveStateCode(devices, d);
        s.ulVirtDriveSize = d.sizeSectors;
    }
    const Task* t = nullptr;
    if (!c.tasks.empty()) t = &c.tasks.front();
    else if (c.hasLastTask) t = &c.lastTask;
    if (!t) {   // no task has run: the record names no drive
        r.ucVirtDriveNumber = 0xFF;
        r.ucVirtualDriveIndex = 0xFF;
        r.ucRebuildRate = c.rebuildRate;
        return;
    }
    switch (t->kind) {
    case Task::REBUILD: r.ucOpcode = TASK_OPCODE_REBUILD; r.ucSubOpcodeQualifier = TASK_QUAL_REBUILD; break;
    case Task::COPYBACK: r.ucOpcode = TASK_OPCODE_REBUILD; r.ucSubOpcodeQualifier = TASK_QUAL_COPYBACK; break;
    case Task::COMPACT: r.ucOpcode = TASK_OPCODE_REBUILD; r.ucSubOpcodeQualifier = TASK_QUAL_COMPACTION; break;
    case Task::SYNCHRONIZE:
    case Task::INITIALIZE: r.ucOpcode = TASK_OPCODE_SYNC; break;
    case Task::MIGRATE: r.ucOpcode = TASK_OPCODE_MIGRATION; break;
    }
    r.ucVirtDriveNumber = t->drive;
    r.ucIsSLDVirtDriveId = t->subLogical ? 1 : 0;
    r.ucDevChnID = t->channel;
    r.ucDevTgtID = t->target;
    r.ucDevChnIDf = t->sourceChannel;
    r.ucDevTgtIDf = t->sourceTarget;
    r.ucCheckOption = t->option;
    r.ucRebuildRate = c.rebuildRate;
    r.ucStatus = t->status;
    r.ucVirtualDriveIndex = uint8_t(t->drive & 7);
    r.ulStripeNumber = uint32_t(t->doneBlocks / 128);
    _SIZERMAIN& s = r.sVirtualDrive[t->drive & 7];
    s.ucVirtDriveNumber = t->drive;
    s.ulVirtDriveSize = uint32_t(std::min<uint64_t>(t->totalBlocks, 0xFFFFFFFFull));
    uint64_t rest = t->totalBlocks > t->doneBlocks ? t->totalBlocks - t->doneBlocks : 0;
    s.ulRemainingBlocks = uint32_t(std::min<uint64_t>(rest, s.ulVirtDriveSize));
}

void buildInquiry(const Device& d, ST_SCSI_INQUIRY_DATA& q) {
    std::memset(&q, 0, sizeof q);
    q.ucByte0 = uint8_t(d.type & 0x1F);
    q.ucByte1 = (d.type == DEVTYPE_TAPE || d.type == DEVTYPE_CDROM || d.type == DEVTYPE_OPTICAL) ? 0x80 : 0x00;
    q.ucByte2 = 0x03;
    q.ucByte3 = 0x02;
    q.ucAdditionalLength = 31;
    q.ucByte7 = 0x72;     // 16-bit wide, synchronous, command queueing
    putText(q.ucVendorId, sizeof q.ucVendorId, d.vendor, ' ');
    putText(q.ucProductId, sizeof q.ucProductId, d.model, ' ');
    putText(q.ucProductRevLevel, sizeof q.ucProductRevLevel, d.firmware, ' ');
    putText(q.ucVendorSpecific, sizeof q.ucVendorSpecific, d.serial, ' ');
}

size_t buildCachingPage(const Device& d, uint32_t pageCode, uint8_t out[CACHING_PAGE_MAX]) {
    const size_t descriptors = d.modeBlockDescriptorBytes;
    const size_t page = 4 + descriptors;
    const size_t len = page + 20;
    std::memset(out, 0, len);
    out[0] = uint8_t(len - 1);          // mode data length
    out[2] = 0x10;                      // DPOFUA
    out[3] = uint8_t(descriptors);
    if (descriptors >= 8) {             // the first block descriptor
        uint32_t blocks = std::min<uint32_t>(d.blocks, 0xFFFFFF);
        out[5] = uint8_t(blocks >> 16);
        out[6] = uint8_t(blocks >> 8);
        out[7] = uint8_t(blocks);
        out[10] = 0x02;                 // 512-byte blocks
    }
    out[page] = 0x88;                   // PS, page 08h
    out[page + 1] = 0x12;
    bool wce;
    switch (pageCode >> 6) {
    case 1: wce = d.writeCacheChangeable; break;   // changeable values
    case 2: wce = true; break;                     // default values
    default: wce = d.writeCache; break;            // current and saved values
    }
    out[page + 2] = wce ? 0x04 : 0x00;
    return len;
}

std::vector<uint32_t>* eventLog(Controller& c, unsigned code) {
    switch (code) {
    case EVENT_LOG_CODE_DEVICE: return &c.logs.device;
    case EVENT_LOG_CODE_SOFT: return &c.logs.soft;
    case EVENT_LOG_CODE_BAD_STRIPE: return &c.logs.badStripe;
    case EVENT_LOG_CODE_HARD: return &c.logs.hard;
    case EVENT_LOG_CODE_DEAD_DRIVE: return &c.logs.deadDrive;
    }
    return nullptr;
}

} // namespace tarnellsim
