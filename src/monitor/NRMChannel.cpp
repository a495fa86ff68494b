#include "monitor/NRMChannel.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "monitor/NRMEnclosure.h"
#include "monitor/NRMHardDrive.h"
#include "monitor/NRMSES2Enclosure.h"
#include "monitor/NRMSnapshotReader.h"

NRMChannel::NRMChannel(Adapter* owner) { adapter = owner; }

NRMChannel::~NRMChannel() {}

bool NRMChannel::isInstanceOf(const char* className) const
{
    return isClassName(className, "NRMChannel") || Channel::isInstanceOf(className);
}

void NRMChannel::writeTo(Writer* writer) const { Channel::writeTo(writer); }

void NRMChannel::build(Channel* live)
{
    if (!live)
        return;
    myAddr2 = live->getAddr2();
    channelType = live->getChannelType();
    for (RaidObject* child : live->getChildren()) {
        if (!child)
            continue;
        if (child->isInstanceOf("HardDrive")) {
            nrmsnapshot::addCopy(this, new NRMHardDrive(adapter, this), static_cast<HardDrive*>(child));
        } else if (child->isInstanceOf("Enclosure")) {
            nrmsnapshot::addCopy(this, new NRMEnclosure(adapter, this), static_cast<Enclosure*>(child));
        }
#ifndef MONITOR_WITHOUT_SES2
        else if (child->isInstanceOf("SES2EnclosureDevice")) {
            nrmsnapshot::addCopy(this, new NRMSES2Enclosure(adapter, this), static_cast<SES2EnclosureDevice*>(child));
        }
#endif
    }
}

void NRMChannel::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(8);
    if (adapter)
        myAddr2.setAdapterID(adapter->getAdapterID());
    nrmsnapshot::readElement(
        parser, "Channel", xmlAttributes,
        [this](const char* name) {
            if (std::strcmp(name, "channelID") == 0)
                myAddr2.setChannelID(xmlAttributes.GetULong(name));
        },
        [this](SimpleXmlParser& p) {
            if (p.tagIs("HardDrive"))
                addChild(nrmsnapshot::readChild(new NRMHardDrive(adapter, this), p));
            else if (p.tagIs("Enclosure"))
                addChild(nrmsnapshot::readChild(new NRMEnclosure(adapter, this), p));
#ifndef MONITOR_WITHOUT_SES2
            else if (p.tagIs("SESEnclosureDevice"))
                addChild(nrmsnapshot::readChild(new NRMSES2Enclosure(adapter, this), p));
#endif
        });
    channelType = static_cast<EnumChannelType>(xmlAttributes.GetLong("channelType"));
}
