#ifndef VESKLIB_H
#define VESKLIB_H

// libveskcore: the storage library of the Vesk family (library type 9),
// built on the storage library interface and the object model of
// libtarnellcore, over simulated controllers (VeskSim.h). See README.md
// beside this file.

#include <cstddef>

#include "RaidLib/StorLibPlugin.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/System.h"
#include "VeskAdapter.h"

// The root of a Vesk configuration: one VeskAdapter per simulated
// controller, with its channels, disks, enclosures, arrays, logical drives
// and their chunks.
class STOR_EXPORT VeskSystem : public System {
public:
    VeskSystem();
    ~VeskSystem() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    // Reads every controller (one configuration read); ret gets -3 when an
    // adapter cannot be allocated. lib is not used.
    void buildChildren(StorLib* lib, Ret& ret) override;
    using System::buildChildren;
    // The number of controllers the simulation holds now.
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override;
};

class STOR_EXPORT VeskLib : public StorLibPlugin {
public:
    VeskLib();
    ~VeskLib() override;

    // The library object itself can be made to fail (vesksim::failNextAllocation):
    // then a new expression yields null.
    static void* operator new(std::size_t size) noexcept;
    static void operator delete(void* block) noexcept;

    System* newSystem() override;
};

#endif
