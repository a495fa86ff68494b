#ifndef TARNELLCONFIGBUILDER_H
#define TARNELLCONFIGBUILDER_H

// The enumeration of the Tarnell controllers through the C API.

#include "RaidLib/Util/StorExport.h"

class TarnellSystem;

class STOR_EXPORT TarnellConfigBuilder {
public:
    // The number of controllers the C API reports; 0 without the library.
    static int getControllerCount();
    // Adds to system one TarnellAdapter per controller the C API lists, in
    // list order; a controller whose adapter cannot be built is left out.
    // Without the library the system stays empty; a failed enumeration is
    // logged ("Retrieving adapter count failed") and adds nothing. A failed
    // allocation passes on as std::bad_alloc; the adapters added by then
    // stay in system, for its owner to discard.
    static void buildSystem(TarnellSystem* system);

    TarnellConfigBuilder() = delete;
};

#endif
