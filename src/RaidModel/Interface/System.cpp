#include "RaidModel/Interface/System.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
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

// Only the controller's address is restored here ("storlibType" and
// "controllerID"); the rest of its element, its subtree included, is passed
// over up to the element's end.
Adapter* System::readController(SimpleXmlParser& xmlParser)
{
    Adapter* adapter = new Adapter();
    if (!adapter)
        return nullptr;
    try {
        do {
            if (xmlParser.tagIs("Controller")) {
                if (xmlParser.foundEndTag())
                    break;
                if (xmlParser.nameIs("storlibType"))
                    adapter->getAddr2().setStorLibType(
                        static_cast<EnumStorLibType>(strToU32(xmlParser.getValue(), 10)));
                else if (xmlParser.nameIs("controllerID"))
                    adapter->getAddr2().setAdapterID(strToU32(xmlParser.getValue(), 10));
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        delete adapter;
        throw;
    }
    return adapter;
}
