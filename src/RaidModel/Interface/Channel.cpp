#include "RaidModel/Interface/Channel.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidModel/Interface/CDROMDrive.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/OtherDevice.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "RaidModel/Interface/TapeDrive.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

template <class Device>
PhysicalDevice* readDevice(Adapter* adapter, Channel* channel, SimpleXmlParser& xmlParser)
{
    return new Device(adapter, channel, xmlParser);
}

// The device elements a channel reads, by element name. Elements of other
// devices ("Printer", "UnknownDevice", ...) are passed over with what they
// contain.
struct DeviceReader {
    const char* element;
    PhysicalDevice* (*read)(Adapter*, Channel*, SimpleXmlParser&);
    bool sesDevice; // read only below SAS channels
};

const DeviceReader deviceReaders[] = {
    {"HardDrive", readDevice<HardDrive>, false},
    {"TapeDrive", readDevice<TapeDrive>, false},
    {"CDROMDrive", readDevice<CDROMDrive>, false},
    {"Enclosure", readDevice<Enclosure>, false},
    {"PhysicalDevice", readDevice<OtherDevice>, false},
    {"SESEnclosureDevice", readDevice<SES2EnclosureDevice>, true},
};

} // namespace

Channel::Channel()
    : adapter(nullptr), transferSpeed(SPEED_UNKNOWN), channelType(SCSI)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Channel::Channel()");
}

Channel::Channel(Adapter* adapterIN, unsigned long channelIDIN, EnumChannelType channelTypeIN,
                 EnumSpeed transferSpeedIN)
    : adapter(adapterIN), transferSpeed(transferSpeedIN), channelType(channelTypeIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Channel::Channel(Adapter *, ...)");
    myAddr2.setChannelID(static_cast<STORID_T>(channelIDIN));
}

Channel::Channel(const Channel& right)
    : RaidObject(right), adapter(right.adapter), transferSpeed(right.transferSpeed),
      channelType(right.channelType)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Channel::Channel(const Channel &)");
    myAddr2.setChannelID(right.getChannelID());
}

Channel::~Channel()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Channel::~Channel()");
}

bool Channel::isInstanceOf(const char* className) const
{
    return isClassName(className, "Channel") || RaidObject::isInstanceOf(className);
}

const char* Channel::typeName() const { return "Channel"; }

const char* Channel::serializedName() const { return "Channel"; }

void Channel::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    writer->writeInt("transferSpeed", transferSpeed);
    writer->writeInt("channelSpeed", transferSpeed);
    writer->writeInt("channelType", channelType);
}

bool Channel::operator==(const Channel& right) const
{
    return adapter == right.adapter && getChannelID() == right.getChannelID();
}

Channel& Channel::operator=(const Channel& right)
{
    if (this != &right) {
        adapter = right.adapter;
        myAddr2.setChannelID(right.getChannelID());
        transferSpeed = right.transferSpeed;
        channelType = right.channelType;
    }
    return *this;
}

Ret Channel::identifyDevice(bool) { return Ret(Ret::NOT_SUPPORTED); }

Ret Channel::setTransferSpeed(EnumSpeed) { return Ret(Ret::NOT_SUPPORTED); }

void Channel::descendantAdded(RaidObject* o)
{
    RaidObject::descendantAdded(o);
    if (!o)
        return;
    o->getAddr2().setChannelID(getChannelID());
    if (!o->isInstanceOf("PhysicalDevice"))
        return;
    allPhysicalsVec.push_back(o);
    if (o->isInstanceOf("HardDrive"))
        hardDriveVec.push_back(o);
    else if (o->isInstanceOf("Enclosure"))
        enclosureVec.push_back(o);
    else if (o->isInstanceOf("SES2EnclosureDevice"))
        ses2EnclosureVec.push_back(o);
    else
        otherPhysicalsVec.push_back(o);
}

void Channel::build()
{
    initBaseAttributes();
    if (attribList.Exists("transferSpeed"))
        transferSpeed = static_cast<EnumSpeed>(attribList.GetULong("transferSpeed"));
    if (attribList.Exists("channelType"))
        channelType = static_cast<EnumChannelType>(attribList.GetULong("channelType"));
}

PhysicalDevice* Channel::newDevice(Adapter* adapterIN, SimpleXmlParser& xmlParser, bool sesDevices)
{
    if (!xmlParser.foundStartTag())
        return nullptr;
    for (const DeviceReader& reader : deviceReaders) {
        if (xmlParser.tagIs(reader.element) && (sesDevices || !reader.sesDevice))
            return reader.read(adapterIN, this, xmlParser);
    }
    return nullptr;
}

void Channel::readElement(Adapter* adapterIN, SimpleXmlParser& xmlParser, bool sesDevices)
{
    adapter = adapterIN;
    try {
        do {
            if (xmlParser.tagIs(serializedName())) {
                if (xmlParser.foundEndTag())
                    break;
                if (const char* name = xmlParser.getName()) {
                    attribList.Append(name, xmlParser.getValue());
                    if (std::strcmp(name, "channelID") == 0)
                        myAddr2.setChannelID(strToU32(xmlParser.getValue(), 10));
                }
            } else if (PhysicalDevice* device = newDevice(adapterIN, xmlParser, sesDevices)) {
                addChild(device);
            }
        } while (xmlParser.parseNext());
    } catch (...) {
        discardChildren();
        throw;
    }
    Channel::build();
}

// The channel being read goes away with the exception: so must the devices
// it holds, which are not listed anywhere else yet.
void Channel::discardChildren()
{
    deleteAllChildren();
    hardDriveVec.clear();
    enclosureVec.clear();
    ses2EnclosureVec.clear();
    allPhysicalsVec.clear();
    otherPhysicalsVec.clear();
}
