// The Pelm storage library: its own operations over the simulated controllers.

#include "PelmLib.h"

#include <cstring>
#include <new>
#include <string>

#include "PelmSimInternal.h"
#include "RaidModel/Interface/PhysicalDevice.h"

namespace {

// Runs one logged operation: an injected failure answers its code without
// running the body, an exception becomes -13, and the call goes into the
// simulation's call log with its result.
template <class Body>
Ret loggedCall(const char* operation, int adapter, const Addr& address, unsigned long from, Body body)
{
    pelmsim::Call call;
    call.operation = operation;
    call.adapter = adapter;
    call.address = address;
    call.from = from;
    Ret ret(Ret::SUCCESS);
    if (const int code = pelmsim::detail::injectedCode(operation, adapter)) {
        ret.setReturn(code);
    } else {
        try {
            ret = body();
        } catch (const std::bad_alloc&) {
            ret = Ret(Ret::RESOURCE);
        } catch (...) {
            ret = Ret(Ret::EXCEPTION_CAUGHT);
        }
    }
    call.result = ret.getReturn();
    pelmsim::detail::logCall(call);
    return ret;
}

int adapterOf(const Addr& address) { return static_cast<int>(address.getAdapterID()); }

// The path record of a model object; -2 for an object the record cannot
// describe.
Ret pathOf(RaidObject* object, _LDTree& path)
{
    const Adapter* adapter = nullptr;
    _LDTree record = {};
    unsigned channel = 0, target = 0, logical = 0;
    if (object->isInstanceOf("Adapter")) {
        adapter = dynamic_cast<Adapter*>(object);
        record.kind = LDTREE_ADAPTER;
    } else if (object->isInstanceOf("HardDrive")) {
        const PhysicalDevice* drive = dynamic_cast<PhysicalDevice*>(object);
        if (drive) {
            adapter = drive->getAdapter();
            channel = drive->getChannel() ? drive->getChannel()->getChannelID() : drive->getChannelID();
            target = drive->getDeviceID();
        }
        record.kind = LDTREE_HARD_DRIVE;
    } else if (object->isInstanceOf("LogicalDrive")) {
        const LogicalDrive* drive = dynamic_cast<LogicalDrive*>(object);
        if (drive)
            adapter = drive->getAdapter();
        logical = object->getLogicalDriveID();
        record.kind = LDTREE_LOGICAL_DRIVE;
    }
    // Ids the record cannot hold would print the text of another object.
    if (!adapter || adapter->getPCIBus() > 0xFF || adapter->getPciDevice() > 0xFF ||
        adapter->getPCIFunction() > 0xFF || channel > 0xFF || target > 0xFFFF || logical > 0xFFFF)
        return Ret(Ret::BAD_PARAM);
    record.pciBus = static_cast<uint8_t>(adapter->getPCIBus());
    record.pciDevice = static_cast<uint8_t>(adapter->getPciDevice());
    record.pciFunction = static_cast<uint8_t>(adapter->getPCIFunction());
    record.channel = static_cast<uint8_t>(channel);
    record.target = static_cast<uint16_t>(target);
    record.logicalDrive = static_cast<uint16_t>(logical);
    path = record;
    return Ret(Ret::SUCCESS);
}

} // namespace

PelmLib::PelmLib() : StorLibPlugin(STORLIB_PELM) {}

PelmLib::~PelmLib() = default;

void* PelmLib::operator new(std::size_t size) noexcept
{
    if (pelmsim::detail::allocationFails())
        return nullptr;
    return ::operator new(size, std::nothrow);
}

void PelmLib::operator delete(void* block) noexcept { ::operator delete(block); }

System* PelmLib::newSystem()
{
    if (pelmsim::detail::configurationReadFails())
        return nullptr;
    return new PelmSystem;
}

Ret PelmLib::getEvents(const Addr& addrIN, unsigned long from, char** text)
{
    return loggedCall("getEvents", adapterOf(addrIN), addrIN, from, [&]() {
        System* system = getSystem();
        if (!system || !text)
            return Ret(Ret::BAD_PARAM);
        RaidObject* object = system->findChild(addrIN);
        PelmAdapter* adapter = object && object->isInstanceOf("PelmAdapter") ? dynamic_cast<PelmAdapter*>(object)
                                                                               : nullptr;
        if (!adapter)
            return Ret(Ret::OBJECT_NOT_FOUND);
        std::string list;
        Ret ret = adapter->getEvents(from, list);
        if (ret.getReturn() != Ret::SUCCESS)
            return ret;
        char* buffer = pelmsim::detail::allocationFails() ? nullptr : new (std::nothrow) char[list.size() + 1];
        if (!buffer)
            return Ret(Ret::RESOURCE);
        std::memcpy(buffer, list.c_str(), list.size() + 1);
        delete[] *text;
        *text = buffer;
        return ret;
    });
}

Ret PelmLib::getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT)
{
    return loggedCall("getTasks", adapterOf(addrIN), addrIN, 0,
                      [&]() { return StorLibPlugin::getTasks(addrIN, tasksINOUT); });
}

Ret PelmLib::getPath(Addr& addrIN, _LDTree& path)
{
    return loggedCall("getPath", adapterOf(addrIN), addrIN, 0, [&]() {
        System* system = getSystem();
        if (!system)
            return Ret(Ret::BAD_PARAM);
        RaidObject* object = system->findObject(addrIN);
        return object ? pathOf(object, path) : Ret(Ret::OBJECT_NOT_FOUND);
    });
}

Ret PelmLib::getPath(RaidObject* object, _LDTree& path)
{
    const Addr address = object ? object->getAddr() : Addr();
    return loggedCall("getPath", adapterOf(address), address, 0,
                      [&]() { return object ? pathOf(object, path) : Ret(Ret::BAD_PARAM); });
}
