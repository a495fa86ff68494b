#include "RaidModel/Interface/System.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Adapter.h"

System::System(EnumStorLibType type)
    : refCount(0), pProxySystem(nullptr), storlibType(type)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "System::System()");
}

System::~System()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "System::~System()");
    deleteAllChildren();
}

bool System::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "System") == 0) || RaidObject::isInstanceOf(className);
}

const char* System::typeName() const { return "System"; }

const char* System::serializedName() const { return "System"; }

void System::writeTo(Writer* writer) const { RaidObject::writeTo(writer); }

void System::addChild(RaidObject* child)
{
    osThreadLockerGrabber lock(refLocker);
    if (pProxySystem)
        pProxySystem->addChild(child);
    else
        RaidObject::addChild(child);
}

void System::addChild(RaidObject* child, unsigned long index)
{
    osThreadLockerGrabber lock(refLocker);
    if (pProxySystem)
        pProxySystem->addChild(child, index);
    else
        RaidObject::addChild(child, index);
}

void System::descendantAdded(RaidObject* descendant)
{
    RaidObject::descendantAdded(descendant);
    if (!descendant || !descendant->isInstanceOf("Adapter"))
        return;
    Adapter* adapter = static_cast<Adapter*>(descendant);
    const EnumStorLibType type = adapter->getStorLibType();
    auto it = adapterVec.begin();
    while (it != adapterVec.end() && (*it)->getStorLibType() <= type)
        ++it;
    adapterVec.insert(it, adapter);
}

uint32_t System::getControllerCount(StorLib*, Ret& ret)
{
    ret.setReturn(Ret::NOT_SUPPORTED);
    return 0;
}

Adapter* System::getAdapter(unsigned long n) const
{
    return n < adapterVec.size() ? adapterVec[n] : nullptr;
}

void System::DeleteAdapters(EnumStorLibType type)
{
    osThreadLockerGrabber lock(refLocker);
    for (;;) {
        auto it = adapterVec.begin();
        while (it != adapterVec.end() && (*it)->getStorLibType() != type)
            ++it;
        if (it == adapterVec.end())
            return;
        Adapter* adapter = *it;
        adapterVec.erase(it);
        deleteChild(adapter);
    }
}

void System::buildChildren(SimpleXmlParser& xmlParser)
{
    while (xmlParser.parseNext()) {
        if (xmlParser.tagIs(serializedName())) {
            if (xmlParser.foundEndTag())
                return;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        } else if (xmlParser.tagIs("Controller") && xmlParser.foundStartTag()) {
            // Elements of other names are not passed over as units: a
            // controller nested in one still belongs to this system.
            addChild(readController(xmlParser));
        }
    }
}

// The controller reads its own element, with everything inside it, up to the
// element's end.
Adapter* System::readController(SimpleXmlParser& xmlParser) { return new Adapter(xmlParser); }
