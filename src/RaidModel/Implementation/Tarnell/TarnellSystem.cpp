#include "RaidModel/Implementation/Tarnell/TarnellSystem.h"

#include <cstring>

#include "RaidLib/TarnellLib.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Implementation/Tarnell/TarnellConfigBuilder.h"

TarnellSystem::TarnellSystem() : System(STORLIB_TARNELL)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT, "TarnellSystem::TarnellSystem()");
}

TarnellSystem::TarnellSystem(const TarnellSystem& /*right: nothing is copied*/) : System(STORLIB_TARNELL)
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT,
                           "TarnellSystem::TarnellSystem(const TarnellSystem &)");
}

TarnellSystem::~TarnellSystem()
{
    StorDebugTracer tracer(STORLIB_TARNELL, STOR_DEBUG_TRACE_IMPL_CONSTRUCT, "TarnellSystem::~TarnellSystem()");
}

bool TarnellSystem::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "TarnellSystem") == 0) || System::isInstanceOf(className);
}

// A Tarnell library that asked for this system learns how its build ended.
// A build that fails (a failed allocation) empties the system before the
// failure passes on.
void TarnellSystem::buildChildren(StorLib* lib, Ret& /*ret*/)
{
    TarnellLib* family = dynamic_cast<TarnellLib*>(lib);
    try {
        TarnellConfigBuilder::buildSystem(this);
    } catch (...) {
        deleteAllChildren();
        if (family)
            family->buildEnded(this, false);
        throw;
    }
    if (family)
        family->buildEnded(this, true);
}

uint32_t TarnellSystem::getControllerCount(StorLib* /*lib*/, Ret& /*ret*/)
{
    return static_cast<uint32_t>(TarnellConfigBuilder::getControllerCount());
}
