#ifndef TARNELLSYSTEM_H
#define TARNELLSYSTEM_H

// The root of one Tarnell configuration. Building it asks the controller C
// API for the controllers and adds one TarnellAdapter per controller; its XML
// element and attributes are those of System.

#include "RaidModel/Interface/System.h"

class STOR_EXPORT TarnellSystem : public System {
public:
    // An empty system of the Tarnell library type.
    TarnellSystem();
    // Also just a new empty system: nothing of right is copied.
    TarnellSystem(const TarnellSystem& right);
    TarnellSystem& operator=(const TarnellSystem&) = delete;
    ~TarnellSystem() override;

    bool isInstanceOf(const char* className) const override;
    // Adds the adapters of the controllers the C API reports; ret is left as
    // the caller set it (a controller that cannot be read is left out, with
    // its reason in the family log). A failed allocation leaves the system
    // empty and passes on; a TarnellLib given as lib is told how the build
    // ended (TarnellLib::buildEnded).
    void buildChildren(StorLib* lib, Ret& ret) override;
    using System::buildChildren;
    // The number of controllers the C API reports; both arguments are
    // ignored.
    uint32_t getControllerCount(StorLib* lib, Ret& ret) override;
};

#endif
