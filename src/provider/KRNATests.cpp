// The diagnostics' test engine over the Vesk family library.
#include "KRNATests.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "KRNADiagUtils.h"
#include "KRNAEventScan.h"
#include "RaidLib/Util/SCSICommand.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/System.h"
#include "VeskLib.h"

namespace corvanecimple {

VeskLib* KRNATests::storlib = nullptr;
VeskLib* KRNATests::qorllib = nullptr;
System* KRNATests::system = nullptr;
int KRNATests::controllerCount = 0;
int KRNATests::storlibCount = 0;

namespace {

std::mutex& creationLock()
{
    static std::mutex mutex;
    return mutex;
}

// The address of a drive: its channel's adapter and channel, its device id.
Addr driveAddr(HardDrive* drive)
{
    Addr addr;
    if (Channel* channel = drive->getChannel()) {
        addr.setAdapterID(channel->getAdapterID());
        addr.setChannelID(channel->getChannelID());
    }
    addr.setDeviceID(drive->getDeviceID());
    return addr;
}

FilterCollection* collection(RaidObject* root, const char* className)
{
    if (!root)
        return nullptr;
    FilterCollection* objects = new FilterCollection(root);
    if (objects)
        objects->apply(className, false);
    return objects;
}

// The code of SEND DIAGNOSTIC with the self-test bit and no parameter list.
const unsigned char SEND_DIAGNOSTIC_SELF_TEST[6] = {0x1D, 0x04, 0x00, 0x00, 0x00, 0x00};
const uint32_t SELF_TEST_BUFFER_SIZE = 255;

} // namespace

KRNATests::KRNATests()
{
    std::lock_guard<std::mutex> lock(creationLock());
    if (storlibCount != 0)
        return;
    storlib = BriskLoadLibrary();
    if (!storlib)
        return;
    qorllib = storlib;
    storlibCount++;
    system = storlib->getSystem();
    if (system) {
        Ret ret;
        controllerCount = static_cast<int>(system->getControllerCount(storlib, ret));
    }
}

VeskLib* KRNATests::BriskLoadLibrary()
{
    char* xml = new (std::nothrow) char[1];
    VeskLib* lib = new VeskLib;
    if (!xml || !lib) {
        delete[] xml;
        delete lib;
        return nullptr;
    }
    xml[0] = '\0';
    lib->getSystemConfig(&xml);
    delete[] xml;
    return lib;
}

std::vector<RaidObject*> KRNATests::getAdapters()
{
    return system ? system->getChildren() : std::vector<RaidObject*>();
}

FilterCollection* KRNATests::getDisks(RaidObject* root) { return collection(root, "HardDrive"); }

FilterCollection* KRNATests::getChannels(RaidObject* root) { return collection(root, "Channel"); }

Adapter* KRNATests::GetAdapterFromId(int adapterID)
{
    if (controllerCount <= 0)
        return nullptr;
    for (RaidObject* o : getAdapters()) {
        Adapter* adapter = dynamic_cast<Adapter*>(o);
        if (adapter && adapter->getAdapterID() == static_cast<STORID_T>(adapterID))
            return adapter;
    }
    return nullptr;
}

HardDrive* KRNATests::GetHardDriveFromDeviceId(int deviceID)
{
    if (controllerCount <= 0)
        return nullptr;
    for (RaidObject* adapter : getAdapters()) {
        std::unique_ptr<FilterCollection> disks(getDisks(adapter));
        for (unsigned long i = 0; disks && i < disks->size(); i++) {
            HardDrive* drive = dynamic_cast<HardDrive*>(disks->elementAt(static_cast<int>(i)));
            if (drive && drive->getDeviceID() == static_cast<STORID_T>(deviceID))
                return drive;
        }
    }
    return nullptr;
}

int KRNATests::BriskDiskPfaError(HardDrive* drive) { return drive && drive->getPfaError() ? 1 : 0; }

EnumPhysicalDeviceState KRNATests::BriskDiskStatus(int deviceID)
{
    HardDrive* drive = GetHardDriveFromDeviceId(deviceID);
    return drive ? drive->getState() : DRIVE_EMPTY;
}

EnumControllerStatus KRNATests::BriskAdapterStatusInfo(int adapterID)
{
    Adapter* adapter = GetAdapterFromId(adapterID);
    return adapter ? adapter->getAdapterStatus() : CONTROLLER_STATUS_UNKNOWN;
}

Ret KRNATests::BriskStartDriveSelfTest(HardDrive* drive, EnumDiskDiagType type)
{
    krnaDiagLog("In KRNATests::BriskStartDriveSelfTest\n");
    if (!drive)
        return Ret(-2);
    Ret ret;
    if (type == DISK_DIAG_DEFAULT_SELF_TEST) {
        Buffer cdb(sizeof SEND_DIAGNOSTIC_SELF_TEST, SEND_DIAGNOSTIC_SELF_TEST);
        SCSICommand command(cdb, SCSICommand::READWITHSENSE);
        Buffer readData(SELF_TEST_BUFFER_SIZE), senseData(SELF_TEST_BUFFER_SIZE);
        if (readData.getAddr())
            memset(readData.getAddr(), 0, readData.getSize());
        if (senseData.getAddr())
            memset(senseData.getAddr(), 0, senseData.getSize());
        command.setReadData(readData);
        command.setSenseData(senseData);
        krnaDiagLog("Sending Command\n");
        ret = drive->scsiPassThruCommand(command);
        krnaDiagLog("Command Complete\n");
    } else {
        ret = qorllib ? qorllib->startDiskDiagnostic(driveAddr(drive), type) : Ret(-2);
    }
    krnaDiagLog("Out KRNATests::BriskStartDriveSelfTest\n");
    return ret;
}

Ret KRNATests::BriskAbortDriveSelfTest(VeskHardDrive* drive)
{
    if (!drive || !qorllib)
        return Ret(-2);
    return qorllib->abortDiskDiagnostic(driveAddr(drive));
}

EnumDiskDiagStatus KRNATests::BriskGetDriveSelfTestProgress(VeskHardDrive* drive, int* percent)
{
    if (!drive || !qorllib)
        return EnumDiskDiagStatus(0);
    // Zeroed, so that a failing library leaves no stale status behind.
    DISK_DIAGNOSTIC_STATE state = {};
    Ret ret = qorllib->getDiskDiagnosticProgress(driveAddr(drive), state);
    if (ret.getReturn() != Ret::SUCCESS)
        return EnumDiskDiagStatus(0);
    if (percent)
        *percent = static_cast<int>(state.tenthsOfAPercent / 10u);
    return state.status;
}

EnumDiskDiagStatus KRNATests::BriskGetDriveSelfTestResults(VeskHardDrive* drive)
{
    if (!drive || !qorllib)
        return EnumDiskDiagStatus(0);
    DISK_DIAGNOSTIC_STATE state = {};
    Ret ret = qorllib->getDiskDiagnosticResults(driveAddr(drive), state);
    return ret.getReturn() == Ret::SUCCESS ? state.status : EnumDiskDiagStatus(0);
}

Ret KRNATests::BriskStartControllerDiagnostic(int adapterID, EnumAdapterDiagType type)
{
    Adapter* adapter = GetAdapterFromId(adapterID);
    return adapter ? adapter->startControllerDiagnostic(type) : Ret(-2);
}

bool KRNATests::eventDocumentShowsCompletion(const char* document, size_t length)
{
    return krnaEventDocumentShowsCompletion(document, length);
}

int KRNATests::BriskVerifyEvents(int adapterID)
{
    if (!GetAdapterFromId(adapterID) || !storlib)
        return 0;
    for (int i = 0; i < EVENT_TRIES; i++) {
        char* document = nullptr;
        storlib->getEvents(Addr(static_cast<STORID_T>(adapterID)), 0, &document);
        if (!document)
            continue;
        const bool found = eventDocumentShowsCompletion(document, strlen(document));
        delete[] document;
        if (found)
            return 1;
    }
    return 0;
}

} // namespace corvanecimple
