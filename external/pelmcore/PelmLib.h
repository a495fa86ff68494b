#ifndef PELMLIB_H
#define PELMLIB_H

// libpelmcore: the storage library of the Pelm family (library type 7),
// built on the storage library interface and the object model of
// libtarnellcore, over simulated controllers (PelmSim.h). See README.md
// beside this file.

#include <cstddef>

#include "LDPathUtils.h"
#include "PelmAdapter.h"
#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/System.h"

// The root of a Pelm configuration: one PelmAdapter per simulated controller,
// with its channels, disks, logical drives and their chunks.
class STOR_EXPORT PelmSystem : public System {
public:
    PelmSystem();
    ~PelmSystem() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // Reads every controller; one that cannot be read is left out and its
    // code recorded in ret. lib is not used.
    void buildChildren(StorLib* lib, Ret& ret) override;
    using System::buildChildren;
    // The number of controllers the simulation holds now.
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override;
};

class STOR_EXPORT PelmLib : public StorLibPlugin {
public:
    PelmLib();
    ~PelmLib() override;

    // The library object itself can be made to fail (pelmsim::failNextAllocation):
    // then a new expression yields null.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* block) noexcept;

    // A new, empty PelmSystem; null when the configuration read is made to fail.
    System* newSystem() override;

    // The controller's event list with the events numbered from on, in
    // ascending order, in a new text that replaces (and releases) the one in
    // *text. 0; -2 without a current system or with a null text; -12 when
    // the address names no controller (or it is gone); -3 when the text
    // cannot be allocated. On a failure *text is left as it was.
    using StorLibPlugin::getEvents;
    Ret getEvents(const Addr& addrIN, unsigned long from, char** text) override;
    // The task of a logical drive (one record, type 0 when it runs none);
    // the base operation's answers otherwise.
    using StorLibPlugin::getTasks;
    Ret getTasks(const Addr& addrIN, ProgressCollection& tasksINOUT) override;

    // The path record of a controller, hard drive or logical drive, found at
    // the address in the current system or given as an object. 0; -2
    // without a current system, for a null object, an object of another
    // class or one without controller, or ids the record cannot hold; -12
    // when the address names nothing.
    Ret getPath(Addr& addrIN, _LDTree& path);
    Ret getPath(RaidObject* object, _LDTree& path);
};

#endif
