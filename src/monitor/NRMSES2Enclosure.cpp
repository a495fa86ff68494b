#include "monitor/NRMSES2Enclosure.h"

#ifndef MONITOR_WITHOUT_SES2

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMSASPhy.h"
#include "monitor/NRMSnapshotReader.h"

// ---- NRMSESElement ----

NRMSESElement::NRMSESElement() {}

NRMSESElement::~NRMSESElement() {}

bool NRMSESElement::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "NRMSESElement") == 0) || SESElement::isInstanceOf(className);
}

void NRMSESElement::writeTo(Writer* writer) const { SESElement::writeTo(writer); }

void NRMSESElement::build(SESElement* live)
{
    if (!live)
        return;
    type = live->getType();
    status = live->getStatus();
    descriptor = live->getDescriptor();
    for (RaidObject* child : live->getChildren()) {
        if (child && child->isInstanceOf("SASPhy"))
            nrmsnapshot::addCopy(this, new NRMSASPhy(), static_cast<SASPhy*>(child));
    }
}

void NRMSESElement::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(12);
    nrmsnapshot::readElement(
        parser, "SESElement", xmlAttributes, [](const char*) {},
        [this](SimpleXmlParser& p) {
            if (p.tagIs("SASPhy"))
                addChild(nrmsnapshot::readChild(new NRMSASPhy(), p));
        });
    type = static_cast<int32_t>(xmlAttributes.GetULong("elementType"));
    status = xmlAttributes.GetULong("status");
    descriptor = xmlAttributes.GetValue("descriptor");
}

// ---- NRMSES2Enclosure ----

NRMSES2Enclosure::NRMSES2Enclosure(Adapter* owner, Channel* channelOwner)
{
    adapter = owner;
    channel = channelOwner;
}

NRMSES2Enclosure::~NRMSES2Enclosure() {}

bool NRMSES2Enclosure::isInstanceOf(const char* className) const
{
    return (className && std::strcmp(className, "NRMSES2Enclosure") == 0) ||
           SES2EnclosureDevice::isInstanceOf(className);
}

void NRMSES2Enclosure::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    SES2EnclosureDevice::writeTo(writer);
    writer->writeBool("sesDataValid", sesDataValid);
}

void NRMSES2Enclosure::descendantAdded(RaidObject* descendant)
{
    SES2EnclosureDevice::descendantAdded(descendant);
    const RaidObject* parent = descendant ? descendant->getParent() : nullptr;
    if (parent && parent != this && parent->isInstanceOf("SESElement"))
        descendant->getAddr2().setItemID(parent->getItemID());
}

void NRMSES2Enclosure::build(SES2EnclosureDevice* live)
{
    if (!live)
        return;
    nrmsnapshot::DeviceFields::copy(*this, *live);
    for (RaidObject* child : live->getChildren()) {
        if (child && child->isInstanceOf("SESElement"))
            nrmsnapshot::addCopy(this, new NRMSESElement(), static_cast<SESElement*>(child));
    }
    sesDataValid = live->isSESDataValid();
}

void NRMSES2Enclosure::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(24);
    nrmsnapshot::DeviceFields::read(*this, parser, "SESEnclosureDevice", [this](SimpleXmlParser& p) {
        if (p.tagIs("SESElement"))
            addChild(nrmsnapshot::readChild(new NRMSESElement(), p));
    });
    sesDataValid = xmlAttributes.GetBool("sesDataValid");
}

#endif
