#include "monitor/NRMAdapter.h"

#include <cstring>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/TextCopy.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Serialization/Writer.h"
#include "monitor/NRMChannel.h"
#include "monitor/NRMLogicalDrive.h"
#include "monitor/NRMSASPhy.h"
#include "monitor/NRMSnapshotReader.h"

namespace {

const Limit LIMITS[] = {MAX_LOGICAL_DRIVES, MAX_ARRAYS,    MAX_SPANNED_ARRAYS,   MAX_CHANNELS,
                        MAX_TARGET_ID,      MAX_DEVICES_PER_ARRAY, MAX_CONTROLLERS};

} // namespace

NRMAdapter::NRMAdapter() {}

NRMAdapter::~NRMAdapter() {}

bool NRMAdapter::isInstanceOf(const char* className) const
{
    return isClassName(className, "NRMAdapter") || Adapter::isInstanceOf(className);
}

void NRMAdapter::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    Adapter::writeTo(writer);
    writer->writeString("LDPath", LDPath.c_str());
    writer->writeString("controllerSerial", serialNumString);
    writer->writeULong("pciBus", pciBus);
    writer->writeULong("pciDevice", pciDevice);
    writer->writeULong("pciFunction", pciFunction);
    writer->writeInt("batStatus", batStatus);
    writer->writeInt("batTempWarning", batTempWarning ? 1 : 0);
    writer->writeInt("versionMatchStatus", versionMatchStatus);
    writer->writeString("deviceVendor", deviceVendor);
    writer->writeString("deviceName", deviceName);
}

void NRMAdapter::build(Adapter* live)
{
    if (!live)
        return;
    myAddr2 = live->getAddr2();
    adapterType = live->getAdapterType();
    physicalSlot = live->getPhysicalSlot();
    adapterStatus = live->getAdapterStatus();
    copyVersion(biosVersion, live->getBiosVersion());
    copyVersion(firmwareVersion, live->getFirmwareVersion());
    copyVersion(driverVersion, live->getDeviceDriverVersion());
    copyText(deviceVendor, live->getDeviceVendor());
    copyText(deviceName, live->getDeviceName());
    pciBus = live->getPCIBus();
    pciDevice = live->getPciDevice();
    pciFunction = live->getPCIFunction();
    batStatus = live->getBatStatus();
    batTempWarning = live->IsBatTempWarning();
    versionMatchStatus = live->getVersionMatchStatus();
    copyText(serialNumString, live->getSerialNumString());
    for (Limit limit : LIMITS)
        setLimit(limit, live->getLimit(limit));

    for (RaidObject* child : live->getChildren()) {
        if (!child)
            continue;
        if (child->isInstanceOf("Channel")) {
            nrmsnapshot::addCopy(this, new NRMChannel(this), static_cast<Channel*>(child));
        } else if (child->isInstanceOf("LogicalDrive")) {
            nrmsnapshot::addCopy(this, new NRMLogicalDrive(this), static_cast<LogicalDrive*>(child));
        } else if (child->isInstanceOf("Config")) {
            // The logical drives of every level below the configuration
            // become direct children, each once.
            std::vector<RaidObject*> drives;
            child->getChildren(drives, "LogicalDrive", true, true);
            for (RaidObject* d : drives) {
                nrmsnapshot::addCopy(this, new NRMLogicalDrive(this), static_cast<LogicalDrive*>(d));
            }
        }
#ifndef MONITOR_WITHOUT_SES2
        else if (child->isInstanceOf("SASPhy")) {
            nrmsnapshot::addCopy(this, new NRMSASPhy(), static_cast<SASPhy*>(child));
        }
#endif
    }
}

void NRMAdapter::build(SimpleXmlParser& parser)
{
    xmlAttributes.setInitElements(64);
    nrmsnapshot::readElement(
        parser, "Controller", xmlAttributes,
        [this](const char* name) {
            if (std::strcmp(name, "controllerID") == 0)
                myAddr2.setAdapterID(xmlAttributes.GetULong(name));
        },
        [this](SimpleXmlParser& p) {
            if (p.tagIs("Channel"))
                addChild(nrmsnapshot::readChild(new NRMChannel(this), p));
            else if (p.tagIs("LogicalDrive"))
                addChild(nrmsnapshot::readChild(new NRMLogicalDrive(this), p));
#ifndef MONITOR_WITHOUT_SES2
            else if (p.tagIs("SASPhy"))
                addChild(nrmsnapshot::readChild(new NRMSASPhy(), p));
#endif
        });

    const XmlAttributeList_C& a = xmlAttributes;
    // The model code only: a read address keeps library type 0.
    adapterType = a.GetLong("controllerType");
    physicalSlot = a.GetLong("physicalSlot");
    adapterStatus = static_cast<EnumControllerStatus>(a.GetLong("controllerStatus"));
    copyVersion(biosVersion, a.GetValue("biosVersion"));
    copyVersion(firmwareVersion, a.GetValue("firmwareVersion"));
    copyVersion(driverVersion, a.GetValue("driverVersion"));
    copyText(deviceVendor, a.GetValue("deviceVendor"));
    copyText(deviceName, a.GetValue("deviceName"));
    pciBus = a.GetULong("pciBus");
    pciDevice = a.GetULong("pciDevice");
    pciFunction = a.GetULong("pciFunction");
    batStatus = static_cast<EnumBatteryStatus>(a.GetLong("batStatus"));
    batTempWarning = a.GetBool("batTempWarning");
    versionMatchStatus = static_cast<EnumCodeVersionStatus>(a.GetLong("versionMatchStatus"));
    copyText(serialNumString, a.GetValue("controllerSerial"));
    maxLogicalDrives = a.GetLong("maxLogicalDrives");
    maxArrays = a.GetLong("maxArrays");
    maxSpannedArrays = a.GetLong("maxSpannedArrays");
    maxChannels = a.GetLong("maxChannels");
    maxTargetID = a.GetLong("maxID");
    maxDevicesPerArray = a.GetLong("maxDevicesPerArray");
    maxControllers = a.GetLong("maxControllers");
}
