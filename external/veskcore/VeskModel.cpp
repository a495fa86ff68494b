// The Vesk model objects and the build of a Vesk configuration from the
// simulated controllers.

#include <algorithm>
#include <cstring>
#include <memory>

#include "RaidLib/Util/SCSICommand.h"
#include "RaidLib/Util/SafteConfig.h"
#include "RaidLib/Util/SafteStatus.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "VeskLib.h"
#include "VeskSimInternal.h"

namespace {

bool named(const char* className, const char* name) { return className && std::strcmp(className, name) == 0; }

// The status bytes of a kind of element, at most as many as the record holds.
void copyStatus(unsigned char* out, size_t capacity, const std::vector<uint8_t>& bytes)
{
    std::copy_n(bytes.begin(), std::min(bytes.size(), capacity), out);
}

// The count of a kind of element the configuration reports: the scenario's
// own, or one per status byte; at most as many as the status record holds.
size_t reportedCount(int count, const std::vector<uint8_t>& bytes, size_t capacity)
{
    return std::min<size_t>(count < 0 ? bytes.size() : size_t(count), capacity);
}

} // namespace

// ---------------------------------------------------------------- VeskAdapter

VeskAdapter::VeskAdapter(const vesksim::Controller& c) : RecordAdapter(FENTA, c)
{
    copyText(partNumber, c.partNumber.c_str());
    copyText(batteryFRU, c.batteryFRU.c_str());
    copyText(cardVersion, c.cardVersion.c_str());
    copyText(fruNumber, c.fruNumber.c_str());
}

VeskAdapter::~VeskAdapter() = default;

Ret VeskAdapter::getEvents(unsigned long, std::string& xmlEvents)
{
    if (!vesksim::detail::readEvents(xmlEvents))
        return Ret(Ret::NOT_SUPPORTED);
    return Ret(Ret::SUCCESS);
}

Ret VeskAdapter::startControllerDiagnostic(EnumAdapterDiagType diagTypeIN)
{
    vesksim::DiagnosticCall call;
    call.operation = "startControllerDiagnostic";
    call.controller = getAdapterID();
    call.kind = int(diagTypeIN);
    return Ret(vesksim::detail::diagnose(call));
}

bool VeskAdapter::isInstanceOf(const char* className) const
{
    return named(className, "VeskAdapter") || Adapter::isInstanceOf(className);
}

const char* VeskAdapter::typeName() const { return "VeskAdapter"; }

// ---------------------------------------------------------------- VeskHardDrive

VeskHardDrive::VeskHardDrive(Adapter* adapterIN, Channel* channelIN, const familysim::HardDriveTexts& texts)
    : RecordHardDrive(adapterIN, channelIN, texts)
{
}

VeskHardDrive::~VeskHardDrive() = default;

bool VeskHardDrive::isInstanceOf(const char* className) const
{
    return named(className, "VeskHardDrive") || HardDrive::isInstanceOf(className);
}

const char* VeskHardDrive::typeName() const { return "VeskHardDrive"; }

vesksim::DiagnosticCall VeskHardDrive::call(const char* operation, int kind) const
{
    vesksim::DiagnosticCall c;
    c.operation = operation;
    c.controller = getAdapterID();
    c.channel = getChannelID();
    c.device = getDeviceID();
    c.kind = kind;
    return c;
}

Ret VeskHardDrive::diagnose(const vesksim::DiagnosticCall& c) const { return Ret(vesksim::detail::diagnose(c)); }

Ret VeskHardDrive::scsiPassThruCommand(SCSICommand& command)
{
    vesksim::DiagnosticCall c = call("scsiPassThruCommand", int(command.getDirection()));
    Buffer& cdb = command.getScsiCmd();
    for (uint32_t i = 0; i < cdb.getSize(); i++)
        c.cdb.push_back(cdb.getByte(i));
    c.readSize = command.getReadData().getSize();
    c.writeSize = command.getWriteData().getSize();
    c.senseSize = command.getSenseData().getSize();
    return diagnose(c);
}

Ret VeskHardDrive::startDiskDiagnostic(EnumDiskDiagType typeIN)
{
    return diagnose(call("startDiskDiagnostic", int(typeIN)));
}

Ret VeskHardDrive::abortDiskDiagnostic() { return diagnose(call("abortDiskDiagnostic", 0)); }

namespace {

// A query's answer: the scripted state when the scripted code is 0.
Ret queryState(Ret ret, DISK_DIAGNOSTIC_STATE& stateOUT)
{
    if (ret.getReturn() == Ret::SUCCESS)
        vesksim::detail::diskDiagnosticState(stateOUT.status, stateOUT.tenthsOfAPercent);
    return ret;
}

} // namespace

Ret VeskHardDrive::getDiskDiagnosticProgress(DISK_DIAGNOSTIC_STATE& stateOUT)
{
    return queryState(diagnose(call("getDiskDiagnosticProgress", 0)), stateOUT);
}

Ret VeskHardDrive::getDiskDiagnosticResults(DISK_DIAGNOSTIC_STATE& stateOUT)
{
    return queryState(diagnose(call("getDiskDiagnosticResults", 0)), stateOUT);
}

// ---------------------------------------------------------------- VeskLogicalDrive

VeskLogicalDrive::VeskLogicalDrive(Adapter* adapterIN, Array* arrayIN, const vesksim::LogicalDrive& d)
    : RecordLogicalDrive(adapterIN, arrayIN, d, d.blocks)
{
}

VeskLogicalDrive::~VeskLogicalDrive() = default;

bool VeskLogicalDrive::isInstanceOf(const char* className) const
{
    return named(className, "VeskLogicalDrive") || LogicalDrive::isInstanceOf(className);
}

const char* VeskLogicalDrive::typeName() const { return "VeskLogicalDrive"; }

// ---------------------------------------------------------------- VeskEnclosure

VeskEnclosure::VeskEnclosure(Adapter* adapterIN, Channel* channelIN, const vesksim::SafteEnclosure& e)
    : Enclosure(adapterIN, channelIN, e.target, e.vendor.c_str(), e.model.c_str(), e.serial.c_str(),
                e.firmware.c_str(), DRIVE_READY, e.fru.c_str())
{
    if (!e.safteData)
        return;
    SAFTE_CONFIG page = {};
    page.fanCount = uint8_t(reportedCount(e.fanCount, e.fanStatus, SafteStatus::MAX_FANS));
    page.powerSupplyCount =
        uint8_t(reportedCount(e.powerSupplyCount, e.powerSupplyStatus, SafteStatus::MAX_POWER_SUPPLIES));
    page.slotCount = e.slots;
    page.tempSensorCount = e.tempSensors;
    page.ucThermostat = 0x80; // Celsius
    SafteConfig config;
    config.initFieldsFromData(&page);
    SafteStatus status;
    copyStatus(status.ucFanStatus, SafteStatus::MAX_FANS, e.fanStatus);
    copyStatus(status.ucPowerSupplyStatus, SafteStatus::MAX_POWER_SUPPLIES, e.powerSupplyStatus);
    status.ucTempOutOfRangeFlag1 = e.tempOutOfRange1;
    status.ucTempOutOfRangeFlag2 = e.tempOutOfRange2;
    status.iFanCount = page.fanCount;
    status.iPowerSupplyCount = page.powerSupplyCount;
    status.iSlotCount = page.slotCount;
    status.iTempSensorCount = page.tempSensorCount;
    // The records as children (so the configuration document shows them)
    // and as the enclosure's own copies. An enclosure that cannot be made
    // for want of memory leaves nothing behind: nobody else would delete its
    // children.
    std::unique_ptr<SafteConfig> ownConfig(new SafteConfig(config));
    std::unique_ptr<SafteStatus> ownStatus(new SafteStatus(status));
    try {
        addChild(new SafteConfig(config));
        addChild(new SafteStatus(status));
    } catch (...) {
        deleteAllChildren();
        throw;
    }
    safteConfig = ownConfig.release();
    safteStatus = ownStatus.release();
    safteDataValid = true;
}

VeskEnclosure::~VeskEnclosure() = default;

bool VeskEnclosure::isInstanceOf(const char* className) const
{
    return named(className, "VeskEnclosure") || Enclosure::isInstanceOf(className);
}

const char* VeskEnclosure::typeName() const { return "VeskEnclosure"; }

// ---------------------------------------------------------------- VeskSystem

namespace {

// Adds a device below the channel of its slot; one on a bus the controller
// does not have is dropped.
template <class Device, class Record>
void addDevice(Adapter& adapter, const Record& r, Device* (*make)(Adapter&, Channel&, const Record&))
{
    Channel* channel = familysim::findChannel(adapter, r.channel);
    if (!channel)
        return;
    if (Device* device = make(adapter, *channel, r))
        channel->addChild(device);
}

VeskEnclosure* newEnclosure(Adapter& adapter, Channel& channel, const vesksim::SafteEnclosure& e)
{
    return new VeskEnclosure(&adapter, &channel, e);
}

SES2EnclosureDevice* newSesDevice(Adapter& adapter, Channel& channel, const vesksim::SesDevice& d)
{
    return new SES2EnclosureDevice(&adapter, &channel, d.target, d.vendor.c_str(), d.model.c_str(),
                                   d.serial.c_str(), d.firmware.c_str(), DRIVE_READY, d.fru.c_str());
}

// The adapter of one controller with its whole subtree.
familysim::AdapterTree buildAdapter(const vesksim::Controller& c)
{
    VeskAdapter* vesk = new VeskAdapter(c);
    familysim::AdapterTree adapter(vesk);
    if (!vesk)
        return adapter;
    familysim::addChannelsAndDrives<VeskHardDrive>(*vesk, c);
    for (const vesksim::SafteEnclosure& e : c.enclosures)
        addDevice<VeskEnclosure>(*vesk, e, newEnclosure);
    for (const vesksim::SesDevice& d : c.sesDevices)
        addDevice<SES2EnclosureDevice>(*vesk, d, newSesDevice);
    for (const vesksim::Array& a : c.arrays) {
        Array* array = new Array(vesk, a.number, a.blocks, a.freeBlocks, 1);
        if (!array)
            continue;
        vesk->addChild(array);
        for (const vesksim::LogicalDrive& d : a.logicalDrives) {
            if (VeskLogicalDrive* logical = new VeskLogicalDrive(vesk, array, d)) {
                array->addChild(logical);
                familysim::addChunks(*logical, *vesk, d.chunks);
            }
        }
    }
    return adapter;
}

} // namespace

VeskSystem::VeskSystem() : System(STORLIB_VESK) {}

VeskSystem::~VeskSystem() = default;

bool VeskSystem::isInstanceOf(const char* className) const
{
    return named(className, "VeskSystem") || System::isInstanceOf(className);
}

const char* VeskSystem::typeName() const { return "VeskSystem"; }

void VeskSystem::buildChildren(StorLib*, Ret& ret)
{
    familysim::addAdapters(*this, vesksim::detail::readControllers(), ret, buildAdapter);
}

uint32_t VeskSystem::getControllerCount(StorLib*, Ret&) { return vesksim::detail::controllerCount(); }

// ---------------------------------------------------------------- VeskLib

VeskLib::VeskLib() : StorLibPlugin(STORLIB_VESK) {}

VeskLib::~VeskLib() = default;

void* VeskLib::operator new(std::size_t size) noexcept
{
    if (vesksim::detail::allocationFails())
        return nullptr;
    return ::operator new(size, std::nothrow);
}

void VeskLib::operator delete(void* block) noexcept { ::operator delete(block); }

System* VeskLib::newSystem() { return new VeskSystem; }
