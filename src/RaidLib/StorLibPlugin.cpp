#include "RaidLib/StorLibPlugin.h"

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/System.h"

// The management operations live in StorLibMethods.cpp.

StorLibPlugin::StorLibPlugin(EnumStorLibType storlibTypeIN) : StorLib(storlibTypeIN)
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "StorLibPlugin::StorLibPlugin()");
}

StorLibPlugin::~StorLibPlugin()
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE_CORE_CONSTRUCT, "StorLibPlugin::~StorLibPlugin()");
}

Ret StorLibPlugin::getSystemConfigWithProxy(System* pProxySystemIN)
{
    StorDebugTracer tracer(storlibType, STOR_DEBUG_TRACE, "StorLibPlugin::getSystemConfigWithProxy()");
    Ret ret(0);
    try {
        System* pNewSystem = newSystem();
        if (!pNewSystem) {
            ret.setResource();
            StorErrorPrintf(storlibType, __FILE__, __LINE__, "*** Resource Error: %s ***", "pNewSystem = newSystem()");
            return ret;
        }
        // The family's controllers are added to the proxy, not to the new system.
        pNewSystem->setProxySystem(pProxySystemIN);
        adoptNewSystem(pNewSystem, ret);
    } catch (...) {
        setCaughtResult(storlibType, ret, __FILE__, __LINE__);
    }
    return ret;
}
