// The logical- and physical-drive operations TarnellLib carries out itself:
// like the adapter operations beside them they act on the system the library
// built last (sys), write no trace or error entries and let exceptions reach
// the caller.

#include <cstring>
#include <vector>

#include "RaidLib/TarnellLib.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Implementation/Tarnell/DllInterface/DllP.h"
#include "RaidModel/Implementation/Tarnell/TarnellAccess.h"
#include "RaidModel/Implementation/Tarnell/TarnellAdapter.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicArray.h"
#include "RaidModel/Implementation/Tarnell/TarnellBasicLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHLogicalDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellHardDrive.h"
#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"
#include "RaidModel/Interface/Array.h"
#include "RaidModel/Serialization/XMLWriter.h"
#include "storagedll/storintf.h"

namespace {

// Identifies each object of the collection in its order, stopping at the
// first answer that is not a plain success; -2 when there is none.
template <class T>
Ret identifyEach(const std::vector<T*>& objects, bool flag)
{
    Ret ret(Ret::BAD_PARAM);
    for (T* object : objects) {
        ret = object->identifyDevice(flag);
        if (ret != Ret(0))
            break;
    }
    return ret;
}

// The instances of the class in the subtree of root, breadth first.
template <class T>
std::vector<T*> objectsBelow(RaidObject* root, const char* className)
{
    FilterCollection collection(root);
    collection.apply(className, false);
    std::vector<T*> objects;
    for (unsigned long i = 0; i < collection.size(); ++i)
        objects.push_back(static_cast<T*>(collection.elementAt(static_cast<int>(i))));
    return objects;
}

} // namespace

Ret TarnellLib::createLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN)
{
    TarnellAdapter* adapter =
        static_cast<TarnellAdapter*>(familyObject(Addr(addrIN.getAdapterID()), "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    LogicalDriveSpec spec(specIN);
    const Ret ret = adapter->createLogicalDrive(Addr(addrIN), spec);
    // Whatever came of it, the model shows the controller's drives again.
    TarnellAdapter::buildLogicalDevices(adapter);
    return ret;
}

Ret TarnellLib::deleteLogicalDrive(const Addr& addrIN)
{
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    // addrIN may lie in the drive itself, which the rebuild deletes.
    const Addr adapterAddr(addrIN.getAdapterID());
    const Ret ret = drive->deleteLogicalDrive();
    if (RaidObject* adapter = familyObject(adapterAddr, "TarnellAdapter"))
        TarnellAdapter::buildLogicalDevices(static_cast<TarnellAdapter*>(adapter));
    return ret;
}

Ret TarnellLib::setPhysicalDriveCache(const Addr&, EnumHardDriveCacheMode)
{
    if (sys == nullptr)
        return Ret(Ret::BAD_PARAM);
    return Ret(Ret::NOT_SUPPORTED);
}

Ret TarnellLib::synchronizeLogicalDrive(const Addr& addrIN, bool bSynchronizeIN)
{
    // A verify without fix is not offered by the controllers.
    if (!bSynchronizeIN)
        return Ret(Ret::NOT_SUPPORTED);
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    return drive->synchronize();
}

Ret TarnellLib::initializeLogicalDrive(const Addr& addrIN, EnumInitMethod, EnumPriorityLevel)
{
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    return drive->initialize();
}

Ret TarnellLib::increaseLogicalDriveSize(const Addr& addrIN, const std::vector<ChunkSpec>& chunksIN,
                                         EnumPriorityLevel)
{
    std::vector<ChunkSpec> chunks(chunksIN);
    if (RaidObject* o = familyObject(addrIN, "TarnellBasicLogicalDrive"))
        return static_cast<TarnellBasicLogicalDrive*>(o)->increaseLogicalDriveSize(chunks);
    if (RaidObject* o = familyObject(addrIN, "TarnellBasicArray"))
        return static_cast<TarnellBasicArray*>(o)->increaseArrayFreeSpace(chunks);
    return Ret(Ret::BAD_PARAM);
}

Ret TarnellLib::modifyLogicalDrive(const Addr& addrIN, const LogicalDriveSpec& specIN)
{
    TarnellBasicArray* array = static_cast<TarnellBasicArray*>(familyObject(addrIN, "TarnellBasicArray"));
    if (array == nullptr)
        return Ret(Ret::BAD_PARAM);
    LogicalDriveSpec spec(specIN);
    return array->modifyLogicalDrive(spec);
}

Ret TarnellLib::setLogicalDriveState(const Addr& addrIN, EnumLogicalDeviceState stateIN)
{
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    // The only state change offered: a blocked RAID-0 drive made usable.
    const EnumRaidLevel level = drive->getRaidLevel();
    if (stateIN != OKAY || (level != RAID0 && level != RAID00))
        return Ret(Ret::BAD_PARAM);
    return unblockLogicalDrive(addrIN);
}

Ret TarnellLib::setDeviceState(const Addr& addrIN, EnumPhysicalDeviceState stateIN)
{
    HardDrive* drive = static_cast<HardDrive*>(familyObject(addrIN, "HardDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    return drive->setState(stateIN);
}

Ret TarnellLib::identifyDevice(const Addr& addrIN, EnumIdentifyOption optionIN)
{
    const bool flag = optionIN == IDENTIFY_START;
    RaidObject* object = sys != nullptr ? sys->getObject(addrIN) : nullptr;
    if (object == nullptr)
        return Ret(Ret::BAD_PARAM);
    if (object->isInstanceOf("HardDrive") || object->isInstanceOf("Enclosure"))
        return static_cast<PhysicalDevice*>(object)->identifyDevice(flag);
    if (object->isInstanceOf("LogicalDrive"))
        return static_cast<LogicalDrive*>(object)->identifyDevice(flag);
    if (object->isInstanceOf("Array")) {
        RaidObject* parent = object->getParent();
        if (parent != nullptr && parent->isInstanceOf("SpannedArray")) {
            // The spanned array's drives that lie on this array.
            const STORID_T arrayID = object->getArrayID();
            std::vector<LogicalDrive*> onArray;
            for (LogicalDrive* drive : objectsBelow<LogicalDrive>(parent, "LogicalDrive")) {
                if (drive->getArray() != nullptr && drive->getArray()->getArrayID() == arrayID)
                    onArray.push_back(drive);
            }
            return identifyEach(onArray, flag);
        }
        return identifyEach(objectsBelow<LogicalDrive>(object, "LogicalDrive"), flag);
    }
    return identifyEach(objectsBelow<PhysicalDevice>(object, "HardDrive"), flag);
}

Ret TarnellLib::scsiPassThruCommand(const Addr& addrIN, SCSICommand& commandINOUT)
{
    PhysicalDevice* device = static_cast<PhysicalDevice*>(familyObject(addrIN, "PhysicalDevice"));
    if (device == nullptr)
        return Ret(Ret::BAD_PARAM);
    StoreDLLIntf* store = DllP::GetDLLPointer();
    if (store == nullptr)
        return Ret(Ret::CONTROLLER_FAILED);

    // The controllers move data only together with sense data (or none).
    int dataIn = 0;
    int autoSense = 0;
    switch (commandINOUT.getDirection()) {
    case SCSICommand::READ:
    case SCSICommand::WRITE:
    case SCSICommand::READWRITE:
        return Ret(Ret::NOT_SUPPORTED);
    case SCSICommand::WRITEWITHSENSE:
        autoSense = 1;
        break;
    case SCSICommand::READWITHSENSE:
        dataIn = 1;
        autoSense = 1;
        break;
    default:
        break;
    }

    _STORAGE_ADDRESS_ID address;
    if (!tarnellAdapterAddress(asTarnellAdapter(device->getAdapter()), address))
        return Ret(Ret::CONTROLLER_FAILED);
    const Channel* channel = device->getChannel();
    address.usChannelID = static_cast<uint16_t>(channel != nullptr ? channel->getChannelID() : device->getChannelID());
    address.usPhysDevID = static_cast<uint16_t>(device->getDeviceID());

    Buffer& cdb = commandINOUT.getScsiCmd();
    Buffer& readData = commandINOUT.getReadData();
    Buffer& writeData = commandINOUT.getWriteData();
    Buffer& senseData = commandINOUT.getSenseData();
    uint32_t readCount = 0;
    uint32_t writeCount = 0;
    uint32_t statusCount = 0;
    const S_Ret sret = store->ExecDeviceCmnd(address, cdb.getAddr(), cdb.getSize(), readCount, writeCount,
                                             statusCount, readData.getAddr(), readData.getSize(),
                                             writeData.getAddr(), writeData.getSize(), senseData.getAddr(),
                                             senseData.getSize(), 10, 0, dataIn, autoSense);
    return sret.iReturnCode == 0 ? Ret(Ret::SUCCESS) : Ret(Ret::CONTROLLER_FAILED);
}

Ret TarnellLib::downHardDrive(const Addr& addrIN, bool bForceIN)
{
    if (bForceIN)
        return setDeviceState(addrIN, DRIVE_DEAD);

    HardDrive* drive = static_cast<HardDrive*>(familyObject(addrIN, "HardDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    if (drive->getState() != DRIVE_DEAD)
        return Ret(Ret::NOT_SUPPORTED);

    // A dead drive that carries a chunk of a critical logical drive is
    // rebuilt; any other comes back online.
    std::vector<ChunkID> chunks;
    if (drive->isInstanceOf("TarnellHardDrive"))
        chunks = static_cast<TarnellHardDrive*>(drive)->getChunkIDs();
    const Adapter* adapter = drive->getAdapter();
    for (const ChunkID& chunk : chunks) {
        if (adapter == nullptr)
            break;
        Addr driveAddr(adapter->getAdapterID());
        driveAddr.setLogicalDriveID(static_cast<STORID_T>(chunk.LogicalDriveID));
        RaidObject* carrier = sys->getObject(driveAddr);
        if (carrier != nullptr && carrier->isInstanceOf("LogicalDrive") &&
            static_cast<LogicalDrive*>(carrier)->getState() == CRITICAL)
            return setDeviceState(addrIN, DRIVE_REBUILDING);
    }
    return setDeviceState(addrIN, DRIVE_ONLINE);
}

Ret TarnellLib::getTasks(const Addr& addrIN, char** xmlINOUT)
{
    if (xmlINOUT == nullptr || *xmlINOUT == nullptr)
        return Ret(Ret::BAD_PARAM);
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);

    Progress progress;
    const Ret ret = drive->getProgress(progress);
    ProgressCollection tasks;
    tasks.add(progress);
    char* document = nullptr;
    {
        XMLWriter writer(&document);
        writer.writeRawString("<ProgressCollection> ");
        tasks.writeTo(&writer);
        writer.writeRawString(" </ProgressCollection>");
    }
    delete[] *xmlINOUT;
    *xmlINOUT = document;
    return ret;
}

Ret TarnellLib::getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT)
{
    LogicalDrive* drive = static_cast<LogicalDrive*>(familyObject(addrIN, "LogicalDrive"));
    if (drive == nullptr)
        return Ret(Ret::BAD_PARAM);
    Progress progress;
    const Ret ret = drive->getProgress(progress);
    tasksINOUT.add(progress);
    return ret;
}

Ret TarnellLib::startTask(const Addr& addrIN, EnumHardDriveTask hdTaskIN)
{
    if (hdTaskIN == HD_TASK_NONE)
        return Ret(Ret::BAD_PARAM);
    if (hdTaskIN != HD_TASK_VERIFY_FIX)
        return Ret(Ret::NOT_SUPPORTED);
    return synchronizeLogicalDrive(addrIN, true);
}

Ret TarnellLib::createGlobalSpare(const Addr& addrIN)
{
    HardDrive* drive = static_cast<HardDrive*>(familyObject(addrIN, "HardDrive"));
    if (drive == nullptr || drive->getState() != DRIVE_READY)
        return Ret(Ret::BAD_PARAM);
    return drive->setState(DRIVE_SPARE);
}

Ret TarnellLib::deleteSpare(const Addr& addrIN)
{
    HardDrive* drive = static_cast<HardDrive*>(familyObject(addrIN, "HardDrive"));
    if (drive == nullptr || drive->getState() != DRIVE_SPARE)
        return Ret(Ret::BAD_PARAM);
    return drive->setState(DRIVE_READY);
}

// A spanned drive is accepted too: a RAID-00 drive is blocked like a RAID-0
// one, and setLogicalDriveState offers to unblock it.
Ret TarnellLib::unblockLogicalDrive(const Addr& addrIN)
{
    if (RaidObject* o = familyObject(addrIN, "TarnellBasicLogicalDrive"))
        return static_cast<TarnellBasicLogicalDrive*>(o)->unblockLogicalDrive();
    if (RaidObject* o = familyObject(addrIN, "TarnellHLogicalDrive"))
        return static_cast<TarnellHLogicalDrive*>(o)->unblockLogicalDrive();
    return Ret(Ret::BAD_PARAM);
}

Ret TarnellLib::setAdapterReadCache(const Addr& addrIN, bool bEnableIN)
{
    TarnellAdapter* adapter = static_cast<TarnellAdapter*>(familyObject(addrIN, "TarnellAdapter"));
    if (adapter == nullptr)
        return Ret(Ret::BAD_PARAM);
    return adapter->setReadAheadMode(bEnableIN);
}
