#ifndef TESTS_RAIDLIB_STORLIBTESTFAMILY_H
#define TESTS_RAIDLIB_STORLIBTESTFAMILY_H

// A small controller family for the storage library tests: a library whose
// system builds a fixed tree of model objects that record every operation
// they are asked, with its arguments, and answer what the test scripted.

#include <deque>
#include <map>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "RaidLib/StorLibPlugin.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/OtherDevice.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "RaidModel/Interface/System.h"

namespace storlibtest {

// What the family was asked and what it answers. One per process; each test
// starts from reset().
struct Script {
    // "Class::operation(arguments)" of every model operation, in order.
    std::vector<std::string> calls;
    // Names under which reference arguments are recorded, by address.
    std::map<const void*, std::string> names;
    // The answer of every model operation, taken from answers first.
    Ret answer;
    std::deque<Ret> answers;
    // Model operations throw instead of answering.
    bool raise = false;

    // The system's build: its recorded outcome, whether it throws, whether
    // newSystem gives no system at all, and whether the tree stays empty.
    Ret buildResult;
    bool buildRaises = false;
    bool noSystem = false;
    bool emptyTree = false;
    int builds = 0;

    // The adapter's event text and the size its controller log reports.
    std::string eventText = "<RaidEvent/>";
    unsigned long logSizeAnswer = 3;
    // What the adapter's controller-log call was given.
    unsigned long logSizeSeen = 0;

    void reset() { *this = Script(); }

    template <class... Args>
    Ret record(const char* operation, const Args&... args)
    {
        const std::vector<std::string> parts{text(args)...};
        std::string call = std::string(operation) + "(";
        for (size_t i = 0; i < parts.size(); ++i)
            call += (i ? "," : "") + parts[i];
        calls.push_back(call + ")");
        if (raise)
            throw std::runtime_error("scripted failure");
        if (!answers.empty()) {
            Ret r = answers.front();
            answers.pop_front();
            return r;
        }
        return answer;
    }

    template <class T>
    std::string text(const T& value) const
    {
        if constexpr (std::is_same<T, bool>::value) {
            return value ? "true" : "false";
        } else if constexpr (std::is_integral<T>::value || std::is_enum<T>::value) {
            return std::to_string(static_cast<long long>(value));
        } else if constexpr (std::is_same<T, const char*>::value) {
            return value ? value : "null";
        } else if constexpr (std::is_same<T, std::string>::value) {
            return "\"" + value + "\"";
        } else if constexpr (std::is_pointer<T>::value) {
            return nameOf(value);
        } else {
            return nameOf(&value);
        }
    }

    std::string nameOf(const void* p) const
    {
        auto it = names.find(p);
        return it == names.end() ? "?" : it->second;
    }
};

inline Script& script()
{
    static Script s;
    return s;
}

// The operations that every physical device of the family records.
template <class Base>
class ScriptedDevice : public Base {
public:
    using Base::Base;
    Ret setState(EnumPhysicalDeviceState stateIN) override
    {
        return script().record("PhysicalDevice::setState", stateIN);
    }
    Ret setITNexusLossTime(unsigned short timeIN) override
    {
        return script().record("PhysicalDevice::setITNexusLossTime", timeIN);
    }
    Ret scsiPassThruCommand(SCSICommand& command) override
    {
        return script().record("PhysicalDevice::scsiPassThruCommand", command);
    }
    Ret identifyDevice(bool on) override { return script().record("PhysicalDevice::identifyDevice", on); }
};

class ScriptedAdapter : public Adapter {
public:
    explicit ScriptedAdapter(unsigned long adapterIDIN)
        : Adapter(ADAPTER_TYPE, adapterIDIN, CONTROLLER_STATUS_WORKING, nullptr, nullptr, nullptr, 0, false, 0, 0, 0,
                  0, 0, 0, 0)
    {
        alarmState = ALARM_QUIET;
    }
    static const int ADAPTER_TYPE = 5;

    using Adapter::getEvents;
    using Adapter::getProgress;
    Ret createLogicalDrive(const LogicalDriveSpec& specIN) override
    {
        return script().record("Adapter::createLogicalDrive", specIN);
    }
    Ret getEvents(unsigned long startEventNumberIN, std::string& xmlEvents) override
    {
        Ret r = script().record("Adapter::getEvents", startEventNumberIN, xmlEvents);
        xmlEvents = script().eventText;
        return r;
    }
    Ret getEvents(unsigned long startEventNumberIN, std::vector<GenericRecord>& eventsINOUT) override
    {
        return script().record("Adapter::getEvents", startEventNumberIN, eventsINOUT);
    }
    Ret getEvents(StorEventCollection& eventList) override
    {
        return script().record("Adapter::getEvents", eventList);
    }
    Ret setAlarmState(EnumAlarmState alarmStateIN) override
    {
        return script().record("Adapter::setAlarmState", alarmStateIN);
    }
    Ret setConfiguration(const Buffer& bufferIN) override
    {
        return script().record("Adapter::setConfiguration", bufferIN);
    }
    Ret getConfiguration(Buffer& bufferOUT) override { return script().record("Adapter::getConfiguration", bufferOUT); }
    // Fills the whole buffer it is given, then reports the scripted size.
    Ret getControllerLog(EnumLogTypeRequest logTypeIN, char* pBufferOUT, unsigned long& buffSizeINOUT) override
    {
        Ret r = script().record("Adapter::getControllerLog", logTypeIN, static_cast<const void*>(pBufferOUT),
                                buffSizeINOUT);
        script().logSizeSeen = buffSizeINOUT;
        for (unsigned long i = 0; i < buffSizeINOUT; ++i)
            pBufferOUT[i] = 'L';
        if (buffSizeINOUT > 0)
            pBufferOUT[buffSizeINOUT - 1] = '\0';
        buffSizeINOUT = script().logSizeAnswer;
        return r;
    }
    Ret clearControllerLog(EnumLogTypeRequest logTypeIN) override
    {
        return script().record("Adapter::clearControllerLog", logTypeIN);
    }
    Ret setDataScrubActive(bool bActiveIN) override
    {
        return script().record("Adapter::setDataScrubActive", bActiveIN);
    }
    Ret setDataScrubRate(EnumPriorityLevel priorityIN) override
    {
        return script().record("Adapter::setDataScrubRate/priority", priorityIN);
    }
    Ret setDataScrubRate(unsigned long daysIN) override
    {
        return script().record("Adapter::setDataScrubRate/days", daysIN);
    }
    Ret pauseResumeIO(unsigned long timeoutIN) override { return script().record("Adapter::pauseResumeIO", timeoutIN); }
    Ret upgradeControllerFirmware(const char* pBaseFilename, bool skip) override
    {
        return script().record("Adapter::upgradeControllerFirmware", pBaseFilename, skip);
    }
    Ret isPaused(bool& bPausedOUT) override
    {
        return script().record("Adapter::isPaused", static_cast<const void*>(&bPausedOUT));
    }
    Ret setPhysicalDriveCache(EnumHardDriveCacheMode sataIN, EnumHardDriveCacheMode sasIN) override
    {
        return script().record("Adapter::setPhysicalDriveCache", sataIN, sasIN);
    }
    Ret scanForDrives(bool asynchronous) override { return script().record("Adapter::scanForDrives", asynchronous); }
    Ret setTaskPriority(unsigned long taskIDIN, EnumPriorityLevel priorityIN) override
    {
        return script().record("Adapter::setTaskPriority", taskIDIN, priorityIN);
    }
    Ret abortTask(unsigned long taskIDIN) override { return script().record("Adapter::abortTask", taskIDIN); }
    Ret testAllSpares() override { return script().record("Adapter::testAllSpares"); }
    Ret setCopyBack(bool bEnabledIN) override { return script().record("Adapter::setCopyBack", bEnabledIN); }
    Ret startControllerDiagnostic(EnumAdapterDiagType typeIN) override
    {
        return script().record("Adapter::startControllerDiagnostic", typeIN);
    }
    Ret startBatteryCalibration() override { return script().record("Adapter::startBatteryCalibration"); }
    Ret clearPPITable() override { return script().record("Adapter::clearPPITable"); }
    // One verify task at 50 percent on success.
    Ret getProgress(ProgressCollection& progList) override
    {
        Ret r = script().record("Adapter::getProgress", progList);
        if (r.getReturn() == 0) {
            Progress p(TASK_VERIFY, 0u, TASK_STATE_IN_PROGRESS, 50u);
            progList.add(p);
        }
        return r;
    }
};

class ScriptedChannel : public Channel {
public:
    ScriptedChannel(Adapter* adapterIN, unsigned long channelIDIN)
        : Channel(adapterIN, channelIDIN, SAS, SPEED_SAS300)
    {
    }
    Ret identifyDevice(bool on) override { return script().record("Channel::identifyDevice", on); }
};

class ScriptedHardDrive : public ScriptedDevice<HardDrive> {
public:
    ScriptedHardDrive(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN)
        : ScriptedDevice<HardDrive>(adapterIN, channelIN, deviceIDIN, 1000000, DRIVE_ONLINE, nullptr, nullptr, nullptr,
                                    nullptr, false, HARD_DRIVE_CACHE_MODE_WRITE_THROUGH, true, true, false, nullptr,
                                    true)
    {
    }
    using HardDrive::createAssignedHotSpare;
    using HardDrive::getProgress;
    Ret setWriteCacheEnable(bool enable) override { return script().record("HardDrive::setWriteCacheEnable", enable); }
    Ret initializeHardDrive() override { return script().record("HardDrive::initializeHardDrive"); }
    Ret downHardDrive(bool option) override { return script().record("HardDrive::downHardDrive", option); }
    Ret startDiskDiagnostic(EnumDiskDiagType typeIN) override
    {
        return script().record("HardDrive::startDiskDiagnostic", typeIN);
    }
    Ret abortDiskDiagnostic() override { return script().record("HardDrive::abortDiskDiagnostic"); }
    Ret getDiskDiagnosticProgress(DISK_DIAGNOSTIC_STATE& stateOUT) override
    {
        return script().record("HardDrive::getDiskDiagnosticProgress", stateOUT);
    }
    Ret getDiskDiagnosticResults(DISK_DIAGNOSTIC_STATE& stateOUT) override
    {
        return script().record("HardDrive::getDiskDiagnosticResults", stateOUT);
    }
    Ret startTask(EnumHardDriveTask taskIN) override { return script().record("HardDrive::startTask", taskIN); }
    Ret getProgress(ProgressCollection& progList) override
    {
        return script().record("HardDrive::getProgress", progList);
    }
    Ret createGlobalHotSpare() override { return script().record("HardDrive::createGlobalHotSpare"); }
    Ret createAssignedHotSpare(const AddrCollection& logicalDrives) override
    {
        return script().record("HardDrive::createAssignedHotSpare", logicalDrives);
    }
    Ret createCandidateHotSpare() override { return script().record("HardDrive::createCandidateHotSpare"); }
    Ret deleteHotSpare() override { return script().record("HardDrive::deleteHotSpare"); }
    Ret deleteAssignedHotSpare(const AddrCollection& logicalDrives) override
    {
        return script().record("HardDrive::deleteAssignedHotSpare", logicalDrives);
    }
};

class ScriptedOtherDevice : public ScriptedDevice<OtherDevice> {
public:
    ScriptedOtherDevice(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN)
        : ScriptedDevice<OtherDevice>(adapterIN, channelIN, deviceIDIN, CD_ROM_DEVICE, nullptr, nullptr, nullptr,
                                      nullptr, nullptr)
    {
    }
};

class ScriptedEnclosure : public ScriptedDevice<Enclosure> {
public:
    ScriptedEnclosure(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN)
        : ScriptedDevice<Enclosure>(adapterIN, channelIN, deviceIDIN, nullptr, nullptr, nullptr, nullptr, DRIVE_ONLINE,
                                    nullptr)
    {
    }
    Ret setAlarmState(EnumAlarmState alarmStateIN) override
    {
        return script().record("Enclosure::setAlarmState", alarmStateIN);
    }
};

class ScriptedSES2Enclosure : public ScriptedDevice<SES2EnclosureDevice> {
public:
    ScriptedSES2Enclosure(Adapter* adapterIN, Channel* channelIN, unsigned long deviceIDIN)
        : ScriptedDevice<SES2EnclosureDevice>(adapterIN, channelIN, deviceIDIN, nullptr, nullptr, nullptr, nullptr,
                                              DRIVE_ONLINE, nullptr)
    {
    }
    Ret setAlarmState(EnumAlarmState alarmStateIN) override
    {
        return script().record("SES2EnclosureDevice::setAlarmState", alarmStateIN);
    }
};

class ScriptedArray : public Array {
public:
    ScriptedArray(Adapter* adapterIN, unsigned long arrayIDIN) : Array(adapterIN, arrayIDIN, 4096, 1024, 1) {}
    Ret deleteArray() override { return script().record("Array::deleteArray"); }
};

class ScriptedLogicalDrive : public LogicalDrive {
public:
    ScriptedLogicalDrive(Adapter* adapterIN, Array* arrayIN, unsigned long logicalDriveIDIN)
        : LogicalDrive(adapterIN, arrayIN, logicalDriveIDIN, OKAY, RAID5, 2048, 1024, false, LD_CACHE_ENABLED, true,
                       false)
    {
    }
    using LogicalDrive::getProgress;
    Ret setName(const char* nameIN) override { return script().record("LogicalDrive::setName", nameIN); }
    Ret setCache(EnumLogicalDriveCacheMode readIN, EnumLogicalDriveCacheMode writeIN) override
    {
        return script().record("LogicalDrive::setCache", readIN, writeIN);
    }
    Ret synchronize() override { return script().record("LogicalDrive::synchronize"); }
    Ret verify() override { return script().record("LogicalDrive::verify"); }
    Ret initializeLogicalDrive(EnumInitMethod methodIN, EnumPriorityLevel priorityIN) override
    {
        return script().record("LogicalDrive::initializeLogicalDrive", methodIN, priorityIN);
    }
    Ret deleteLogicalDrive() override { return script().record("LogicalDrive::deleteLogicalDrive"); }
    Ret setStripeSize(EnumStripeSize stripeSizeIN) override
    {
        return script().record("LogicalDrive::setStripeSize", stripeSizeIN);
    }
    Ret increaseSize(const std::vector<ChunkSpec>& chunksIN, EnumPriorityLevel priorityIN) override
    {
        return script().record("LogicalDrive::increaseSize", chunksIN, priorityIN);
    }
    Ret modify(const LogicalDriveSpec& specIN) override { return script().record("LogicalDrive::modify", specIN); }
    Ret setBootable(bool bootable) override { return script().record("LogicalDrive::setBootable", bootable); }
    Ret setState(EnumLogicalDeviceState stateIN) override { return script().record("LogicalDrive::setState", stateIN); }
    Ret identifyDevice(bool mode) override { return script().record("LogicalDrive::identifyDevice", mode); }
    Ret getProgress(ProgressCollection& progList) override
    {
        return script().record("LogicalDrive::getProgress", progList);
    }
    Ret createSnapshot(const Addr& targetAddrIN, bool bBackupIN) override
    {
        return script().record("LogicalDrive::createSnapshot", targetAddrIN, bBackupIN);
    }
    Ret removeSnapshot() override { return script().record("LogicalDrive::removeSnapshot"); }
};

// The scripted tree: controller 0 with channel 0 (hard drive 0, CD-ROM
// device 1, enclosure 2, SES-2 enclosure device 3) and array 0 with logical
// drive 0.
class ScriptedSystem : public System {
public:
    ScriptedSystem() : System(STORLIB_TARNELL) {}
    using System::buildChildren;
    void buildChildren(StorLib*, Ret& ret) override
    {
        ++script().builds;
        if (!script().emptyTree) {
            auto* adapter = new ScriptedAdapter(0);
            addChild(adapter);
            auto* channel = new ScriptedChannel(adapter, 0);
            adapter->addChild(channel);
            channel->addChild(new ScriptedHardDrive(adapter, channel, 0));
            channel->addChild(new ScriptedOtherDevice(adapter, channel, 1));
            channel->addChild(new ScriptedEnclosure(adapter, channel, 2));
            channel->addChild(new ScriptedSES2Enclosure(adapter, channel, 3));
            auto* array = new ScriptedArray(adapter, 0);
            adapter->addChild(array);
            array->addChild(new ScriptedLogicalDrive(adapter, array, 0));
        }
        if (script().buildRaises)
            throw std::runtime_error("scripted build failure");
        ret = script().buildResult;
    }
    uint32_t getControllerCount(StorLib*, Ret& ret) override
    {
        ret = script().buildResult;
        return static_cast<uint32_t>(getNumAdapters());
    }
};

class ScriptedLib : public StorLibPlugin {
public:
    ScriptedLib() : StorLibPlugin(STORLIB_TARNELL) {}
    System* newSystem() override { return script().noSystem ? nullptr : new ScriptedSystem; }
};

} // namespace storlibtest

#endif
