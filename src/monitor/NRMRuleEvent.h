#ifndef NRMRULEEVENT_H
#define NRMRULEEVENT_H

// How the change-detection rules make their events: the id and name of the
// event's definition, the severity the rule gives, the text, the object type
// of the definition and the adapter's id and serial. The rules fill in the
// ids of the object itself. A state-change companion copies the text of the
// event it follows, so a text is resolved once from the catalogue.

#include <string>
#include <utility>

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

} // namespace nrmrule

#endif
