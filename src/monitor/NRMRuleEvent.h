#ifndef NRMRULEEVENT_H
#define NRMRULEEVENT_H

// How the change-detection rules make their events: the id and name of the
// event's definition, the severity the rule gives, the text, the object type
// of the definition and the adapter's id and serial. The rules fill in the
// ids of the object itself. A state-change companion copies the text of the
// event it follows, so a text is resolved once from the catalogue. The
// rules walk an adapter's objects of one class and take a paired object only
// when it is of the class they expect.

#include <string>
#include <utility>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "monitor/NRMEventIds.h"

namespace nrmrule {

inline NRMEvent makeEvent(const NRMEventDef& def, int severity, std::string text, Adapter* adapter)
{
    NRMEvent event(def.id, severity, std::move(text), def.name);
    event.objectType = def.objectType;
    event.address.setAdapterID(adapter->getAdapterID());
    event.setAdapterSerial(adapter);
    return event;
}

// The objects of the class below the adapter, depth first, each once.
inline std::vector<RaidObject*> descendantsOf(Adapter* adapter, const char* className)
{
    std::vector<RaidObject*> found;
    adapter->getChildren(found, className, true, true);
    return found;
}

// The object as a T, or null when it is null or not of the class.
template <class T>
T* asClass(RaidObject* object, const char* className)
{
    return object && object->isInstanceOf(className) ? static_cast<T*>(object) : nullptr;
}

} // namespace nrmrule

#endif
