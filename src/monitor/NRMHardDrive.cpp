#include "monitor/NRMHardDrive.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMSASPhy.h"
#include "monitor/NRMSnapshotReader.h"

NRMHardDrive::NRMHardDrive(Adapter* owner, Channel* channelOwner)
{
    adapter = owner;
    channel = channelOwner;
}

NRMHardDrive::~NRMHardDrive() {}

bool NRMHardDrive::isInstanceOf(const char* className) const
{
    return isClassName(className, "NRMHardDrive") || HardDrive::isInstanceOf(className);
}

void NRMHardDrive::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    HardDrive::writeTo(writer);
    writer->writeString("LDPath", LDPath.c_str());
    writer->writeBool("taskInProgress", taskInProgress);
}

void NRMHardDrive::build(HardDrive* live)
{
    if (!live)
        return;
    nrmsnapshot::DeviceFields::copy(*this, *live);
    size = live->getSize();
    pfaError = live->getPfaError();
    pfaSupported = live->getPfaSupported();
    bOSPartition = live->getOSPartitionInfo();
    taskInProgress = live->getTaskInProgress();
#ifndef MONITOR_WITHOUT_SES2
    for (RaidObject* child : live->getChildren()) {
        if (child && child->isInstanceOf("SASPhy"))
            nrmsnapshot::addCopy(this, new NRMSASPhy(), static_cast<SASPhy*>(child));
    }
#endif
}

void NRMHardDrive::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(48);
#ifndef MONITOR_WITHOUT_SES2
    auto onChild = [this](SimpleXmlParser& p) {
        if (p.tagIs("SASPhy"))
            addChild(nrmsnapshot::readChild(new NRMSASPhy(), p));
    };
#else
    auto onChild = [](SimpleXmlParser&) {};
#endif
    nrmsnapshot::DeviceFields::read(*this, parser, "HardDrive", onChild);
    const XmlAttributeList_C& a = xmlAttributes;
    size = a.GetU64("size");
    pfaError = a.GetBool("pfaError");
    pfaSupported = a.GetBool("pfaSupported");
    bOSPartition = a.GetBool("OSPartition");
    taskInProgress = a.GetBool("taskInProgress");
    LDPath = a.GetValue("LDPath");
}
