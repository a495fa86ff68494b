#include "monitor/NRMSystem.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "monitor/NRMAdapter.h"
#include "monitor/NRMProgress.h"
#include "monitor/NRMSnapshotReader.h"

NRMSystem::NRMSystem(EnumStorLibType type) : System(type) {}

NRMSystem::~NRMSystem() {}

bool NRMSystem::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "NRMSystem") == 0) || System::isInstanceOf(className);
}

void NRMSystem::writeTo(Writer*) const {}

void NRMSystem::buildChildren(StorLib*, Ret&) {}

uint32_t NRMSystem::getControllerCount(StorLib*, Ret&) { return 0; }

void NRMSystem::build(System* live)
{
    if (!live)
        return;
    for (RaidObject* child : live->getChildren()) {
        if (!child || !child->isInstanceOf("Adapter"))
            continue;
        nrmsnapshot::addCopy(this, new NRMAdapter(), static_cast<Adapter*>(child));
    }
}

bool NRMSystem::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(2);
    while (parser.parseNext()) {
        // The root's loop starts before the "System" element; from its start
        // tag on it is the common one.
        if (parser.tagIs("System")) {
            return nrmsnapshot::readElement(
                parser, "System", xmlAttributes, [](const char*) {},
                [this](SimpleXmlParser& p) {
                    if (p.tagIs("Controller"))
                        addChild(nrmsnapshot::readChild(new NRMAdapter(), p));
                    else if (p.tagIs("ProgressCollection"))
                        addChild(nrmsnapshot::readChild(new NRMProgressCollection(), p));
                });
        }
    }
    return false;
}
