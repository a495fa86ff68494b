// The simulated controllers' answer to each C-API operation. Every operation
// runs with the simulator's lock held (SimEntry.cpp).

#include <algorithm>
#include <cstring>

#include "SimOps.h"
#include "SimRecords.h"

namespace tarnellsim {
namespace ops {

namespace {

template <typename... T>
void unused(T&&...) {}

template <typename R>
void zero(R& record) {
    std::memset(static_cast<void*>(&record), 0, sizeof record);
}

// Answers the count, and fills at most `listSize` bytes of the list.
OpResult answerList(const std::vector<_STORAGE_ADDRESS_ID>& items, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                    uint32_t listSize) {
    count = uint16_t(std::min<size_t>(items.size(), 0xFFFF));
    if (list) {
        size_t n = std::min<size_t>(items.size(), listSize / sizeof(_STORAGE_ADDRESS_ID));
        if (n) std::memcpy(static_cast<void*>(list), items.data(), n * sizeof(_STORAGE_ADDRESS_ID));
    }
    return RC_OK;
}

// Overwrites bytes of a reply of `size` bytes with a controller's test patches.
void applyPatches(void* reply, size_t size, const std::vector<Controller::BytePatch>& patches) {
    uint8_t* bytes = static_cast<uint8_t*>(reply);
    for (auto& p : patches)
        for (size_t i = 0; i < p.bytes.size(); ++i)
            if (p.offset + i < size) bytes[p.offset + i] = p.bytes[i];
}

// Keeps the leading bytes of a buffer in the call-log entry.
void logBytes(std::vector<uint8_t> Call::*field, const void* data, size_t length) {
    if (!data) return;
    const uint8_t* b = static_cast<const uint8_t*>(data);
    (currentCall().*field).assign(b, b + std::min(length, LOGGED_BYTES));
}

// Adds the address list of a request to its call-log entry.
void logList(const _STORAGE_ADDRESS_ID* list, unsigned count) {
    if (!list) return;
    for (unsigned i = 0; i < count && i < 16; ++i) currentCall().addressList.push_back(list[i]);
}

Device* deviceAt(Controller& c, const _STORAGE_ADDRESS_ID& a) {
    return findDevice(c, a.usChannelID, a.usPhysDevID);
}

bool deviceAlive(const Device& d) {
    return d.present && d.state != DEVSTATE_NONE && d.state != DEVSTATE_DEAD && d.state != DEVSTATE_DEAD_04;
}

OpResult setBit(Controller& c, unsigned bit, bool on) {
    c.userOpts = storrec::setBits(c.userOpts, bit, 1, on ? 1 : 0);
    configChanged(c);
    return RC_OK;
}

// Sense data of a failed pass-through command.
void putSense(void* senseBuf, uint32_t senseLen, uint32_t& senseXfer, uint8_t key, uint8_t asc) {
    uint8_t sense[18] = {0x70, 0, key, 0, 0, 0, 0, 10, 0, 0, 0, 0, asc, 0, 0, 0, 0, 0};
    senseXfer = 0;
    if (senseBuf && senseLen) {
        senseXfer = std::min<uint32_t>(senseLen, sizeof sense);
        std::memcpy(senseBuf, sense, senseXfer);
    }
}

OpResult percentOf(Controller& c, const _STORAGE_ADDRESS_ID& a, Task::Kind kind, uint16_t& percent) {
    bool sub = false;
    LogicalDrive* d = resolveDrive(c, a, sub);
    if (!d) return RC_NO_OBJECT;
    unsigned p = 100;
    taskPercent(c, kind, d->number, sub, p);
    percent = c.progressValue >= 0 ? uint16_t(c.progressValue) : uint16_t(p);
    return RC_OK;
}

OpResult blockIo(Controller& c, const _STORAGE_ADDRESS_ID& a, bool logical, bool read, void* buffer,
                 uint32_t bufferLen, uint32_t& xferLen, uint32_t& status) {
    xferLen = 0;
    status = 0;
    if (!buffer && bufferLen) return RC_BAD_PARAMETER;
    if (logical) {
        bool sub = false;
        LogicalDrive* d = resolveDrive(c, a, sub);
        if (!d) return RC_NO_OBJECT;
        if (driveStateCode(c, *d) == 2) return RC_INVALID_STATE;
    } else {
        Device* d = deviceAt(c, a);
        if (!d) return RC_NO_OBJECT;
        if (!deviceAlive(*d) || d->type != DEVTYPE_DISK) return RC_INVALID_STATE;
    }
    if (read && bufferLen) std::memset(buffer, 0, bufferLen);
    xferLen = bufferLen;
    return RC_OK;
}

// A SCSI command sent to a device.
OpResult deviceCommand(Device& d, const uint8_t* cmnd, uint32_t cmndLen, uint32_t& readXfer, uint32_t& senseXfer,
                       void* readBuf, uint32_t readLen, void* senseBuf, uint32_t senseLen) {
    if (!cmnd || cmndLen == 0 || (!readBuf && readLen)) return RC_BAD_PARAMETER;
    auto reply = [&](const uint8_t* data, size_t len) {
        readXfer = uint32_t(std::min<size_t>(len, readLen));
        if (readXfer) std::memcpy(readBuf, data, readXfer);
    };
    if (!deviceAlive(d)) {
        putSense(senseBuf, senseLen, senseXfer, 0x02, 0x04);   // not ready
        return RC_CHECK_CONDITION;
    }
    bool disk = d.type == DEVTYPE_DISK;
    switch (cmnd[0]) {
    case 0x00:   // TEST UNIT READY
    case 0x1D:   // SEND DIAGNOSTIC
    case 0x35:   // SYNCHRONIZE CACHE
        return RC_OK;
    case 0x03: { // REQUEST SENSE
        uint8_t sense[18] = {0x70, 0, 0, 0, 0, 0, 0, 10};
        reply(sense, sizeof sense);
        return RC_OK;
    }
    case 0x12: { // INQUIRY
        ST_SCSI_INQUIRY_DATA q;
        buildInquiry(d, q);
        reply(reinterpret_cast<const uint8_t*>(&q), 96);
        return RC_OK;
    }
    case 0x1A: { // MODE SENSE(6)
        if (!disk || cmndLen < 3 || (cmnd[2] & 0x3F) != MODE_PAGE_CACHING) break;
        uint8_t page[CACHING_PAGE_MAX];
        reply(page, buildCachingPage(d, cmnd[2], page));
        return RC_OK;
    }
    case 0x25: { // READ CAPACITY(10)
        if (!disk) break;
        uint32_t last = d.blocks ? d.blocks - 1 : 0;
        uint8_t cap[8] = {uint8_t(last >> 24), uint8_t(last >> 16), uint8_t(last >> 8), uint8_t(last), 0, 0, 2, 0};
        reply(cap, sizeof cap);
        return RC_OK;
    }
    case 0x08:   // READ(6)
    case 0x28: { // READ(10)
        if (!disk) break;
        uint32_t lba, blocks;
        if (cmnd[0] == 0x08) {
            if (cmndLen < 6) return RC_BAD_PARAMETER;
            lba = uint32_t(cmnd[1] & 0x1F) << 16 | uint32_t(cmnd[2]) << 8 | cmnd[3];
            blocks = cmnd[4] ? cmnd[4] : 256;
        } else {
            if (cmndLen < 10) return RC_BAD_PARAMETER;
            lba = uint32_t(cmnd[2]) << 24 | uint32_t(cmnd[3]) << 16 | uint32_t(cmnd[4]) << 8 | cmnd[5];
            blocks = uint32_t(cmnd[7]) << 8 | cmnd[8];
        }
        if (uint64_t(lba) + blocks > d.blocks) {
            putSense(senseBuf, senseLen, senseXfer, 0x05, 0x21);   // LBA out of range
            return RC_CHECK_CONDITION;
        }
        readXfer = uint32_t(std::min<uint64_t>(uint64_t(blocks) * 512, readLen));
        if (readXfer) std::memset(readBuf, 0, readXfer);
        // Block 0 of a disk holding an operating system ends with the boot signature.
        if (lba == 0 && d.osPartition && readXfer >= 512) {
            static_cast<uint8_t*>(readBuf)[510] = 0x55;
            static_cast<uint8_t*>(readBuf)[511] = 0xAA;
        }
        return RC_OK;
    }
    default:
        break;
    }
    putSense(senseBuf, senseLen, senseXfer, 0x05, 0x20);   // invalid command
    return RC_CHECK_CONDITION;
}

} // namespace

#define CONTROLLER_OR(addr, failure)                      \
    Controller* c = findController((addr).usAdapterID);   \
    if (!c) return failure;
#define CONTROLLER(addr) CONTROLLER_OR(addr, RC_NO_ADAPTER)
#define DEVICE(addr)                   \
    CONTROLLER(addr)                   \
    Device* dev = deviceAt(*c, addr);  \
    if (!dev) return RC_NO_OBJECT;
#define DRIVE(addr)                                    \
    CONTROLLER(addr)                                   \
    bool isSub = false;                                \
    LogicalDrive* drive = resolveDrive(*c, addr, isSub); \
    if (!drive) return RC_NO_OBJECT;

// ---------------------------------------------------------------- StorageCmnd

BOOL ConstructorOK(uint32_t& failId) {   // the entry point is SimLoad.cpp's
    failId = 0;
    return 1;
}

int GetDLLType(_DLL_TYPE& t) {
    zero(t);
    t.ucCmndType = 1;
    putText(t.ucScsiVendorId, sizeof t.ucScsiVendorId, "ZEQ", ' ');
    putText(t.ucDllName, sizeof t.ucDllName, "TNCAPI");
    t.ulArchitecture = 1;
    t.ulFamily = 5;
    t.ulImplementation = 32;
    return RC_OK;
}

int GetDLLVersion(_STORAGE_VERSION& v) {
    putVersion(v, "2.4.1");
    return RC_OK;
}

int GetDLLIntfVersion(_STORAGE_VERSION& v) {
    putInterfaceVersion(v);
    return RC_OK;
}

int GetAddressScheme(_STORAGE_ADDRESS_ID& a) {
    // The address ids this library uses are marked with 1.
    a = libraryAddress(1);
    a.usVirtDevID = a.usArrayID = a.usChannelID = a.usPhysDevID = 1;
    return RC_OK;
}

int GetMaxValues(_MAX_ADDR_VALUES& m) {
    zero(m);
    m.usMaxAdapter = 15;
    m.usMaxVirtDev = 7;
    m.usMaxArray = 7;
    m.usMaxChannel = 3;
    m.usMaxPhysDev = 15;
    return RC_OK;
}

int GetDeviceDriverVersion(_STORAGE_ADDRESS_ID addr, _STORAGE_VERSION& v) {
    CONTROLLER(addr)
    putVersion(v, c->driverVersion);
    return RC_OK;
}

OpResult GetAdapterChangeStatus(int& changed) {
    changed = state().changed ? 1 : 0;
    state().changed = false;
    return RC_OK;
}

OpResult IsStoragePresent(int& present) {
    present = state().sc.controllers.empty() ? 0 : 1;
    return RC_OK;
}

int GetStorageIntfVersion(_STORAGE_VERSION& v) {
    putInterfaceVersion(v);
    return RC_OK;
}

OpResult ExecuteAdapterDiagnostics(_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option) {
    unused(test, option);
    CONTROLLER(addr)
    return RC_OK;
}

OpResult SetAdapChanInitID(_STORAGE_ADDRESS_ID addr, uint32_t initId) {
    CONTROLLER(addr)
    if (addr.usChannelID >= c->channelCount || addr.usChannelID >= ACONFIG_CHANNELS) return RC_NO_OBJECT;
    if (initId > 15) return RC_BAD_PARAMETER;
    c->initiatorId[addr.usChannelID] = uint8_t(initId);
    configChanged(*c);
    return RC_OK;
}

OpResult BatteryBackupCache(_STORAGE_ADDRESS_ID addr, int enable) {
    unused(enable);
    CONTROLLER(addr)
    if (!(c->enquiryMiscFlag & 0x02)) return RC_INVALID_STATE;
    return RC_OK;
}

OpResult SetBiosMappingMode(_STORAGE_ADDRESS_ID addr, uint8_t mode) {
    CONTROLLER(addr)
    return setBit(*c, 29, mode != 0);
}

OpResult MaxSimultaneousDevSpinUp(_STORAGE_ADDRESS_ID addr, uint32_t count, uint32_t delay) {
    CONTROLLER(addr)
    if (count > 15 || delay > 15) return RC_BAD_PARAMETER;
    c->userOpts = storrec::setBits(storrec::setBits(c->userOpts, 20, 4, count), 16, 4, delay);
    configChanged(*c);
    return RC_OK;
}

OpResult ExecuteDeviceDiagnostics(_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option) {
    unused(test, option);
    DEVICE(addr)
    return deviceAlive(*dev) ? RC_OK : RC_INVALID_STATE;
}

OpResult FormatDevice(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    if (dev->type != DEVTYPE_DISK || !deviceAlive(*dev)) return RC_INVALID_STATE;
    if (deviceIsMember(*c, dev->channel, dev->target) || dev->state == DEVSTATE_REBUILDING) return RC_INVALID_STATE;
    dev->osPartition = false;
    return RC_OK;
}

OpResult SetDevXferSpeed(_STORAGE_ADDRESS_ID addr, uint32_t speed) {
    DEVICE(addr)
    return speed <= 7 ? RC_OK : RC_BAD_PARAMETER;
}

OpResult SupportedAdapterCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                               uint32_t listSize) {
    unused(addr);
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto& c : state().sc.controllers) items.push_back(libraryAddress(c.number));
    return answerList(items, count, list, listSize);
}

OpResult AdapterStatus(_STORAGE_ADDRESS_ID addr, _STORAGE_ADAPTER_STATUS& s) {
    CONTROLLER(addr)
    zero(s);
    s.iAdapStatus = c->status;
    s.iAdapState = c->state;
    return RC_OK;
}

OpResult AdapterInfo(_STORAGE_ADDRESS_ID addr, _ADAPTER_INFO& info) {
    CONTROLLER(addr)
    buildAdapterInfo(*c, info);
    return RC_OK;
}

OpResult ChannelInfo(_STORAGE_ADDRESS_ID addr, _CHANNEL_INFO& info) {
    CONTROLLER(addr)
    unsigned ch = addr.usChannelID;
    if (ch >= c->channelCount) return RC_NO_OBJECT;
    zero(info);
    info.usChanNum = uint16_t(ch);
    info.usChanInitID = ch < 4 ? c->initiatorId[ch] : 7;
    info.usChanType = 1;
    info.usChanWidth = 16;
    info.usChanSpeed = ch < 4 ? c->speedCode[ch] : 0;
    for (auto& d : c->devices) {
        if (d.channel != ch || d.state == DEVSTATE_NONE) continue;
        ++info.usChanDevCount;
        if (d.type == DEVTYPE_DISK) ++info.usChanDiskCount;
        if (d.type == DEVTYPE_DISK && !deviceAlive(d)) ++info.usChanDDDCount;
        if (d.type == DEVTYPE_ENCLOSURE) ++info.usChanSafteCount;
    }
    return RC_OK;
}

OpResult UpdateAdapterBios(_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen) {
    logBytes(&Call::written, image, imageLen);
    CONTROLLER(addr)
    return (image && imageLen) ? RC_OK : RC_BAD_PARAMETER;
}

OpResult UpdateAdapterFirmWare(_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen) {
    logBytes(&Call::written, image, imageLen);
    CONTROLLER(addr)
    return (image && imageLen) ? RC_OK : RC_BAD_PARAMETER;
}

OpResult ExecAdapterCmnd(_STORAGE_ADDRESS_ID addr, uint8_t* cmnd, uint32_t cmndLen, uint32_t& readXfer,
                         uint32_t& writeXfer, uint32_t& senseXfer, void* readBuf, uint32_t readLen,
                         void* writeBuf, uint32_t writeLen, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                         uint32_t flags, int readFlag, int senseFlag) {
    unused(timeout, flags, readFlag, senseFlag);
    logBytes(&Call::command, cmnd, cmndLen);
    logBytes(&Call::written, writeBuf, writeLen);
    CONTROLLER(addr)
    readXfer = writeXfer = senseXfer = 0;
    if (!cmnd || cmndLen == 0 || (!readBuf && readLen)) return RC_BAD_PARAMETER;
    if (cmnd[0] != 0x05) {
        putSense(senseBuf, senseLen, senseXfer, 0x05, 0x20);
        return RC_NOT_SUPPORTED;
    }
    // Byte 3 selects the answer: 0x00 the enquiry alone; 0x50 the enquiry,
    // then per top-level drive 0-7 whether its cache is reported (a drive with
    // write cache) and its cache byte (0: write-through for the time being);
    // any other value the enquiry with the configured and the installed cache
    // serial numbers.
    _ENQUIRY_BBCACHE answer;
    zero(answer);
    buildEnquiry(*c, answer.sEnquiry);
    size_t size = sizeof answer;
    if (cmndLen > 3 && cmnd[3] == 0x00) {
        size = sizeof answer.sEnquiry;
    } else if (cmndLen > 3 && cmnd[3] == 0x50) {
        for (auto& d : c->drives)
            if (d.number < 8 && d.writeCache) {
                answer.ucConfiguredSerial[d.number] = 1;
                answer.ucInstalledSerial[d.number] = d.tempWriteThrough ? 0 : 1;
            }
    } else {
        putText(answer.ucConfiguredSerial, sizeof answer.ucConfiguredSerial, c->bbcSerialConfigured);
        putText(answer.ucInstalledSerial, sizeof answer.ucInstalledSerial, c->bbcSerialInstalled);
    }
    applyPatches(&answer, size, c->enquiryPatches);
    readXfer = uint32_t(std::min<size_t>(readLen, size));
    if (readXfer) std::memcpy(readBuf, &answer, readXfer);
    return RC_OK;
}

OpResult GetAdapterFruData(_STORAGE_ADDRESS_ID addr, _HostVpdData& vpd) {
    CONTROLLER(addr)
    if (c->features.ulAdapterFRURL() == 0) return RC_NOT_SUPPORTED;
    zero(vpd);
    std::memcpy(&vpd.FileHeader.signature, "VPD0", 4);
    vpd.TkfrHeader.imageSize = sizeof vpd.EntireVpdImage;
    putText(vpd.TkfrHeader.version, sizeof vpd.TkfrHeader.version, c->firmwareVersion);
    _ParsedVpd& p = vpd.FormattedVpd;
    p.ucWhoAmI = 1;
    putText(p.ucPartNum, sizeof p.ucPartNum, c->vpdPartNumber);
    putText(p.ucEC, sizeof p.ucEC, "H12345");
    putText(p.ucSN, sizeof p.ucSN, c->vpdSerial);
    putText(p.ucManufacture, sizeof p.ucManufacture, "ZEQ");
    putText(p.ucCardFru, sizeof p.ucCardFru, c->vpdCardFru);
    putText(p.ucBatteryFru, sizeof p.ucBatteryFru, c->vpdBatteryFru);
    std::memcpy(vpd.EntireVpdImage.Shadow, &p, sizeof p);
    vpd.ucVpdIsParsed = 1;
    return RC_OK;
}

OpResult GetExtendedBatteryData(_STORAGE_ADDRESS_ID addr, _ENQUIRY_EXTENDED_BATTERY_STATUS& b) {
    CONTROLLER(addr)
    if (c->features.ulBBCacheRelLevel() <= 2) return RC_NOT_SUPPORTED;
    zero(b);
    buildEnquiry(*c, b.sEnquiry);
    b.cTemperature = c->batteryTemperature;
    b.ucAbnormalTemperature = c->batteryAbnormal ? 1 : 0;
    b.ucPercentCharged = c->batteryPercent;
    return RC_OK;
}

OpResult ChannelDeviceCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                            uint32_t listSize) {
    CONTROLLER(addr)
    if (addr.usChannelID >= c->channelCount) return RC_NO_OBJECT;
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto& d : c->devices) {
        if (d.channel != addr.usChannelID || d.state == DEVSTATE_NONE) continue;
        _STORAGE_ADDRESS_ID a = libraryAddress(c->number);
        a.usChannelID = d.channel;
        a.usPhysDevID = d.target;
        items.push_back(a);
    }
    std::sort(items.begin(), items.end(), [](const _STORAGE_ADDRESS_ID& x, const _STORAGE_ADDRESS_ID& y) {
        return x.usPhysDevID < y.usPhysDevID;
    });
    return answerList(items, count, list, listSize);
}

OpResult AdapterDeviceCount(_STORAGE_ADDRESS_ID addr, uint16_t& count) {
    CONTROLLER(addr)
    count = 0;
    for (auto& d : c->devices)
        if (d.state != DEVSTATE_NONE) ++count;
    return RC_OK;
}

OpResult DeviceType(_STORAGE_ADDRESS_ID addr, uint16_t& type) {
    DEVICE(addr)
    type = dev->type;
    return RC_OK;
}

OpResult GetDriveFruData(_STORAGE_ADDRESS_ID addr, _HDD_FRU_TABLE& fru) {
    CONTROLLER(addr)
    zero(fru);
    for (auto& d : c->devices)
        if (d.state != DEVSTATE_NONE && d.channel < 4 && d.target < 16)
            putText(fru.FruPNArray[d.channel][d.target].FruPN, sizeof fru.FruPNArray[0][0].FruPN, d.fru);
    return RC_OK;
}

OpResult DeviceCapacity(_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size) {
    DEVICE(addr)
    zero(size);
    size.ulSectorCount = dev->blocks;
    size.ulSectorSize = 512;
    size.ulMultiplier = 1;
    return RC_OK;
}

OpResult DeviceInfo(_STORAGE_ADDRESS_ID addr, _DEVICE_INFO& info) {
    DEVICE(addr)
    zero(info);
    info.usDevType = dev->type;
    info.usDevWidth = 16;
    info.usDevSpeed = dev->channel < 4 ? c->speedCode[dev->channel] : 0;
    info.usDevState = dev->state;
    info.usSerialNumSize = uint16_t(std::min<size_t>(dev->serial.size(), 8));
    putVersion(info.sDevFirmVers, dev->firmware);
    info.sDevAddr = libraryAddress(c->number);
    info.sDevAddr.usChannelID = dev->channel;
    info.sDevAddr.usPhysDevID = dev->target;
    info.sDevSize.ulSectorCount = dev->blocks;
    info.sDevSize.ulSectorSize = 512;
    info.sDevSize.ulMultiplier = 1;
    buildInquiry(*dev, info.sDevInq);
    info.ucInqDataValid = 1;
    return RC_OK;
}

OpResult UpdateDeviceFirmWare(_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen) {
    logBytes(&Call::written, image, imageLen);
    DEVICE(addr)
    if (!image || !imageLen) return RC_BAD_PARAMETER;
    return deviceAlive(*dev) ? RC_OK : RC_INVALID_STATE;
}

OpResult PFADevice(_STORAGE_ADDRESS_ID addr, int& pfa, uint32_t& info) {
    DEVICE(addr)
    pfa = dev->pfa ? 1 : 0;
    info = 0;
    return RC_OK;
}

OpResult ExecDeviceCmnd(_STORAGE_ADDRESS_ID addr, uint8_t* cmnd, uint32_t cmndLen, uint32_t& readXfer,
                        uint32_t& writeXfer, uint32_t& senseXfer, void* readBuf, uint32_t readLen, void* writeBuf,
                        uint32_t writeLen, void* senseBuf, uint32_t senseLen, uint32_t timeout, uint32_t flags,
                        int readFlag, int senseFlag) {
    unused(timeout, flags, readFlag, senseFlag);
    logBytes(&Call::command, cmnd, cmndLen);
    logBytes(&Call::written, writeBuf, writeLen);
    DEVICE(addr)
    readXfer = writeXfer = senseXfer = 0;
    if (!writeBuf && writeLen) return RC_BAD_PARAMETER;
    OpResult r = deviceCommand(*dev, cmnd, cmndLen, readXfer, senseXfer, readBuf, readLen, senseBuf, senseLen);
    if (r.code == RC_OK) writeXfer = writeLen;
    return r;
}

OpResult ReadModePageCmnd(_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, void* buffer, uint32_t bufferLen,
                          uint32_t pageCode) {
    DEVICE(addr)
    returnedLen = 0;
    if (!buffer) return RC_BAD_PARAMETER;
    if (dev->type != DEVTYPE_DISK || (pageCode & 0x3F) != MODE_PAGE_CACHING || pageCode > 0xFF)
        return RC_NOT_SUPPORTED;
    if (!deviceAlive(*dev)) return RC_INVALID_STATE;
    uint8_t page[CACHING_PAGE_MAX];
    size_t len = buildCachingPage(*dev, pageCode, page);
    returnedLen = uint32_t(std::min<size_t>(len, bufferLen));
    std::memcpy(buffer, page, returnedLen);
    return RC_OK;
}

OpResult WriteModePageCmnd(_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, void* buffer, uint32_t bufferLen,
                           uint32_t pageCode) {
    logBytes(&Call::written, buffer, bufferLen);
    DEVICE(addr)
    returnedLen = 0;
    if (!buffer || bufferLen < 4) return RC_BAD_PARAMETER;
    if (dev->type != DEVTYPE_DISK || (pageCode & 0x3F) != MODE_PAGE_CACHING) return RC_NOT_SUPPORTED;
    if (!deviceAlive(*dev)) return RC_INVALID_STATE;
    const uint8_t* b = static_cast<const uint8_t*>(buffer);
    size_t page = 4u + b[3];
    if (bufferLen < page + 3 || (b[page] & 0x3F) != MODE_PAGE_CACHING) return RC_BAD_PARAMETER;
    bool wce = (b[page + 2] & 0x04) != 0;
    if (wce != dev->writeCache && !dev->writeCacheChangeable) return RC_NOT_SUPPORTED;
    dev->writeCache = wce;
    returnedLen = bufferLen;
    return RC_OK;
}

OpResult ReadDevice(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                    uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                    uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    CONTROLLER(addr)
    return blockIo(*c, addr, false, true, buffer, bufferLen, xferLen, status);
}

OpResult WriteDevice(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                     uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                     uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    logBytes(&Call::written, buffer, bufferLen);
    CONTROLLER(addr)
    return blockIo(*c, addr, false, false, buffer, bufferLen, xferLen, status);
}

OpResult ReadPhysDisk(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                      uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                      uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    CONTROLLER(addr)
    return blockIo(*c, addr, false, true, buffer, bufferLen, xferLen, status);
}

OpResult WritePhysDisk(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                       uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                       uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    logBytes(&Call::written, buffer, bufferLen);
    CONTROLLER(addr)
    return blockIo(*c, addr, false, false, buffer, bufferLen, xferLen, status);
}

OpResult MonitorAdapterStatistics(_STORAGE_ADDRESS_ID addr, int enable) {
    unused(enable);
    CONTROLLER(addr)
    return RC_OK;
}

OpResult MonitorDeviceStatistics(_STORAGE_ADDRESS_ID addr, int enable) {
    unused(enable);
    DEVICE(addr)
    return RC_OK;
}

OpResult GetAdapterStatistics(_STORAGE_ADDRESS_ID addr, _ADAPTER_STATISTICS& stats) {
    CONTROLLER(addr)
    zero(stats);
    return RC_OK;
}

OpResult GetDeviceStatistics(_STORAGE_ADDRESS_ID addr, _PHYSICAL_DEVICE_STATISTICS& stats) {
    DEVICE(addr)
    zero(stats);
    return RC_OK;
}

OpResult GetSafteCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list, uint32_t listSize) {
    CONTROLLER(addr)
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto& d : c->devices) {
        if (d.type != DEVTYPE_ENCLOSURE || d.state == DEVSTATE_NONE || !d.present) continue;
        _STORAGE_ADDRESS_ID a = libraryAddress(c->number);
        a.usChannelID = d.channel;
        a.usPhysDevID = d.target;
        items.push_back(a);
    }
    return answerList(items, count, list, listSize);
}

OpResult GetSafteConfig(_STORAGE_ADDRESS_ID addr, _SAFTE_CONFIGURATION& config) {
    DEVICE(addr)
    if (dev->type != DEVTYPE_ENCLOSURE) return RC_NOT_SUPPORTED;
    if (!deviceAlive(*dev) || !dev->safteResponding) return RC_INVALID_STATE;
    static_assert(sizeof config == sizeof dev->safteConfig, "the SAF-TE configuration is 64 bytes");
    std::memcpy(&config, dev->safteConfig, sizeof config);
    return RC_OK;
}

OpResult GetSafteStatus(_STORAGE_ADDRESS_ID addr, _SAFTE_STATUS& status) {
    DEVICE(addr)
    if (dev->type != DEVTYPE_ENCLOSURE) return RC_NOT_SUPPORTED;
    if (!deviceAlive(*dev) || !dev->safteResponding) return RC_INVALID_STATE;
    // Only the packed 28-byte status page: callers may provide no more room.
    static_assert(sizeof(SAFTE_STATUS_PAGE) == sizeof dev->safteStatus, "the status page is 28 bytes");
    std::memcpy(static_cast<void*>(&status), dev->safteStatus, sizeof dev->safteStatus);
    return RC_OK;
}

OpResult GetSesElementDesc(_STORAGE_ADDRESS_ID addr, _ELEMENT_DESCRIPTOR_PAGE& page) {
    unused(page);
    DEVICE(addr)
    return RC_NOT_SUPPORTED;   // the enclosures here speak SAF-TE, not SES
}

OpResult GetSystemVPD(_STORAGE_ADDRESS_ID addr, _VPD_INQUIRY_DATA& vpd) {
    DEVICE(addr)
    zero(vpd);
    vpd.ucByte0 = uint8_t(dev->type & 0x1F);
    vpd.ucPageCode = 0x80;   // unit serial number
    vpd.ucPageLength = uint8_t(std::min<size_t>(dev->serial.size(), sizeof vpd.ucVendorSpecific) + 1);
    vpd.ucAsciiLength = uint8_t(vpd.ucPageLength - 1);
    putText(vpd.ucVendorSpecific, vpd.ucAsciiLength, dev->serial);
    return RC_OK;
}

// ---------------------------------------------------------------- RaidCmnd

int GetClusterDllVersion(_STORAGE_ADDRESS_ID addr, _STORAGE_VERSION& v) {
    CONTROLLER(addr)
    putVersion(v, "1.0.0");
    return RC_OK;
}

OpResult AdapterDMATest(_STORAGE_ADDRESS_ID addr, int option) {
    unused(option);
    CONTROLLER(addr)
    return RC_OK;
}

OpResult GetAdapterPostConfig(_STORAGE_ADDRESS_ID addr, _CONFIG_RESET_DATA& data) {
    CONTROLLER(addr)
    zero(data);
    return RC_OK;
}

OpResult DriveSelfTest(_STORAGE_ADDRESS_ID addr, uint16_t test, uint16_t option1, uint16_t option2) {
    unused(option1, option2);
    DEVICE(addr)
    if (dev->type != DEVTYPE_DISK) return RC_NOT_SUPPORTED;
    if (!deviceAlive(*dev)) return RC_INVALID_STATE;
    OpResult r;
    if (test == 3) r.unsignedValue = dev->selfTest ? 3 : 0;   // the capability query
    else if (!dev->selfTest) r.code = RC_NOT_SUPPORTED;
    return r;
}

OpResult CheckDriveSelfTestProgress(_STORAGE_ADDRESS_ID addr, uint16_t& percent) {
    DEVICE(addr)
    percent = 100;
    return RC_OK;
}

OpResult GetDriveSelfTestLog(_STORAGE_ADDRESS_ID addr, void* buffer, uint16_t& returnedLen, uint32_t bufferLen) {
    DEVICE(addr)
    returnedLen = 0;
    if (!buffer && bufferLen) return RC_BAD_PARAMETER;
    // The count of 20-byte entries, and as much of the log as the buffer holds.
    returnedLen = uint16_t(std::min<size_t>(dev->selfTestLog.size() / 20, 0xFFFF));
    size_t n = std::min<size_t>(dev->selfTestLog.size(), bufferLen);
    if (n) std::memcpy(buffer, dev->selfTestLog.data(), n);
    return RC_OK;
}

OpResult IsRaidPresent(int& present) {
    present = state().sc.controllers.empty() ? 0 : 1;
    return RC_OK;
}

int GetRaidIntfVersion(_STORAGE_VERSION& v) {
    putInterfaceVersion(v);
    return RC_OK;
}

OpResult SetRebuildPriority(_STORAGE_ADDRESS_ID addr, uint8_t priority) {
    CONTROLLER(addr)
    if (priority < 1 || priority > 15) return RC_BAD_PARAMETER;
    c->rebuildRate = priority;
    configChanged(*c);
    return RC_OK;
}

OpResult SetCopyBackMode(_STORAGE_ADDRESS_ID addr, int enable) {
    CONTROLLER(addr)
    return setBit(*c, 24, enable != 0);
}

OpResult SetAttendanceMode(_STORAGE_ADDRESS_ID addr, int mode) {
    CONTROLLER(addr)
    return setBit(*c, 31, mode != 0);
}

OpResult SetReadAheadMode(_STORAGE_ADDRESS_ID addr, int mode) {
    CONTROLLER(addr)
    c->readAhead = mode != 0;
    configChanged(*c);
    return RC_OK;
}

OpResult SetStripeSliceSize(_STORAGE_ADDRESS_ID addr, uint32_t size) {
    CONTROLLER(addr)
    uint8_t code;
    switch (size) {
    case 8: code = 4; break;
    case 16: code = 5; break;
    case 32: code = 6; break;
    case 64: code = 7; break;
    default: return RC_BAD_PARAMETER;
    }
    c->stripeCode = code;
    configChanged(*c);
    return RC_OK;
}

OpResult GetAdapterRaidConfig(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen,
                              int flag) {
    unused(flag);
    CONTROLLER(addr)
    returnedLen = 0;
    if (!buffer) return RC_BAD_PARAMETER;
    _ADAPTER_CONFIG cfg;
    buildConfig(*c, cfg);
    applyPatches(&cfg, sizeof cfg, c->configPatches);
    returnedLen = std::min<uint32_t>(bufferLen, sizeof cfg);
    std::memcpy(buffer, &cfg, returnedLen);
    return RC_OK;
}

OpResult GetVirtDevLdTable(_STORAGE_ADDRESS_ID addr, uint32_t& returnedLen, _VIRT_DRV_PARMS* table,
                           uint32_t tableSize, uint32_t which) {
    CONTROLLER(addr)
    if (which != LD_TABLE_HLD && which != LD_TABLE_SLD) return RC_BAD_PARAMETER;
    // Both tables have eight entries. The HLD table holds the top-level drives
    // in number order; the SLD table is indexed by sub-logical drive slot.
    _VIRT_DRV_PARMS entries[ACONFIG_VIRT_DRIVES];
    std::memset(static_cast<void*>(entries), 0, sizeof entries);
    if (which == LD_TABLE_HLD) {
        std::vector<LogicalDrive*> top;
        for (auto& d : c->drives) top.push_back(&d);
        std::sort(top.begin(), top.end(),
                  [](const LogicalDrive* x, const LogicalDrive* y) { return x->number < y->number; });
        for (size_t i = 0; i < top.size() && i < ACONFIG_VIRT_DRIVES; ++i) buildDriveParams(*c, *top[i], entries[i]);
    } else {
        for (auto& s : c->subDrives)
            if (s.number < ACONFIG_VIRT_DRIVES) buildDriveParams(*c, s, entries[s.number]);
    }
    const bool hld = which == LD_TABLE_HLD;
    const int64_t reported = hld ? c->hldTableLength : c->sldTableLength;
    // By default the entries and 4 bytes behind them, the length the C API reports.
    returnedLen = reported >= 0 ? uint32_t(std::min<int64_t>(reported, 0xFFFFFFFF)) : uint32_t(sizeof entries + 4);
    if (table) {
        // The reply as reported (cut or zero-padded), as far as the caller's table holds it.
        std::vector<uint8_t> reply(std::min<size_t>(tableSize, returnedLen), 0);
        std::memcpy(reply.data(), entries, std::min(reply.size(), sizeof entries));
        applyPatches(reply.data(), reply.size(), hld ? c->hldTablePatches : c->sldTablePatches);
        if (!reply.empty()) std::memcpy(static_cast<void*>(table), reply.data(), reply.size());
    }
    return RC_OK;
}

OpResult ResetAdapterRaidConfig(_STORAGE_ADDRESS_ID addr, int option) {
    unused(option);
    CONTROLLER(addr)
    return resetConfig(*c);
}

OpResult SetAdapterRaidConfig(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen) {
    CONTROLLER(addr)
    if (!buffer || bufferLen < sizeof(_ADAPTER_CONFIG)) return RC_BAD_PARAMETER;
    // Takes over the adapter-wide settings of the record; drives and devices
    // are changed through their own requests.
    _ADAPTER_CONFIG cfg;
    std::memcpy(&cfg, buffer, sizeof cfg);
    c->userOpts = storrec::setBits(cfg.sUserOpts.ulOpts, 0, 16, 0);
    c->rebuildRate = cfg.ucRebuildRate;
    c->hostId = std::string(reinterpret_cast<const char*>(cfg.ucHostId),
                            strnlen(reinterpret_cast<const char*>(cfg.ucHostId), sizeof cfg.ucHostId));
    c->stripeCode = cfg.sVirtDrv[0].ucStripeSize;
    c->readAhead = !(cfg.sVirtDrv[0].ucParams & VDP_PARAM_READ_AHEAD_OFF);
    configChanged(*c);
    return RC_OK;
}

OpResult SetAdapterRaidConfigFromDevice(_STORAGE_ADDRESS_ID addr, int option) {
    unused(option);
    CONTROLLER(addr)
    return RC_NOT_SUPPORTED;
}

OpResult SetWritePolicy(_STORAGE_ADDRESS_ID addr, uint8_t policy) {
    CONTROLLER(addr)
    if (policy > 1) return RC_BAD_PARAMETER;
    if (addr.ulMap & STADDR_MAP_ADAPTER_WIDE) {
        for (auto* v : {&c->drives, &c->subDrives})
            for (auto& d : *v) d.writeCache = policy != 0;
    } else {
        bool isSub = false;
        LogicalDrive* d = resolveDrive(*c, addr, isSub);
        if (!d) return RC_NO_OBJECT;
        d->writeCache = policy != 0;
    }
    configChanged(*c);
    return RC_OK;
}

OpResult DuplicateVirtDev(_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID target) {
    unused(target);
    CONTROLLER(addr)
    return RC_NOT_SUPPORTED;
}

OpResult RaidAdapterInfo(_STORAGE_ADDRESS_ID addr, _RAID_ADAPTER_INFO& info) {
    CONTROLLER(addr)
    buildAdapterInfo(*c, info.sAdapInfo);
    info.usVirtDevCount = uint16_t(c->drives.size());
    return RC_OK;
}

OpResult GetAdapterEventLog(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,
                            uint32_t& returnedLen) {
    CONTROLLER(addr)
    returnedLen = 0;
    std::vector<uint32_t>* log = eventLog(*c, logCode);
    if (!log) return RC_BAD_PARAMETER;
    if (!buffer || bufferLen < 4) return RC_BAD_PARAMETER;
    // The entry count (most significant byte first), then as many entries as fit.
    size_t n = std::min<size_t>({log->size(), (bufferLen - 4) / 4, ADAPTER_EVENT_LOG_MAX_ENTRIES});
    uint8_t* b = static_cast<uint8_t*>(buffer);
    b[0] = uint8_t(n >> 24);
    b[1] = uint8_t(n >> 16);
    b[2] = uint8_t(n >> 8);
    b[3] = uint8_t(n);
    for (size_t i = 0; i < n; ++i) {
        uint32_t v = (*log)[i];
        uint8_t* e = b + 4 + 4 * i;
        e[0] = uint8_t(v >> 24);
        e[1] = uint8_t(v >> 16);
        e[2] = uint8_t(v >> 8);
        e[3] = uint8_t(v);
    }
    returnedLen = uint32_t(4 + 4 * n);
    return RC_OK;
}

OpResult EraseAdapterEventLog(_STORAGE_ADDRESS_ID addr, uint8_t logCode) {
    CONTROLLER(addr)
    if ((logCode & 0xF0) != EVENT_LOG_ERASE_OFFSET && (logCode & 0xF0) != 0) return RC_BAD_PARAMETER;
    std::vector<uint32_t>* log = eventLog(*c, logCode & 0x0F);
    if (!log) return RC_BAD_PARAMETER;
    if (log == &c->logs.device) std::fill(log->begin(), log->end(), 0u);   // one counter slot per device
    else log->clear();
    return RC_OK;
}

OpResult CreateArray(_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID* devices, uint16_t count) {
    CONTROLLER(addr)
    logList(devices, count);
    return RC_NOT_SUPPORTED;   // arrays come into being with their first logical drive
}

OpResult DeleteArray(_STORAGE_ADDRESS_ID addr, uint16_t option) {
    unused(option);
    CONTROLLER(addr)
    return deleteArray(*c, addr.usArrayID);
}

OpResult GetArrayCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list, uint32_t listSize) {
    CONTROLLER(addr)
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (unsigned id = 0; id < 8; ++id)
        if (!basicArrayDrives(*c, id).empty()) {
            items.push_back(libraryAddress(c->number));
            items.back().usArrayID = uint16_t(id);
        }
    for (unsigned id = 0; id < 8; ++id)
        if (!spannedArrayDrives(*c, id).empty()) {
            items.push_back(libraryAddress(c->number));
            items.back().usArrayID = uint16_t(0x8000 | id);
        }
    return answerList(items, count, list, listSize);
}

OpResult GetArrayVirtDevCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                              uint32_t listSize) {
    CONTROLLER(addr)
    bool spannedArray = (addr.usArrayID & 0x8000) != 0;
    unsigned id = addr.usArrayID & 0x7FFF;
    auto drives = spannedArray ? spannedArrayDrives(*c, id) : basicArrayDrives(*c, id);
    count = 0;
    if (drives.empty()) return RC_NO_OBJECT;
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto* d : drives) {
        items.push_back(libraryAddress(c->number));
        items.back().usVirtDevID = d->number;
        items.back().usArrayID = addr.usArrayID;
    }
    return answerList(items, count, list, listSize);
}

OpResult GetArrayPhysDevCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                              uint32_t listSize) {
    CONTROLLER(addr)
    unsigned id = addr.usArrayID & 0x7FFF;
    DeviceSet members;
    count = 0;
    if (addr.usArrayID & 0x8000) {
        auto hlds = spannedArrayDrives(*c, id);
        if (hlds.empty()) return RC_NO_OBJECT;
        for (auto* s : subDrivesOf(*c, *hlds.front())) {
            auto m = membersOf(*s);
            members.insert(m.begin(), m.end());
        }
    } else {
        if (basicArrayDrives(*c, id).empty()) return RC_NO_OBJECT;
        members = basicArrayMembers(*c, id);
    }
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto& m : members) {
        items.push_back(libraryAddress(c->number));
        items.back().usChannelID = m.first;
        items.back().usPhysDevID = m.second;
    }
    return answerList(items, count, list, listSize);
}

OpResult ArrayInfo(_STORAGE_ADDRESS_ID addr, _RAID_ARRAY_INFO& info) {
    CONTROLLER(addr)
    unsigned id = addr.usArrayID & 0x7FFF;
    bool exists = (addr.usArrayID & 0x8000) ? !spannedArrayDrives(*c, id).empty() : !basicArrayDrives(*c, id).empty();
    if (!exists) return RC_NO_OBJECT;
    zero(info);
    return RC_OK;
}

OpResult HotSwapRebuild(_STORAGE_ADDRESS_ID addr, int enable) {
    CONTROLLER(addr)
    return setBit(*c, 26, enable != 0);
}

OpResult AdapterDeviceScan(_STORAGE_ADDRESS_ID addr, uint16_t& found) {
    CONTROLLER(addr)
    found = 0;
    bool changed = false;
    for (auto& d : c->devices) {
        if (d.present && d.state == DEVSTATE_NONE) {
            d.state = DEVSTATE_READY;
            ++found;
            changed = true;
        } else if (!d.present && d.state != DEVSTATE_NONE && !deviceIsMember(*c, d.channel, d.target)) {
            d.state = DEVSTATE_NONE;
            changed = true;
        }
    }
    if (changed) configChanged(*c);
    return RC_OK;
}

OpResult SetHostConfigId(_STORAGE_ADDRESS_ID addr, char* hostId) {
    CONTROLLER(addr)
    if (!hostId) return RC_BAD_PARAMETER;
    c->hostId.assign(hostId, strnlen(hostId, 12));
    configChanged(*c);
    return RC_OK;
}

OpResult ClearClusterPartnerId(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    c->clusterPartnerId.clear();
    return RC_OK;
}

OpResult SetClusterPartnerId(_STORAGE_ADDRESS_ID addr, char* partnerId) {
    CONTROLLER(addr)
    if (!partnerId) return RC_BAD_PARAMETER;
    c->clusterPartnerId.assign(partnerId, strnlen(partnerId, CLUSTER_PARTNER_ID_SIZE));
    return RC_OK;
}

OpResult GetClusterPartnerId(_STORAGE_ADDRESS_ID addr, char* partnerId) {
    CONTROLLER(addr)
    if (!partnerId) return RC_BAD_PARAMETER;
    putText(reinterpret_cast<uint8_t*>(partnerId), CLUSTER_PARTNER_ID_SIZE, c->clusterPartnerId);
    return RC_OK;
}

OpResult SetSharedDeviceId(_STORAGE_ADDRESS_ID addr, uint8_t id) {
    CONTROLLER(addr)
    c->sharedDeviceId = id;
    return RC_OK;
}

OpResult GetSharedDeviceId(_STORAGE_ADDRESS_ID& addr, uint8_t& id) {
    CONTROLLER(addr)
    id = c->sharedDeviceId;
    return RC_OK;
}

OpResult GetSupportedFeatures(_STORAGE_ADDRESS_ID addr, _ADAPTER_FEATURES* features) {
    CONTROLLER(addr)
    if (!features) return RC_BAD_PARAMETER;
    *features = c->features;
    return RC_OK;
}

OpResult GetSlotPowerState(_STORAGE_ADDRESS_ID addr, uint32_t slot, uint32_t& st) {
    unused(slot);
    CONTROLLER(addr)
    st = c->slotPowerState;
    return RC_OK;
}

OpResult SetSlotPowerState(_STORAGE_ADDRESS_ID addr, uint32_t slot, uint32_t st) {
    unused(slot);
    CONTROLLER(addr)
    c->slotPowerState = st;
    return RC_OK;
}

OpResult FindHotPCISlots(uint32_t& slotMask) {
    slotMask = 0;
    for (auto& c : state().sc.controllers)
        if (c.slot < 32) slotMask |= 1u << c.slot;
    return RC_OK;
}

OpResult SetHotSwapState(uint32_t slot, uint32_t st) {
    unused(st);
    for (auto& c : state().sc.controllers)
        if (c.slot == slot) return RC_OK;
    return RC_NO_OBJECT;
}

OpResult GetFailoverInfo(_STORAGE_ADDRESS_ID addr, uint8_t* info) {
    CONTROLLER(addr)
    if (!info) return RC_BAD_PARAMETER;
    _IOCTL_FO_INFO fo;
    zero(fo);
    fo.ulClusterBit = storrec::getBits(c->userOpts, 28, 1);
    putText(fo.ucHostId, 12, c->hostId);
    putText(fo.ucPartnerHostId, 12, c->clusterPartnerId);
    std::memcpy(info, &fo, sizeof fo);
    return RC_OK;
}

OpResult BlockBadAdapter(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    c->status = -11;   // down
    configChanged(*c);
    return RC_OK;
}

OpResult UnblockGoodAdapter(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    c->status = 0;
    configChanged(*c);
    return RC_OK;
}

OpResult ResetNewAdapter(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    c->status = 0;
    configChanged(*c);
    return RC_OK;
}

OpResult SetAdapterDefective(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    c->status = 2;     // failed
    configChanged(*c);
    return RC_OK;
}

OpResult GetInitiatorIDs(_STORAGE_ADDRESS_ID addr, uint8_t* ids) {
    CONTROLLER(addr)
    if (!ids) return RC_BAD_PARAMETER;
    _IOCTL_INITIATOR_IDS r;
    zero(r);
    r.ucNumChannels = uint8_t(c->channelCount);
    for (unsigned ch = 0; ch < 4 && ch < c->channelCount; ++ch) r.ulInitiators[ch] = c->initiatorId[ch];
    r.ucFriendlySlotNumber = uint8_t(c->slot);
    r.ucAdapterType = uint8_t(c->model);
    r.ucStripeSize = c->stripeCode;
    std::memcpy(ids, &r, sizeof r);
    return RC_OK;
}

OpResult TimeStampFirmware(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    return RC_OK;
}

OpResult CheckCodeVersions(_STORAGE_ADDRESS_ID addr, uint32_t& mismatch) {
    CONTROLLER(addr)
    mismatch = c->codeVersions;
    return RC_OK;
}

OpResult GetVirtDevCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list, uint32_t listSize) {
    CONTROLLER(addr)
    std::vector<_STORAGE_ADDRESS_ID> items;
    for (auto& d : c->drives) {
        items.push_back(libraryAddress(c->number));
        items.back().usVirtDevID = d.number;
        items.back().usArrayID = uint16_t(d.spanned ? (0x8000 | d.arrayId) : d.arrayId);
    }
    std::sort(items.begin(), items.end(), [](const _STORAGE_ADDRESS_ID& x, const _STORAGE_ADDRESS_ID& y) {
        return x.usVirtDevID < y.usVirtDevID;
    });
    OpResult r = answerList(items, count, list, listSize);
    if (c->virtDevCount >= 0) count = uint16_t(std::min<int32_t>(c->virtDevCount, 0xFFFF));
    return r;
}

namespace {
// The first or last logical drive of the array that usArrayID names (with bit
// 15 set: a spanned array).
OpResult endOfArray(_STORAGE_ADDRESS_ID& addr, bool last) {
    CONTROLLER(addr)
    unsigned id = addr.usArrayID & 0x7FFF;
    std::vector<LogicalDrive*> drives;
    if (addr.usArrayID & 0x8000) {
        drives = spannedArrayDrives(*c, id);
    } else {
        for (auto* d : basicArrayDrives(*c, id))
            if (topDrive(*c, d->number) == d) drives.push_back(d);
        if (drives.empty()) drives = basicArrayDrives(*c, id);
    }
    if (drives.empty()) return RC_NO_OBJECT;
    addr.usVirtDevID = (last ? drives.back() : drives.front())->number;
    return RC_OK;
}
} // namespace

OpResult GetFirstVirtDev(_STORAGE_ADDRESS_ID& addr) {
    return endOfArray(addr, false);
}

OpResult GetLastVirtDev(_STORAGE_ADDRESS_ID& addr) {
    return endOfArray(addr, true);
}

OpResult CreateVirtDev(_STORAGE_ADDRESS_ID addr, uint16_t raidCode, uint32_t size, uint32_t stripeSize,
                       uint16_t count, _STORAGE_ADDRESS_ID* devices, uint32_t option) {
    unused(stripeSize);
    CONTROLLER(addr)
    logList(devices, count);
    if (count > 16) return RC_BAD_PARAMETER;
    return createDrive(*c, addr, raidCode, size, devices, count, option);
}

OpResult CreateVirtDevHld(_STORAGE_ADDRESS_ID addr, uint32_t size, uint16_t count, _STORAGE_ADDRESS_ID* drives) {
    CONTROLLER(addr)
    logList(drives, count);
    return createSpannedDrive(*c, addr, size, drives, count);
}

OpResult DeleteVirtDev(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    return deleteTopDrive(*c, addr.usVirtDevID);
}

OpResult DeleteVirtDevOption(_STORAGE_ADDRESS_ID addr, uint8_t option) {
    CONTROLLER(addr)
    if (option == 2) return deleteSubDrive(*c, addr.usVirtDevID);
    return deleteTopDrive(*c, addr.usVirtDevID);
}

OpResult SynchronizeVirtDev(_STORAGE_ADDRESS_ID addr, uint8_t option) {
    DRIVE(addr)
    return startTask(*c, Task::SYNCHRONIZE, *drive, isSub, option);
}

OpResult CheckSynchronizeVirtDevProgress(_STORAGE_ADDRESS_ID addr, uint16_t& percent) {
    CONTROLLER(addr)
    return percentOf(*c, addr, Task::SYNCHRONIZE, percent);
}

OpResult InitializeVirtDev(_STORAGE_ADDRESS_ID addr, uint8_t option) {
    DRIVE(addr)
    return startTask(*c, Task::INITIALIZE, *drive, isSub, option);
}

OpResult CheckInitializeVirtDevProgress(_STORAGE_ADDRESS_ID addr, uint16_t& percent) {
    CONTROLLER(addr)
    return percentOf(*c, addr, Task::INITIALIZE, percent);
}

OpResult MigrateVirtDev(_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID& target) {
    unused(target);
    DRIVE(addr)
    return RC_NOT_SUPPORTED;
}

OpResult CheckMigrateVirtDevProgress(_STORAGE_ADDRESS_ID addr, uint16_t& percent) {
    CONTROLLER(addr)
    return percentOf(*c, addr, Task::MIGRATE, percent);
}

OpResult IncreaseArraySize(_STORAGE_ADDRESS_ID addr, _ARRAY_SIZE size, _STORAGE_ADDRESS_ID* devices,
                           uint16_t count) {
    unused(size);
    CONTROLLER(addr)
    logList(devices, count);
    if (addr.usArrayID & 0x8000) return RC_NOT_SUPPORTED;
    return increaseArraySize(*c, addr.usArrayID, devices, count);
}

OpResult ModifyArrayRaidLevel(_STORAGE_ADDRESS_ID addr, uint16_t raidCode, _STORAGE_ADDRESS_ID* devices,
                              uint16_t count) {
    CONTROLLER(addr)
    logList(devices, count);
    if (addr.usArrayID & 0x8000) return RC_NOT_SUPPORTED;
    return modifyArrayRaidLevel(*c, addr.usArrayID, raidCode, devices, count);
}

OpResult IncreaseVirtDevSizes(_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE size, _STORAGE_ADDRESS_ID* devices,
                              uint16_t count) {
    unused(size);
    logList(devices, count);
    DRIVE(addr)
    if (isSub) return RC_NOT_SUPPORTED;
    return increaseDriveSize(*c, *drive, devices, count);
}

OpResult ModifyVirtDevRaidLevel(_STORAGE_ADDRESS_ID addr, uint16_t raidCode, _STORAGE_ADDRESS_ID* devices,
                                uint16_t count) {
    logList(devices, count);
    DRIVE(addr)
    if (isSub || drive->spanned) return RC_NOT_SUPPORTED;
    if (basicArrayDrives(*c, drive->arrayId).size() != 1) return RC_INVALID_STATE;
    return modifyArrayRaidLevel(*c, drive->arrayId, raidCode, devices, count);
}

OpResult RestartMigration(_STORAGE_ADDRESS_ID addr) {
    DRIVE(addr)
    return drive->migrating ? RC_OK : RC_INVALID_STATE;
}

OpResult FailActiveToPassive(_STORAGE_ADDRESS_ID addr) {
    CONTROLLER(addr)
    return RC_NOT_SUPPORTED;
}

OpResult GetVirtDevSize(_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size) {
    DRIVE(addr)
    zero(size);
    size.ulSectorCount = drive->sizeSectors;
    size.ulSectorSize = 512;
    size.ulMultiplier = 1;
    return RC_OK;
}

OpResult GetVirtDevInfo(_STORAGE_ADDRESS_ID addr, _VIRTUAL_DEVICE_INFO& info) {
    DRIVE(addr)
    zero(info);
    return RC_OK;
}

OpResult UnBlockVirtDev(_STORAGE_ADDRESS_ID addr) {
    DRIVE(addr)
    drive->blocked = false;
    configChanged(*c);
    return RC_OK;
}

OpResult MergeVirtDev(_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option, uint8_t flag) {
    unused(groupId, option, flag);
    DRIVE(addr)
    return RC_NOT_SUPPORTED;
}

OpResult UnMergeVirtDev(_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option) {
    unused(groupId, option);
    DRIVE(addr)
    return RC_NOT_SUPPORTED;
}

OpResult ClearMergeGroupId(_STORAGE_ADDRESS_ID addr) {
    DRIVE(addr)
    return RC_NOT_SUPPORTED;
}

OpResult SetMergeGroupId(_STORAGE_ADDRESS_ID addr, uint8_t groupId, int option) {
    unused(groupId, option);
    DRIVE(addr)
    return RC_NOT_SUPPORTED;
}

OpResult ReadVirtDevice(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                        uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                        uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    CONTROLLER(addr)
    return blockIo(*c, addr, true, true, buffer, bufferLen, xferLen, status);
}

OpResult WriteVirtDevice(_STORAGE_ADDRESS_ID addr, _DATA_ADDRESS dataAddr, void* buffer, uint32_t bufferLen,
                         uint32_t& xferLen, uint32_t& status, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                         uint32_t flags, int option) {
    unused(dataAddr, senseBuf, senseLen, timeout, flags, option);
    CONTROLLER(addr)
    return blockIo(*c, addr, true, false, buffer, bufferLen, xferLen, status);
}

OpResult AddPhysDev(_STORAGE_ADDRESS_ID addr, uint8_t option) {
    unused(option);
    DEVICE(addr)
    if (!dev->present) return RC_NO_OBJECT;
    if (dev->state != DEVSTATE_NONE) return RC_INVALID_STATE;
    return setDeviceState(*c, dev->channel, dev->target, DEVSTATE_READY);
}

OpResult RemovePhysDev(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    return setDeviceState(*c, dev->channel, dev->target, DEVSTATE_NONE);
}

OpResult ReplacePhysDev(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    return rebuildDevice(*c, dev->channel, dev->target);
}

OpResult StartPhysDev(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    if (dev->state != DEVSTATE_STANDBY) return RC_INVALID_STATE;
    return setDeviceState(*c, dev->channel, dev->target, DEVSTATE_READY);
}

OpResult StopPhysDev(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    if (dev->state != DEVSTATE_READY) return RC_INVALID_STATE;
    return setDeviceState(*c, dev->channel, dev->target, DEVSTATE_STANDBY);
}

OpResult GetPhysDevState(_STORAGE_ADDRESS_ID addr, uint8_t& st) {
    CONTROLLER(addr)
    if (addr.usChannelID >= c->channelCount || addr.usPhysDevID >= ACONFIG_TARGETS) return RC_NO_OBJECT;
    Device* dev = deviceAt(*c, addr);
    st = dev ? dev->state : DEVSTATE_NONE;   // an empty slot reads as no device
    return RC_OK;
}

OpResult SetPhysDevState(_STORAGE_ADDRESS_ID addr, uint8_t st) {
    CONTROLLER(addr)
    if (addr.usChannelID >= c->channelCount || addr.usPhysDevID >= ACONFIG_TARGETS) return RC_NO_OBJECT;
    if (!deviceAt(*c, addr)) return st == DEVSTATE_NONE ? RC_OK : RC_NO_OBJECT;
    return setDeviceState(*c, addr.usChannelID, addr.usPhysDevID, st);
}

OpResult ClearDeviceRaidConfig(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    if (dev->type != DEVTYPE_DISK || !dev->present) return RC_INVALID_STATE;
    if (deviceIsMember(*c, dev->channel, dev->target) || dev->state == DEVSTATE_REBUILDING) return RC_INVALID_STATE;
    dev->state = DEVSTATE_READY;
    dev->replacedSlot = -1;
    configChanged(*c);
    return RC_OK;
}

OpResult RebuildPhysDev(_STORAGE_ADDRESS_ID addr) {
    DEVICE(addr)
    return rebuildDevice(*c, dev->channel, dev->target);
}

OpResult RebuildPhysDevToOtherDev(_STORAGE_ADDRESS_ID addr, _STORAGE_ADDRESS_ID& target) {
    DEVICE(addr)
    return rebuildToOther(*c, dev->channel, dev->target, target.usChannelID, target.usPhysDevID);
}

OpResult CheckRebuildProgress(_STORAGE_ADDRESS_ID addr, uint16_t& percent, uint8_t& st) {
    DEVICE(addr)
    percent = 100;
    st = dev->state;
    for (auto& t : c->tasks)
        if ((t.kind == Task::REBUILD || t.kind == Task::COPYBACK) && t.channel == dev->channel &&
            t.target == dev->target) {
            percent = uint16_t(t.totalBlocks ? t.doneBlocks * 100 / t.totalBlocks : 0);
            break;
        }
    return RC_OK;
}

OpResult CheckProgress(_STORAGE_ADDRESS_ID addr, _REBUILD_STATUS& status, int option) {
    unused(option);
    CONTROLLER(addr)
    buildProgress(*c, status);
    applyPatches(&status, sizeof status, c->progressPatches);
    return RC_OK;
}

OpResult CheckQuillcopyProgress(_STORAGE_ADDRESS_ID addr, _QUILLCOPY_STATUS& status, int option) {
    unused(option);
    CONTROLLER(addr)
    zero(status);
    for (size_t k = 0; k < c->quillcopies.size() && k < 4; ++k) {
        status.sEntry[k].ucSource = c->quillcopies[k].source;
        status.sEntry[k].ucTarget = c->quillcopies[k].target;
    }
    return RC_OK;
}

OpResult GetPhysDevEventLog(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,
                            uint32_t& returnedLen) {
    unused(logCode);
    DEVICE(addr)
    returnedLen = 0;
    if (!buffer || bufferLen < 4) return RC_BAD_PARAMETER;
    // The entry count, then as many entries as fit (most significant byte first).
    const std::vector<uint32_t>& log = dev->eventLog;
    size_t n = std::min<size_t>(log.size(), (bufferLen - 4) / 4);
    uint8_t* b = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i <= n; ++i) {
        uint32_t v = i == 0 ? uint32_t(n) : log[i - 1];
        b[4 * i] = uint8_t(v >> 24);
        b[4 * i + 1] = uint8_t(v >> 16);
        b[4 * i + 2] = uint8_t(v >> 8);
        b[4 * i + 3] = uint8_t(v);
    }
    returnedLen = uint32_t(4 + 4 * n);
    return RC_OK;
}

OpResult ErasePhysDevEventLog(_STORAGE_ADDRESS_ID addr, uint8_t logCode) {
    unused(logCode);
    DEVICE(addr)
    dev->eventLog.clear();
    return RC_OK;
}

OpResult IdentifyPhysicalDrive(_STORAGE_ADDRESS_ID addr, uint8_t start) {
    CONTROLLER(addr)
    switch (start) {
    case 0:
    case 1: {   // a device
        Device* dev = deviceAt(*c, addr);
        if (!dev || !dev->present) return RC_NO_OBJECT;
        dev->identify = start;
        return RC_OK;
    }
    case 2:
    case 3: {   // the disks of a logical drive
        bool isSub = false;
        LogicalDrive* d = resolveDrive(*c, addr, isSub);
        if (!d) return RC_NO_OBJECT;
        d->identify = start;
        return RC_OK;
    }
    case 5:
    case 6: {   // an enclosure
        Device* dev = deviceAt(*c, addr);
        if (!dev || !dev->present) return RC_NO_OBJECT;
        if (dev->type != DEVTYPE_ENCLOSURE) return RC_NOT_SUPPORTED;
        dev->identify = start;
        return RC_OK;
    }
    }
    return RC_BAD_PARAMETER;
}

OpResult MonitorRaidStatistics(_STORAGE_ADDRESS_ID addr, int enable) {
    unused(enable);
    CONTROLLER(addr)
    return RC_OK;
}

OpResult GetRaidStatistics(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen) {
    unused(buffer, bufferLen);
    CONTROLLER(addr)
    returnedLen = 0;
    return RC_OK;
}

OpResult GetVirtDevStatistics(_STORAGE_ADDRESS_ID addr, _VIRTUAL_DEVICE_STATISTICS& stats) {
    DRIVE(addr)
    zero(stats);
    return RC_OK;
}

// ---------------------------------------------------------------- SubSysCmnd
// The simulated controllers have no external subsystems.

OpResult IsSubSystemPresent(int& present) {
    present = 0;
    return RC_OK;
}

int GetSubSysIntfVersion(_STORAGE_VERSION& v) {
    putInterfaceVersion(v);
    return RC_OK;
}

OpResult GetSubSystemConfig(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen) {
    unused(buffer, bufferLen);
    CONTROLLER(addr)
    returnedLen = 0;
    return RC_NO_OBJECT;
}

OpResult SetSubSystemConfig(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen) {
    logBytes(&Call::written, buffer, bufferLen);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult ExecuteSubSystemDiagnostics(_STORAGE_ADDRESS_ID addr, uint32_t test, uint32_t option) {
    unused(test, option);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult SupportedSubSystemCount(_STORAGE_ADDRESS_ID addr, uint16_t& count, _STORAGE_ADDRESS_ID* list,
                                 uint32_t listSize) {
    unused(addr);
    return answerList({}, count, list, listSize);
}

OpResult SubSystemStatus(_STORAGE_ADDRESS_ID addr, _SUBSYSTEM_STATUS& status) {
    unused(status);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult SubSystemInfo(_STORAGE_ADDRESS_ID addr, _SUBSYSTEM_INFO& info) {
    unused(info);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult LoopInfo(_STORAGE_ADDRESS_ID addr, _LOOP_INFO& info) {
    unused(info);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult UpdateSubSystemBios(_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen) {
    logBytes(&Call::written, image, imageLen);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult UpdateSubSystemFirmWare(_STORAGE_ADDRESS_ID addr, void* image, uint32_t imageLen) {
    logBytes(&Call::written, image, imageLen);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult GetSubSystemEventLog(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint8_t logCode,
                              uint32_t& returnedLen) {
    unused(buffer, bufferLen, logCode);
    CONTROLLER(addr)
    returnedLen = 0;
    return RC_NO_OBJECT;
}

OpResult EraseSubSystemEventLog(_STORAGE_ADDRESS_ID addr, uint8_t logCode) {
    unused(logCode);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult ExecSubSystemCmnd(_STORAGE_ADDRESS_ID addr, uint8_t* cmnd, uint32_t cmndLen, uint32_t& readXfer,
                           uint32_t& writeXfer, uint32_t& senseXfer, void* readBuf, uint32_t readLen,
                           void* writeBuf, uint32_t writeLen, void* senseBuf, uint32_t senseLen, uint32_t timeout,
                           uint32_t flags, int readFlag, int senseFlag) {
    unused(readBuf, readLen, senseBuf, senseLen, timeout, flags, readFlag, senseFlag);
    logBytes(&Call::command, cmnd, cmndLen);
    logBytes(&Call::written, writeBuf, writeLen);
    CONTROLLER(addr)
    readXfer = writeXfer = senseXfer = 0;
    return RC_NO_OBJECT;
}

OpResult SubSystemDeviceType(_STORAGE_ADDRESS_ID addr, uint16_t& type) {
    unused(type);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult SubSystemDeviceCapacity(_STORAGE_ADDRESS_ID addr, _DEVICE_SIZE& size) {
    unused(size);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult SubSystemDeviceInfo(_STORAGE_ADDRESS_ID addr, _DEVICE_INFO& info) {
    unused(info);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult MonitorSubSystemStatistics(_STORAGE_ADDRESS_ID addr, int enable) {
    unused(enable);
    CONTROLLER(addr)
    return RC_NO_OBJECT;
}

OpResult GetSubSystemStatistics(_STORAGE_ADDRESS_ID addr, void* buffer, uint32_t bufferLen, uint32_t& returnedLen) {
    unused(buffer, bufferLen);
    CONTROLLER(addr)
    returnedLen = 0;
    return RC_NO_OBJECT;
}

} // namespace ops
} // namespace tarnellsim
