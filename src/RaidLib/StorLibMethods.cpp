// The management operations of StorLibPlugin: one shared dispatch, then one
// row per operation naming its trace scope, the classes it accepts in the
// order they are tested, and the call made on the object.

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "RaidModel/Interface/System.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

const char* const pInvalidObjectString = "addrIN identified invalid object type";

// One class that an operation accepts: the name the object is tested
// against and the call made on an object that passes.
template <class T, class Call>
struct Accept {
    const char* className;
    Call call;
};

template <class T, class Call>
Accept<T, Call> accept(const char* className, Call call)
{
    return Accept<T, Call>{className, call};
}

// The object as a T when it passes the class test by name; null otherwise.
// The name decides; the cast only keeps an object that claims a class it
// is not from away from that class's operations.
template <class T>
T* instanceOf(RaidObject* object, const char* className)
{
    return object->isInstanceOf(className) ? dynamic_cast<T*>(object) : nullptr;
}

bool callFirst(RaidObject*, Ret&) { return false; }

// Tests the accepted classes in order; the first that passes makes its call
// and its result becomes the result. False when none passes.
template <class T, class Call, class... Rest>
bool callFirst(RaidObject* object, Ret& ret, const Accept<T, Call>& first, const Rest&... rest)
{
    if (T* target = instanceOf<T>(object, first.className)) {
        ret = first.call(*target);
        return true;
    }
    return callFirst(object, ret, rest...);
}

void reportBadParameter(EnumStorLibType type, Ret& ret, const char* what)
{
    ret.setBadParam(0);
    StorErrorPrintf(type, __FILE__, __LINE__, "*** Bad Parameter: %s, paramValue=%d ***", what, 0);
}

void reportResourceError(EnumStorLibType type, Ret& ret, const char* what)
{
    ret.setResource();
    StorErrorPrintf(type, __FILE__, __LINE__, "*** Resource Error: %s ***", what);
}

// Opens the operation's trace scope and runs body with a result that
// starts as code 0; a failed allocation becomes code -3, any other
// exception code -13.
template <class Body>
Ret guarded(EnumStorLibType type, STORDBG_FLAG_T flags, const char* traceName, Body body)
{
    StorDebugTracer tracer(type, flags, traceName);
    Ret ret(0);
    try {
        body(ret);
    } catch (...) {
        StorLib::setCaughtResult(type, ret, __FILE__, __LINE__);
    }
    return ret;
}

// The object at the address anywhere in the current tree; null, with the
// code and entry, when there is no current system or no such object.
RaidObject* findObject(const StorLib& lib, const Addr& addrIN, Ret& ret)
{
    System* system = lib.getSystem();
    if (!system) {
        ret.setBadParam(0);
        StorErrorPrintf(lib.getStorLibType(), __FILE__, __LINE__, "*** Bad Parameter: curSystem==NULL ***");
        return nullptr;
    }
    RaidObject* object = system->findChild(addrIN);
    if (!object) {
        ret.setObjectNotFound();
        StorErrorPrintf(lib.getStorLibType(), __FILE__, __LINE__, "*** Object Not Found ***");
    }
    return object;
}

// The object as one of the accepted classes; null, with the invalid-type
// code and entry, when it is none of them.
template <class T>
T* asClass(EnumStorLibType type, RaidObject* object, const char* className, Ret& ret)
{
    T* target = instanceOf<T>(object, className);
    if (!target)
        reportBadParameter(type, ret, pInvalidObjectString);
    return target;
}

// The shared dispatch: scope, current system, lookup, class tests, call.
template <class... Cases>
Ret dispatch(const StorLib& lib, STORDBG_FLAG_T flags, const char* traceName, const Addr& addrIN,
             const Cases&... cases)
{
    return guarded(lib.getStorLibType(), flags, traceName, [&](Ret& ret) {
        RaidObject* object = findObject(lib, addrIN, ret);
        if (object && !callFirst(object, ret, cases...))
            reportBadParameter(lib.getStorLibType(), ret, pInvalidObjectString);
    });
}

template <class... Cases>
Ret dispatch(const StorLib& lib, const char* traceName, const Addr& addrIN, const Cases&... cases)
{
    return dispatch(lib, STOR_DEBUG_TRACE, traceName, addrIN, cases...);
}

// A new[] buffer of n bytes; null when it cannot be had.
char* newBuffer(size_t n) { return new (std::nothrow) char[n]; }

// The hard-drive task that a task type starts; false for a type without one.
bool hardDriveTaskOf(EnumTaskType taskIN, EnumHardDriveTask& taskOUT)
{
    switch (taskIN) {
    case TASK_VERIFY:
        taskOUT = HD_TASK_VERIFY_FIX;
        return true;
    case TASK_CLEAR:
        taskOUT = HD_TASK_CLEAR;
        return true;
    case TASK_VERIFY_NO_FIX:
        taskOUT = HD_TASK_VERIFY;
        return true;
    case TASK_SECURE_ERASE:
        taskOUT = HD_TASK_SECURE_ERASE;
        return true;
    default:
        return false;
    }
}

} // namespace

Ret StorLibPlugin::createLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN)
{
    return dispatch(*this, "StorLib::createLogicalDrive()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.createLogicalDrive(specIN); }));
}

// The class test comes before the test of the out-pointer; a failing
// adapter leaves the target as it was.
Ret StorLibPlugin::getEvents(const Addr& addrIN, unsigned long startEventNumberIN, char** xmlINOUT)
{
    return guarded(storlibType, STOR_DEBUG_TRACE, "StorLib::getEvents(char**)", [&](Ret& ret) {
        RaidObject* object = findObject(*this, addrIN, ret);
        if (!object)
            return;
        Adapter* adapter = asClass<Adapter>(storlibType, object, "Adapter", ret);
        if (!adapter)
            return;
        if (!xmlINOUT) {
            reportBadParameter(storlibType, ret, "xmlINOUT == NULL");
            return;
        }
        std::string xmlEvents;
        ret = adapter->getEvents(startEventNumberIN, xmlEvents);
        if (ret.getReturn() != Ret::SUCCESS)
            return;
        char* pBuffer = newBuffer(xmlEvents.size() + 4);
        if (!pBuffer) {
            reportResourceError(storlibType, ret, "pBuffer = new char[xmlEvents.size()+4]");
            return;
        }
        std::memcpy(pBuffer, xmlEvents.c_str(), xmlEvents.size() + 1);
        delete[] *xmlINOUT;
        *xmlINOUT = pBuffer;
    });
}

Ret StorLibPlugin::getEvents(const Addr& addrIN, unsigned long startEventNumberIN,
                             std::vector<GenericRecord>& eventsINOUT)
{
    return dispatch(*this,
                    "StorLib::getEvents(const ADDR_T& addr, ULONG startEventNumberIN, "
                    "vector<GENERIC_RECORD>& eventsINOUT)",
                    addrIN, accept<Adapter>("Adapter", [&](Adapter& a) {
                        return a.getEvents(startEventNumberIN, eventsINOUT);
                    }));
}

Ret StorLibPlugin::getEvents(const Addr& addrIN, StorEventCollection& eventsINOUT)
{
    return dispatch(*this, STOR_DEBUG_TRACE_LEVEL2, "StorLib::getEvents(StorEventCollection &)", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.getEvents(eventsINOUT); }));
}

Ret StorLibPlugin::setAlarmState(const Addr& addrIN, EnumAlarmState alarmStateIN)
{
    return dispatch(
        *this, "StorLib::setAlarmState()", addrIN,
        accept<Adapter>("Adapter", [&](Adapter& a) { return a.setAlarmState(alarmStateIN); }),
        accept<Enclosure>("Enclosure", [&](Enclosure& e) { return e.setAlarmState(alarmStateIN); }),
        accept<SES2EnclosureDevice>("SES2EnclosureDevice",
                                    [&](SES2EnclosureDevice& e) { return e.setAlarmState(alarmStateIN); }));
}

Ret StorLibPlugin::getAlarmState(const Addr& addrIN, EnumAlarmState& alarmStateOUT)
{
    return dispatch(*this, "StorLib::getAlarmState()", addrIN, accept<Adapter>("Adapter", [&](Adapter& a) {
                        alarmStateOUT = a.getAlarmState();
                        return Ret(0);
                    }));
}

// The source is not passed on: the controller takes the buffer as it is.
Ret StorLibPlugin::setControllerConfiguration(const Addr& addrIN, EnumConfigurationSource, const Buffer& bufferIN)
{
    return dispatch(*this, "StorLib::setControllerConfiguration()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setConfiguration(bufferIN); }));
}

Ret StorLibPlugin::getControllerConfiguration(const Addr& addrIN, Buffer& bufferOUT)
{
    return dispatch(*this, "StorLib::getControllerConfiguration()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.getConfiguration(bufferOUT); }));
}

// The out-pointers are tested after the lookup and before the class test.
Ret StorLibPlugin::getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char** pBufferOUT,
                                    unsigned long* buffSizeOUT)
{
    return guarded(storlibType, STOR_DEBUG_TRACE, "StorLib::getControllerLog(char **)", [&](Ret& ret) {
        RaidObject* object = findObject(*this, addrIN, ret);
        if (!object)
            return;
        if (!pBufferOUT) {
            reportBadParameter(storlibType, ret, "pBufferOUT==NULL");
            return;
        }
        if (!buffSizeOUT) {
            reportBadParameter(storlibType, ret, "buffSizeOUT==NULL");
            return;
        }
        Adapter* adapter = asClass<Adapter>(storlibType, object, "Adapter", ret);
        if (!adapter)
            return;
        std::unique_ptr<char[]> pBuffer(newBuffer(CONTROLLER_LOG_BUFFER_SIZE));
        if (!pBuffer) {
            reportResourceError(storlibType, ret, "pBuffer = new char[buffSize]");
            return;
        }
        pBuffer[0] = '\0';
        unsigned long buffSize = CONTROLLER_LOG_BUFFER_SIZE;
        ret = adapter->getControllerLog(logTypeIN, pBuffer.get(), buffSize);
        delete[] *pBufferOUT;
        if (ret.getReturn() == Ret::SUCCESS) {
            *pBufferOUT = pBuffer.release();
            *buffSizeOUT = buffSize;
        } else {
            *pBufferOUT = nullptr;
            *buffSizeOUT = 0;
        }
    });
}

Ret StorLibPlugin::getControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN, char* pBufferOUT,
                                    unsigned long& buffSizeINOUT)
{
    return dispatch(*this, "StorLib::getControllerLog(char *)", addrIN, accept<Adapter>("Adapter", [&](Adapter& a) {
                        return a.getControllerLog(logTypeIN, pBufferOUT, buffSizeINOUT);
                    }));
}

Ret StorLibPlugin::clearControllerLog(const Addr& addrIN, EnumLogTypeRequest logTypeIN)
{
    return dispatch(*this, "StorLib::clearControllerLog()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.clearControllerLog(logTypeIN); }));
}

Ret StorLibPlugin::setDataScrubActive(const Addr& addrIN, bool bActiveIN)
{
    return dispatch(*this, "StorLib::setDataScrubActive()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setDataScrubActive(bActiveIN); }));
}

Ret StorLibPlugin::setDataScrubRate(const Addr& addrIN, EnumPriorityLevel priorityIN)
{
    return dispatch(*this, "StorLib::setDataScrubRate()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setDataScrubRate(priorityIN); }));
}

Ret StorLibPlugin::setDataScrubRate(const Addr& addrIN, unsigned long daysIN)
{
    return dispatch(*this, "StorLib::setDataScrubRate()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setDataScrubRate(daysIN); }));
}

Ret StorLibPlugin::pauseResumeIO(const Addr& addrIN, unsigned long timeoutIN)
{
    return dispatch(*this, "StorLib::pauseResumeIO()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.pauseResumeIO(timeoutIN); }));
}

// The controller always receives false, whatever the caller asks.
Ret StorLibPlugin::upgradeControllerFirmware(const Addr& addrIN, const char* pBaseFilename, bool)
{
    return dispatch(*this, "StorLib::upgradeControllerFirmware()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) {
                        return a.upgradeControllerFirmware(pBaseFilename, false);
                    }));
}

Ret StorLibPlugin::isControllerPaused(const Addr& addrIN, bool& bPausedOUT)
{
    return dispatch(*this, "StorLib::isControllerPaused()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.isPaused(bPausedOUT); }));
}

Ret StorLibPlugin::setControllerPhysicalDriveCache(const Addr& addrIN, EnumHardDriveCacheMode sataHDCacheModeIN,
                                                   EnumHardDriveCacheMode sasHDCacheModeIN)
{
    return dispatch(*this, "StorLib::setControllerPhysicalDriveCache()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) {
                        return a.setPhysicalDriveCache(sataHDCacheModeIN, sasHDCacheModeIN);
                    }));
}

Ret StorLibPlugin::setLogicalDriveName(const Addr& addrIN, const char* nameIN)
{
    return dispatch(*this, "StorLib::setLogicalDriveName()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.setName(nameIN); }));
}

Ret StorLibPlugin::setLogicalDriveCache(const Addr& addrIN, EnumLogicalDriveCacheMode readCacheSettingIN,
                                        EnumLogicalDriveCacheMode writeCacheSettingIN)
{
    return dispatch(*this, "StorLib::setLogicalDriveCache()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        return ld.setCache(readCacheSettingIN, writeCacheSettingIN);
                    }));
}

// A task type without a meaning for the class starts nothing and gives -1,
// on a logical drive as on a hard drive.
Ret StorLibPlugin::startTask(const Addr& addrIN, EnumTaskType taskIN)
{
    return dispatch(*this, "StorLib::startTask()", addrIN,
                    accept<HardDrive>("HardDrive",
                                      [&](HardDrive& d) {
                                          EnumHardDriveTask task;
                                          if (!hardDriveTaskOf(taskIN, task))
                                              return Ret(Ret::NOT_SUPPORTED);
                                          return d.startTask(task);
                                      }),
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        switch (taskIN) {
                        case TASK_VERIFY_NO_FIX:
                            return ld.verify();
                        case TASK_VERIFY:
                            return ld.synchronize();
                        case TASK_CLEAR:
                            return ld.initializeLogicalDrive(INIT_CLEAR, TASK_PRIORITY_HIGH);
                        default:
                            return Ret(Ret::NOT_SUPPORTED);
                        }
                    }));
}

Ret StorLibPlugin::setPhysicalDriveCache(const Addr& addrIN, EnumHardDriveCacheMode modeIN)
{
    return dispatch(*this, "StorLib::setPhysicalDriveCache()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) {
                        return d.setWriteCacheEnable(modeIN == HARD_DRIVE_CACHE_MODE_WRITE_BACK);
                    }));
}

Ret StorLibPlugin::synchronizeLogicalDrive(const Addr& addrIN, bool bSynchronizeIN)
{
    return dispatch(*this, "StorLib::synchronizeLogicalDrive()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        return bSynchronizeIN ? ld.synchronize() : ld.verify();
                    }));
}

Ret StorLibPlugin::initializeLogicalDrive(const Addr& addrIN, EnumInitMethod methodIN, EnumPriorityLevel priorityIN)
{
    return dispatch(*this, "StorLib::initializeLogicalDrive()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        return ld.initializeLogicalDrive(methodIN, priorityIN);
                    }));
}

Ret StorLibPlugin::deleteLogicalDrive(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::deleteLogicalDrive()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.deleteLogicalDrive(); }));
}

Ret StorLibPlugin::deleteArray(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::deleteArray()", addrIN,
                    accept<Array>("Array", [&](Array& a) { return a.deleteArray(); }));
}

Ret StorLibPlugin::setStripeSize(const Addr& addrIN, EnumStripeSize stripeSizeIN)
{
    return dispatch(*this, "StorLib::setStripeSize()", addrIN,
                    accept<LogicalDrive>("LogicalDrive",
                                         [&](LogicalDrive& ld) { return ld.setStripeSize(stripeSizeIN); }));
}

Ret StorLibPlugin::increaseLogicalDriveSize(const Addr& addrIN, const std::vector<ChunkSpec>& chunksIN,
                                            EnumPriorityLevel priorityIN)
{
    return dispatch(*this, "StorLib::increaseLogicalDriveSize()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        return ld.increaseSize(chunksIN, priorityIN);
                    }));
}

Ret StorLibPlugin::modifyLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN)
{
    return dispatch(*this, "StorLib::modifyLogicalDrive()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.modify(specIN); }));
}

Ret StorLibPlugin::setLogicalDriveBootable(const Addr& addrIN, bool bootableIN)
{
    return dispatch(*this, "StorLib::setLogicalDriveBootable()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.setBootable(bootableIN); }));
}

Ret StorLibPlugin::setLogicalDriveState(const Addr& addrIN, EnumLogicalDeviceState stateIN)
{
    return dispatch(*this, "StorLib::setLogicalDriveState()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.setState(stateIN); }));
}

Ret StorLibPlugin::setDeviceState(const Addr& addrIN, EnumPhysicalDeviceState stateIN)
{
    return dispatch(*this, "StorLib::setDeviceState()", addrIN,
                    accept<PhysicalDevice>("PhysicalDevice", [&](PhysicalDevice& d) { return d.setState(stateIN); }));
}

Ret StorLibPlugin::createGlobalHotSpare(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::createGlobalHotSpare()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.createGlobalHotSpare(); }));
}

Ret StorLibPlugin::createCandidateHotSpare(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::createCandidateHotSpare()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.createCandidateHotSpare(); }));
}

Ret StorLibPlugin::createAssignedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
{
    return dispatch(*this, "StorLib::createAssignedHotSpare()", addrIN,
                    accept<HardDrive>("HardDrive",
                                      [&](HardDrive& d) { return d.createAssignedHotSpare(logicalDrivesIN); }));
}

Ret StorLibPlugin::deleteHotSpare(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::deleteHotSpare()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.deleteHotSpare(); }));
}

Ret StorLibPlugin::deleteAssignedHotSpare(const Addr& addrIN, const AddrCollection& logicalDrivesIN)
{
    return dispatch(*this, "StorLib::deleteAssignedHotSpare()", addrIN,
                    accept<HardDrive>("HardDrive",
                                      [&](HardDrive& d) { return d.deleteAssignedHotSpare(logicalDrivesIN); }));
}

// A controller is not identified through this operation.
Ret StorLibPlugin::identifyDevice(const Addr& addrIN, EnumIdentifyOption optionIN)
{
    const bool start = optionIN == IDENTIFY_START;
    return dispatch(*this, "StorLib::identifyDevice()", addrIN,
                    accept<PhysicalDevice>("PhysicalDevice",
                                           [&](PhysicalDevice& d) { return d.identifyDevice(start); }),
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.identifyDevice(start); }),
                    accept<Channel>("Channel", [&](Channel& c) { return c.identifyDevice(start); }));
}

Ret StorLibPlugin::initializeHardDrive(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::initializeHardDrive()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.initializeHardDrive(); }));
}

Ret StorLibPlugin::scsiPassThruCommand(const Addr& addrIN, SCSICommand& commandINOUT)
{
    return dispatch(*this, "StorLib::scsiPassThruCommand()", addrIN,
                    accept<PhysicalDevice>("PhysicalDevice",
                                           [&](PhysicalDevice& d) { return d.scsiPassThruCommand(commandINOUT); }));
}

Ret StorLibPlugin::downHardDrive(const Addr& addrIN, bool bForceIN)
{
    return dispatch(*this, "StorLib::downHardDrive()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.downHardDrive(bForceIN); }));
}

Ret StorLibPlugin::syncRescan(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::syncRescan()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.scanForDrives(false); }));
}

Ret StorLibPlugin::asyncRescan(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::asyncRescan()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.scanForDrives(true); }));
}

// All checks are those of the collection call (a family's override of it
// included); the document is handed out whatever that call answers. A null
// out-pointer is refused before anything is asked.
Ret StorLibPlugin::getTasks(const Addr& addrIN, char** xmlINOUT)
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE, "StorLib::getTasks(char**)");
    Ret ret(0);
    char* pXml = nullptr;
    try {
        if (!xmlINOUT) {
            reportBadParameter(storlibType, ret, "xmlINOUT == NULL");
            return ret;
        }
        ProgressCollection tasks;
        {
            XMLWriter writer(&pXml);
            writer.writeRawString("<ProgressCollection>\n");
            ret = getTasks(addrIN, tasks);
            if (ret.getReturn() == Ret::SUCCESS && tasks.getSize() > 0)
                tasks.writeTo(&writer);
            writer.writeRawString("\n</ProgressCollection>");
        }
        delete[] *xmlINOUT;
        *xmlINOUT = pXml;
    } catch (...) {
        delete[] pXml;
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}

Ret StorLibPlugin::getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT)
{
    return dispatch(*this, "StorLib::getTasks(ProgressCollection &)", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.getProgress(tasksINOUT); }),
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.getProgress(tasksINOUT); }),
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.getProgress(tasksINOUT); }));
}

Ret StorLibPlugin::setTaskPriority(const Addr& addrIN, unsigned long taskIDIN, EnumPriorityLevel priorityIN)
{
    return dispatch(*this, "StorLib::setTaskPriority()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setTaskPriority(taskIDIN, priorityIN); }));
}

Ret StorLibPlugin::abortTask(const Addr& addrIN, unsigned long taskIDIN)
{
    return dispatch(*this, "StorLib::abortTask()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.abortTask(taskIDIN); }));
}

Ret StorLibPlugin::testAllSpares(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::testAllSpares()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.testAllSpares(); }));
}

// On a controller every device is asked, even after a failure; the answer
// is the last record that differs in any field from a plain success. Any
// other class is refused like an address of the wrong class elsewhere.
Ret StorLibPlugin::setITNexusLossTime(const Addr& addrIN, unsigned short timeIN)
{
    return dispatch(*this, "StorLib::setITNexusLossTime()", addrIN,
                    accept<PhysicalDevice>("PhysicalDevice",
                                           [&](PhysicalDevice& d) { return d.setITNexusLossTime(timeIN); }),
                    accept<Adapter>("Adapter", [&](Adapter& a) {
                        Ret ret(0);
                        for (uint32_t i = 0; PhysicalDevice* d = a.getPhysicalDevice(i); ++i) {
                            Ret deviceRet = d->setITNexusLossTime(timeIN);
                            if (deviceRet != Ret(0))
                                ret = deviceRet;
                        }
                        return ret;
                    }));
}

Ret StorLibPlugin::createSnapshot(const Addr& addrIN, const Addr& targetAddrIN, bool bBackupIN)
{
    return dispatch(*this, "StorLib::createSnapshot()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) {
                        return ld.createSnapshot(targetAddrIN, bBackupIN);
                    }));
}

Ret StorLibPlugin::removeSnapshot(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::removeSnapshot()", addrIN,
                    accept<LogicalDrive>("LogicalDrive", [&](LogicalDrive& ld) { return ld.removeSnapshot(); }));
}

Ret StorLibPlugin::setCopyBack(const Addr& addrIN, bool bEnabledIN)
{
    return dispatch(*this, "StorLib::setCopyBack()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.setCopyBack(bEnabledIN); }));
}

Ret StorLibPlugin::startDiskDiagnostic(const Addr& addrIN, EnumDiskDiagType typeIN)
{
    return dispatch(*this, "StorLib::startDiskDiagnostic()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.startDiskDiagnostic(typeIN); }));
}

Ret StorLibPlugin::abortDiskDiagnostic(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::abortDiskDiagnostic()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.abortDiskDiagnostic(); }));
}

Ret StorLibPlugin::getDiskDiagnosticProgress(const Addr& addrIN, DISK_DIAGNOSTIC_STATE& stateOUT)
{
    return dispatch(*this, "StorLib::getDiskDiagnosticProgress()", addrIN,
                    accept<HardDrive>("HardDrive",
                                      [&](HardDrive& d) { return d.getDiskDiagnosticProgress(stateOUT); }));
}

Ret StorLibPlugin::getDiskDiagnosticResults(const Addr& addrIN, DISK_DIAGNOSTIC_STATE& stateOUT)
{
    return dispatch(*this, "StorLib::getDiskDiagnosticResults()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.getDiskDiagnosticResults(stateOUT); }));
}

Ret StorLibPlugin::startControllerDiagnostic(const Addr& addrIN, EnumAdapterDiagType typeIN)
{
    return dispatch(*this, "StorLib::startControllerDiagnostic()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.startControllerDiagnostic(typeIN); }));
}

Ret StorLibPlugin::startBatteryCalibration(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::startBatteryCalibration()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.startBatteryCalibration(); }));
}

Ret StorLibPlugin::startHardDriveTask(const Addr& addrIN, EnumHardDriveTask taskIN)
{
    return dispatch(*this, "StorLib::startHardDriveTask()", addrIN,
                    accept<HardDrive>("HardDrive", [&](HardDrive& d) { return d.startTask(taskIN); }));
}

Ret StorLibPlugin::clearPPITable(const Addr& addrIN)
{
    return dispatch(*this, "StorLib::clearPPITable()", addrIN,
                    accept<Adapter>("Adapter", [&](Adapter& a) { return a.clearPPITable(); }));
}
