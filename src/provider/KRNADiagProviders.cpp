// The diagnostics providers: the services and their runs, the fixed
// instances and associations, the stored jobs, records and associations.
#include "KRNADiagProviders.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Channel.h"

namespace corvanecimple {

namespace {

const char* const TEST_NAMES[3] = {"TestAdapterInfo", "SelfDriveTest", "TestAdapterTest"};

// A model text of a fixed-size field: at most width characters, "" for null.
std::string field(const char* text, size_t width) { return text ? std::string(text, strnlen(text, width)) : ""; }

// Appends one formatted piece to a record's report, whatever its length.
void appendf(cimple::KRNA_DiagServiceRecord* record, const char* format, ...) __attribute__((format(printf, 2, 3)));
void appendf(cimple::KRNA_DiagServiceRecord* record, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        std::string piece(static_cast<size_t>(n) + 1, '\0');
        vsnprintf(&piece[0], piece.size(), format, args);
        piece.resize(static_cast<size_t>(n));
        record->RecordData.value.append(piece.c_str(), piece.size());
        record->RecordData.null = 0;
    }
    va_end(args);
}

void logf(const char* format, int value)
{
    char line[64];
    snprintf(line, sizeof line, format, value);
    krnaDiagLog(line);
}

// The adapter's KRNA_Device DeviceID: its serial number text.
std::string deviceIdOf(Adapter* adapter) { return field(adapter->getSerialNumString(), Adapter::VERSION_SIZE); }

// The adapters of the test engine whose DeviceID is the one given, in order.
std::vector<Adapter*> matchingAdapters(const cimple::String& deviceID)
{
    std::vector<Adapter*> out;
    for (RaidObject* o : KRNATests::getAdapters()) {
        Adapter* adapter = dynamic_cast<Adapter*>(o);
        if (adapter && deviceIdOf(adapter) == deviceID.str())
            out.push_back(adapter);
    }
    return out;
}

// The hard drives below the adapter, in the engine's order.
std::vector<HardDrive*> drivesOf(Adapter* adapter)
{
    std::vector<HardDrive*> drives;
    std::unique_ptr<FilterCollection> disks(KRNATests::getDisks(adapter));
    for (unsigned long i = 0; disks && i < disks->size(); i++)
        if (HardDrive* drive = dynamic_cast<HardDrive*>(disks->elementAt(static_cast<int>(i))))
            drives.push_back(drive);
    return drives;
}

// The vendor, model and serial number lines of a drive.
void appendDrive(cimple::KRNA_DiagServiceRecord* record, HardDrive* drive, const char* vendorFormat)
{
    appendf(record, vendorFormat, field(drive->getVendor(), PhysicalDevice::TEXT_SIZE).c_str());
    appendf(record, "-Model Number : %s \n", field(drive->getModel(), PhysicalDevice::TEXT_SIZE).c_str());
    appendf(record, "-Serial Number : %s \n", field(drive->getSerialNumber(), PhysicalDevice::SERIAL_SIZE).c_str());
}

template <class T>
T* withNamespace(T* instance)
{
    if (instance)
        instance->_name_space = "root/krna";
    return instance;
}

} // namespace

// ---- KRNA_Device ---------------------------------------------------------------------------

void KRNA_Device_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    krnaDiagLog("In KRNA_Device_Provider::krnaBuildMap\n");
    KRNATests tests;
    for (RaidObject* o : KRNATests::getAdapters()) {
        Adapter* adapter = dynamic_cast<Adapter*>(o);
        cimple::KRNA_Device* device = adapter ? Class::create(false) : nullptr;
        if (!device)
            continue;
        device->DeviceID.set(deviceIdOf(adapter));
        device->CreationClassName.set("KRNA_Device");
        device->SystemCreationClassName.set(KRNA_DiagUtils::getSystemCreationClassName());
        device->SystemName.set(KRNA_DiagUtils::getSystemName());
        device->Caption.set("Corvane Raid Device");
        device->Description.set(" Corvane Raid Controller");
        device->Name.set("Corvane Raid Device");
        device->ElementName.set("Corvane Raid Device");
        device->Status.set("Working");
        map.insert(device);
    }
}

CIMPLE_INSTANCE_PROVIDER(KRNA_Device_Provider);

// ---- KRNA_DiagService ----------------------------------------------------------------------

void KRNA_DiagService_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly)
{
    trace("krnaBuildMap");
    static const char* const captions[3] = {"TestAdapterInfo", "Drive Self Test", "Adapter Test"};
    static const char* const descriptions[3] = {"Adapter Info", "Drive Self Test", "Adapter Test"};
    static const char* const elementNames[3] = {"Get Controller Information", "Drive Self Test", "Adapter Test"};
    const cimple::Datetime now = cimple::Datetime::now();
    for (int i = 0; i < 3; i++) {
        cimple::KRNA_DiagService* service = Class::create(false);
        if (!service)
            continue;
        service->Name.set(TEST_NAMES[i]);
        service->CreationClassName.set("KRNA_DiagService");
        service->SystemCreationClassName.set(KRNA_DiagUtils::getSystemCreationClassName());
        service->SystemName.set(KRNA_DiagUtils::getSystemName());
        if (!keysOnly) {
            service->Caption.set(captions[i]);
            service->Description.set(descriptions[i]);
            service->ElementName.set(elementNames[i]);
            service->Status.set("OK");
            service->PrimaryOwnerName.set("Corvane Inc");
            service->PrimaryOwnerContact.set("Corvane Inc");
            service->InstallDate.set(now);
        }
        map.insert(service);
    }
}

int KRNA_DiagService_Provider::verifyMSE(const cimple::KRNA_Device* element)
{
    trace("verifyMSE");
    if (!element)
        return 0;
    cimple::Instance_Map<cimple::KRNA_Device> devices;
    KRNA_Device_Provider::krnaBuildMap(devices, false);
    for (size_t i = 0; i < devices.size(); i++)
        if (devices[i]->DeviceID.value == element->DeviceID.value)
            return 1;
    return 0;
}

int KRNA_DiagService_Provider::run1(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID)
{
    trace("run1");
    static const char* const channelLines[5] = {"SCSI Channel Count : %d \n", "SATA Channel Count : %d \n",
                                                "IDE Channel Count : %d \n", "FIBRE Channel Count : %d \n",
                                                "SAS Channel Count : %d \n"};
    for (Adapter* adapter : matchingAdapters(deviceID)) {
        const std::vector<HardDrive*> drives = drivesOf(adapter);
        appendf(record, "Device Location : PCI slot %d \n", adapter->getPhysicalSlot());
        appendf(record, "Controller Type : %d \n", adapter->getAdapterType());
        appendf(record, "Physical Drive Count:   %d \n", static_cast<int>(drives.size()));
        appendf(record, "Adapter Status : %s",
                KRNATests::BriskAdapterStatusInfo(static_cast<int>(adapter->getAdapterID())) == 0
                    ? "Operating correctly \n"
                    : "Not Functional \n");
        int channels[5] = {0, 0, 0, 0, 0};
        std::unique_ptr<FilterCollection> found(KRNATests::getChannels(adapter));
        for (unsigned long i = 0; found && i < found->size(); i++) {
            Channel* channel = dynamic_cast<Channel*>(found->elementAt(static_cast<int>(i)));
            const int type = channel ? static_cast<int>(channel->getChannelType()) : -1;
            if (type >= 0 && type < 5)
                channels[type]++;
        }
        for (int type = 0; type < 5; type++)
            appendf(record, channelLines[type], channels[type]);
        appendf(record, "BIOS Version : %s \n", field(adapter->getBiosVersion(), Adapter::VERSION_SIZE).c_str());
        appendf(record, "Driver Version : %s \n",
                field(adapter->getDeviceDriverVersion(), Adapter::VERSION_SIZE).c_str());
        for (HardDrive* drive : drives) {
            if (KRNATests::BriskDiskPfaError(drive) == 1) {
                appendf(record, "PFA Error Detected for Hard Drive: ** ");
                appendDrive(record, drive, "-Vendor : %s \n");
            }
            if (KRNATests::BriskDiskStatus(static_cast<int>(drive->getDeviceID())) > DRIVE_ONLINE) {
                appendf(record, "Following Hard Drive is not Ready or Online: ** ");
                appendDrive(record, drive, "-Vendor : %s  \n");
            }
        }
    }
    return 0;
}

int KRNA_DiagService_Provider::run2(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID)
{
    trace("run2");
    logf("Number of Adapters = %d\n", static_cast<int>(KRNATests::getAdapters().size()));
    for (Adapter* adapter : matchingAdapters(deviceID)) {
        krnaDiagLog("Adapter Found\n");
        if (KRNATests::BriskAdapterStatusInfo(static_cast<int>(adapter->getAdapterID())) != 0)
            appendf(record, "Controller Not Functional \n");
        const std::vector<HardDrive*> drives = drivesOf(adapter);
        const int count = static_cast<int>(drives.size());
        appendf(record, "Total Number of Hard Drives : %d \n", count);
        logf("Number of Disks = %d\n", count);
        krnaDiagLog("just for test\n");
        int failures = 0;
        for (int i = 0; i < count; i++) {
            krnaDiagLog("Coming here\n");
            krnaDiagLog("starting disk drive test\n");
            const Ret ret = KRNATests::BriskStartDriveSelfTest(drives[static_cast<size_t>(i)],
                                                               DISK_DIAG_DEFAULT_SELF_TEST);
            krnaDiagLog("complete disk drive test\n");
            krnaDiagLog("Retrieving Disk Data\n");
            appendDrive(record, drives[static_cast<size_t>(i)], "-Vendor : %s \n");
            krnaDiagLog("Getting Disk Data\n");
            if (ret.getReturn() != 0) {
                failures++;
                appendf(record, "-Drive Self Test Result for Disk %d : Failed \n", i);
            } else {
                appendf(record, "-Drive Self Test Result for Disk %d : SuccessFul \n", i);
            }
        }
        krnaDiagLog("Test Complete\n");
        appendf(record, "Test Successful for %d Hard Drive(s) \n", count - failures);
        appendf(record, "Test Failed for %d Hard Drive(s) \n", failures);
    }
    krnaDiagLog("Out KRNA_DiagService_Provider::run2\n");
    return 0;
}

int KRNA_DiagService_Provider::run3(cimple::KRNA_DiagServiceRecord* record, cimple::String deviceID)
{
    trace("run3");
    for (Adapter* adapter : matchingAdapters(deviceID)) {
        const int id = static_cast<int>(adapter->getAdapterID());
        KRNATests::BriskStartControllerDiagnostic(id, ADAPTER_DIAG_DEFAULT);
        const int verified = KRNATests::BriskVerifyEvents(id);
        krnaDiagLog("In KRNA_DiagService_Provider:: here only\n");
        if (verified == 1) {
            krnaDiagLog("In KRNA_DiagService_Provider::coming here\n");
            appendf(record, "Adapter Test Successful\n");
        } else {
            appendf(record, "Adapter Test Stopped\n");
        }
    }
    return 0;
}

int KRNA_DiagService_Provider::RunKRNADiagnostic(const cimple::KRNA_DiagService* self,
                                                 const cimple::KRNA_Device* element,
                                                 const cimple::CIM_DiagnosticSetting*,
                                                 const cimple::CIM_JobSettingData*, cimple::CIM_ConcreteJob*&,
                                                 cimple::Property<cimple::uint32>& returnValue)
{
    trace("RunKRNADiagnostic");
    returnValue.set(1);
    // A missing element is refused like one that is no controller.
    if (!self || !element || verifyMSE(element) == 0)
        return cimple::INVOKE_METHOD_FAILED;
    const cimple::String name = self->Name.value;
    int (*run)(cimple::KRNA_DiagServiceRecord*, cimple::String) =
        name == "TestAdapterInfo" ? run1 : name == "TestAdapterTest" ? run3 : name == "SelfDriveTest" ? run2 : nullptr;
    if (!run)
        return cimple::INVOKE_METHOD_FAILED;
    const cimple::String deviceID = element->DeviceID.value;

    cimple::String jobID;
    {
        cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
        KRNA_DiagUtils::deleteExpiredInstances();
        cimple::KRNA_DiagConcreteJob* job = KRNA_DiagConcreteJob_Provider::addNewConcreteJob();
        if (!job)
            return cimple::INVOKE_METHOD_FAILED;
        jobID = job->InstanceID.value;
        KRNA_DiagSettingRecord_Provider::addNewSettingRecord(jobID, name, deviceID);
        KRNA_DiagServiceRecord_Provider::addNewServiceRecord(jobID, name, deviceID);
    }

    // The test runs without the lock, into a report of its own that is
    // stored when the test is over: a long run blocks no other request and
    // never writes into a record that a sweep removed meanwhile.
    cimple::Ref<cimple::KRNA_DiagServiceRecord> report(cimple::KRNA_DiagServiceRecord::create(false));
    if (report)
        run(report.ptr(), deviceID);

    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    cimple::Ref<cimple::KRNA_DiagConcreteJob> jobModel(cimple::KRNA_DiagConcreteJob::create(false));
    cimple::Ref<cimple::KRNA_DiagServiceRecord> recordModel(cimple::KRNA_DiagServiceRecord::create(false));
    if (!jobModel || !recordModel)
        return cimple::INVOKE_METHOD_FAILED;
    jobModel->InstanceID.set(jobID);
    recordModel->InstanceID.set(jobID);
    cimple::KRNA_DiagServiceRecord* record = KRNA_DiagServiceRecord_Provider::_map.lookup(recordModel.ptr());
    if (record && report)
        record->RecordData.set(record->RecordData.value + report->RecordData.value);
    cimple::KRNA_DiagConcreteJob* job = KRNA_DiagConcreteJob_Provider::_map.lookup(jobModel.ptr());
    if (job) {
        job->PercentComplete.set(100);
        job->JobState.set(7);
    }

    cimple::Instance_Map<cimple::KRNA_DiagLog> logs;
    KRNA_DiagLog_Provider::krnaBuildMap(logs, false);
    for (size_t i = 0; record && i < logs.size(); i++)
        if (logs[i]->InstanceID.value == name)
            KRNA_LogManagesRecord_Provider::addNewAssoc(record->clone(), logs[i]->clone());
    if (job) {
        KRNA_OwningJobElement_Provider::addNewAssoc(job->clone(), self->clone());
        KRNA_AffectedJobElement_Provider::addNewAssoc(job->clone(), element->clone());
    }
    returnValue.set(0);
    return cimple::INVOKE_METHOD_OK;
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagService_Provider);

// ---- KRNA_DiagLog, KRNA_DiagSetting, KRNA_DiagServiceCapabilities -----------------------------

void KRNA_DiagLog_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly)
{
    trace("krnaBuildMap");
    const cimple::Datetime now = cimple::Datetime::now();
    for (const char* name : TEST_NAMES) {
        cimple::KRNA_DiagLog* log = Class::create(false);
        if (!log)
            continue;
        log->InstanceID.set(name);
        if (!keysOnly) {
            log->Caption.set(std::string("Diagnostic Log For ") + name);
            log->Description.set(std::string("Diagnostic log Information for ") + name);
            log->InstallDate.set(now);
        }
        map.insert(log);
    }
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagLog_Provider);

void KRNA_DiagSetting_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    trace("krnaBuildMap");
    static const char* const captions[3] = {"Get Controller Information For Test", "Setting For Self Drive Test",
                                            "Setting For Adapter Test"};
    static const char* const descriptions[3] = {"TestAdapterInfo test", "Setting for Test Drive Self test",
                                                "Setting For Adapter test"};
    static const char* const elementNames[3] = {"Get Controller Information", "SelfDriveTest", "TestAdapterTest"};
    for (int i = 0; i < 3; i++) {
        cimple::KRNA_DiagSetting* setting = Class::create(false);
        if (!setting)
            continue;
        setting->SettingID.set(TEST_NAMES[i]);
        setting->Caption.set(captions[i]);
        setting->Description.set(descriptions[i]);
        setting->ElementName.set(elementNames[i]);
        setting->ResultPersistence.set(300);
        map.insert(setting);
    }
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagSetting_Provider);

void KRNA_DiagServiceCapabilities_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool keysOnly)
{
    static const char* const captions[3] = {"TestAdapterInfo", "Drive Self Test", "Adapter Test"};
    static const char* const descriptions[3] = {"Adapter Info", "Drive Self Test", "Adapter Test"};
    static const char* const elementNames[3] = {"Get Controller Information", "Drive Self Test", "Adapter Test"};
    for (int i = 0; i < 3; i++) {
        cimple::KRNA_DiagServiceCapabilities* capabilities = Class::create(false);
        if (!capabilities)
            continue;
        capabilities->InstanceID.set(TEST_NAMES[i]);
        if (!keysOnly) {
            capabilities->Caption.set(captions[i]);
            capabilities->Description.set(descriptions[i]);
            capabilities->ElementName.set(elementNames[i]);
        }
        map.insert(capabilities);
    }
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagServiceCapabilities_Provider);

// ---- the static associations -------------------------------------------------------------------

void KRNA_AvailableDiagService_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    trace("krnaBuildMap");
    cimple::Instance_Map<cimple::KRNA_Device> devices;
    KRNA_Device_Provider::krnaBuildMap(devices, false);
    cimple::Instance_Map<cimple::KRNA_DiagService> services;
    KRNA_DiagService_Provider::krnaBuildMap(services, false);
    for (size_t d = 0; d < devices.size(); d++)
        for (size_t s = 0; s < services.size(); s++)
            krnaInsertAssociation(map, &Class::ServiceProvided, withNamespace(services[s]->clone()), &Class::UserOfService,
                 withNamespace(devices[d]->clone()));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_AvailableDiagService_Provider);

void KRNA_DiagLogForMSE_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    cimple::Instance_Map<cimple::KRNA_Device> devices;
    KRNA_Device_Provider::krnaBuildMap(devices, false);
    cimple::Instance_Map<cimple::KRNA_DiagLog> logs;
    KRNA_DiagLog_Provider::krnaBuildMap(logs, false);
    for (size_t d = 0; d < devices.size(); d++)
        for (size_t l = 0; l < logs.size(); l++)
            krnaInsertAssociation(map, &Class::Antecedent, withNamespace(logs[l]->clone()), &Class::Dependent,
                 withNamespace(devices[d]->clone()));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiagLogForMSE_Provider);

void KRNA_DiagLogForService_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    cimple::Instance_Map<cimple::KRNA_DiagLog> logs;
    KRNA_DiagLog_Provider::krnaBuildMap(logs, false);
    cimple::Instance_Map<cimple::KRNA_DiagService> services;
    KRNA_DiagService_Provider::krnaBuildMap(services, false);
    for (size_t l = 0; l < logs.size(); l++)
        for (size_t s = 0; s < services.size(); s++)
            if (logs[l]->InstanceID.value == services[s]->Name.value)
                krnaInsertAssociation(map, &Class::Antecedent, withNamespace(logs[l]->clone()), &Class::Dependent,
                     withNamespace(services[s]->clone()));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_DiagLogForService_Provider);

void KRNA_ElementCapabilities_Provider::krnaBuildMap(cimple::Instance_Map<Class>& map, bool)
{
    cimple::Instance_Map<cimple::KRNA_DiagService> services;
    KRNA_DiagService_Provider::krnaBuildMap(services, false);
    cimple::Instance_Map<cimple::KRNA_DiagServiceCapabilities> capabilities;
    KRNA_DiagServiceCapabilities_Provider::krnaBuildMap(capabilities, false);
    for (size_t s = 0; s < services.size(); s++)
        for (size_t c = 0; c < capabilities.size(); c++)
            if (services[s]->Name.value == capabilities[c]->InstanceID.value)
                krnaInsertAssociation(map, &Class::ManagedElement, withNamespace(services[s]->clone()), &Class::Capabilities,
                     withNamespace(capabilities[c]->clone()));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_ElementCapabilities_Provider);

// ---- the jobs ---------------------------------------------------------------------------------

int KRNA_DiagConcreteJob_Provider::count = 0;

cimple::KRNA_DiagConcreteJob* KRNA_DiagConcreteJob_Provider::addNewConcreteJob()
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    trace("addNewConcreteJob");
    cimple::KRNA_DiagConcreteJob* job = Class::create(false);
    if (!job)
        return nullptr;
    if (count == 0x7FFFFFFE)
        count = 0;
    char id[32];
    snprintf(id, sizeof id, "KRNA_%d", count);
    count++;
    job->InstanceID.set(id);
    job->Caption.set("Concrete Job instance");
    job->Description.set("This is created when RunDiagnostic is called");
    job->JobState.set(2);
    job->StartTime.set(cimple::Datetime::now());
    cimple::Datetime removal;
    removal.set_interval(0, 0, 5, 0, 0);
    job->TimeBeforeRemoval.set(removal);
    return _map.insert(job) == 0 ? job : nullptr;
}

cimple::String KRNA_DiagConcreteJob_Provider::deleteExpiredInstance()
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    trace("deleteExpiredInstance");
    const cimple::uint64 now = cimple::Datetime::now().usec();
    for (size_t i = 0; i < _map.size(); i++) {
        const cimple::KRNA_DiagConcreteJob* job = _map[i];
        const cimple::uint64 start = job->StartTime.value.usec();
        const cimple::uint64 age = now > start ? (now - start) / cimple::Datetime::SEC : 0;
        cimple::uint32 days = 0, hours = 0, minutes = 0, seconds = 0, microseconds = 0;
        job->TimeBeforeRemoval.value.get_interval(days, hours, minutes, seconds, microseconds);
        const cimple::uint64 limit = days * 86400ull + hours * 3600ull + minutes * 60ull + seconds;
        if (age > limit) {
            const cimple::String id = job->InstanceID.value;
            _map.remove(i);
            return id;
        }
    }
    return cimple::String();
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagConcreteJob_Provider);

// ---- the records ---------------------------------------------------------------------------------

cimple::KRNA_DiagSettingRecord* KRNA_DiagSettingRecord_Provider::addNewSettingRecord(cimple::String jobID,
                                                                                     cimple::String serviceName,
                                                                                     cimple::String deviceID)
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    trace("addNewSettingRecord");
    cimple::KRNA_DiagSettingRecord* record = Class::create(false);
    if (!record)
        return nullptr;
    record->InstanceID.set(jobID);
    record->Caption.set("Setting Record Instance");
    record->Description.set("An instance of Setting Record Instance");
    record->ElementName.set("Setting Record Instance");
    record->ServiceName.set(serviceName);
    record->ManagedElementName.set(deviceID);
    record->Locale.set("en_US_WIN");
    return _map.insert(record) == 0 ? record : nullptr;
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagSettingRecord_Provider);

cimple::KRNA_DiagServiceRecord* KRNA_DiagServiceRecord_Provider::addNewServiceRecord(cimple::String jobID,
                                                                                     cimple::String serviceName,
                                                                                     cimple::String deviceID)
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    trace("addNewServiceRecord");
    cimple::KRNA_DiagServiceRecord* record = Class::create(false);
    if (!record)
        return nullptr;
    record->InstanceID.set(jobID);
    record->Caption.set("Service Record Instance");
    record->Description.set("Service Record Instance");
    record->ElementName.set("Service Record Instance");
    record->ServiceName.set(serviceName);
    record->ManagedElementName.set(deviceID);
    record->Locale.set("en_US_WIN");
    record->CreationTimeStamp.set(cimple::Datetime::now());
    return _map.insert(record) == 0 ? record : nullptr;
}

int KRNA_DiagServiceRecord_Provider::enum_instances(const Class*, cimple::Enum_Instances_Handler<Class>* handler)
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    krnaDiagLog("In KRNA_DiagServiceRecord_Provider::enum_instances\n");
    KRNA_DiagUtils::deleteExpiredInstances();
    krnaDiagLog("after deleting ExpiredInstances\n");
    for (size_t i = 0; i < _map.size(); i++)
        if (Class* copy = _map[i]->clone())
            handler->handle(copy);
    krnaDiagLog("Out KRNA_DiagServiceRecord_Provider::enum_instances\n");
    return cimple::ENUM_INSTANCES_OK;
}

CIMPLE_INSTANCE_PROVIDER(KRNA_DiagServiceRecord_Provider);

// ---- the associations of the runs ------------------------------------------------------------------

namespace {

// The job id of the job (or record) an association end holds.
template <class T, class End>
cimple::String endID(End* end)
{
    const T* instance = cimple::cast<T>(end);
    return instance ? instance->InstanceID.value : cimple::String();
}

// Stores one association of two ends (taken over) in a provider's map.
template <class Provider, class LeftEnd, class LeftOwner, class RightEnd, class RightOwner, class Left,
          class Right>
void storeAssociation(LeftEnd* LeftOwner::*leftRole, Left* left, RightEnd* RightOwner::*rightRole, Right* right)
{
    cimple::Auto_Mutex lock(KRNA_DiagUtils::mapLock());
    krnaInsertAssociation(Provider::_map, leftRole, left, rightRole, right);
}

} // namespace

cimple::String KRNA_OwningJobElement_Provider::jobID(const Class* association)
{
    return endID<cimple::CIM_ConcreteJob>(association->OwnedElement);
}

void KRNA_OwningJobElement_Provider::addNewAssoc(cimple::KRNA_DiagConcreteJob* job, cimple::KRNA_DiagService* service)
{
    trace("addNewAssoc");
    storeAssociation<KRNA_OwningJobElement_Provider>(&Class::OwningElement, withNamespace(service),
                                                     &Class::OwnedElement, withNamespace(job));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_OwningJobElement_Provider);

cimple::String KRNA_AffectedJobElement_Provider::jobID(const Class* association)
{
    return endID<cimple::CIM_ConcreteJob>(association->AffectingElement);
}

void KRNA_AffectedJobElement_Provider::addNewAssoc(cimple::KRNA_DiagConcreteJob* job, cimple::KRNA_Device* device)
{
    trace("addNewAssoc");
    storeAssociation<KRNA_AffectedJobElement_Provider>(&Class::AffectedElement, withNamespace(device),
                                                       &Class::AffectingElement, withNamespace(job));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_AffectedJobElement_Provider);

cimple::String KRNA_LogManagesRecord_Provider::jobID(const Class* association)
{
    return endID<cimple::CIM_DiagnosticRecord>(association->Record);
}

void KRNA_LogManagesRecord_Provider::addNewAssoc(cimple::KRNA_DiagServiceRecord* record, cimple::KRNA_DiagLog* log)
{
    trace("addNewAssoc");
    storeAssociation<KRNA_LogManagesRecord_Provider>(&Class::Log, withNamespace(log), &Class::Record,
                                                     withNamespace(record));
}

CIMPLE_ASSOCIATION_PROVIDER(KRNA_LogManagesRecord_Provider);

} // namespace corvanecimple
