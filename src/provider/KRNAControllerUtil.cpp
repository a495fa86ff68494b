// The ports of a controller and the key texts of controller-side instances.
#include "KRNAControllerUtil.h"

#include <cstdio>

#include "KRNAProvUtil.h"
#include "RaidModel/Filters/FilterCollection.h"
#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/HardDrive.h"

namespace corvanecimple {

namespace {

// The objects of the class in the subtree of root, breadth first.
std::vector<RaidObject*> collect(RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    FilterCollection* all = new FilterCollection(root);
    if (!all)
        return found;
    all->apply(className, false);
    for (unsigned long i = 0; i < all->size(); i++)
        found.push_back(all->elementAt(static_cast<int>(i)));
    delete all;
    return found;
}

} // namespace

void KRNAControllerUtil::getAdapterPorts(Adapter* adapter, std::vector<RaidObject*>& ports)
{
    if (!adapter)
        return;
    for (RaidObject* channel : collect(adapter, "Channel")) {
        if (!channel->isInstanceOf("SATAChannel")) {
            ports.push_back(channel);
            continue;
        }
        for (RaidObject* drive : collect(channel, "HardDrive"))
            ports.push_back(drive);
    }
}

KRNAPort::KRNAPort(RaidObject* objectIN) : kind(NONE), object(objectIN), portChannel(nullptr), portNumber(0)
{
    if (!object)
        return;
    if (object->isInstanceOf("HardDrive")) {
        kind = DRIVE;
        portChannel = static_cast<HardDrive*>(object)->getChannel();
        portNumber = static_cast<int>(object->getAddr().getDeviceID());
    } else if (object->isInstanceOf("Channel")) {
        kind = CHANNEL;
        portChannel = static_cast<Channel*>(object);
        portNumber = static_cast<int>(object->getAddr().getChannelID());
    }
}

int KRNAPort::channelType() const { return portChannel ? static_cast<int>(portChannel->getChannelType()) : -1; }

const char* KRNAPort::word() const { return kind == DRIVE ? "Port" : "Channel"; }

cimple::String KRNAPort::identifier() const
{
    Adapter* adapter = nullptr;
    if (portChannel)
        adapter = portChannel->getAdapter();
    else if (kind == DRIVE)
        adapter = static_cast<HardDrive*>(object)->getAdapter();
    char number[16];
    snprintf(number, sizeof number, ":%i", portNumber);
    return krnaAdapterUniqueID(adapter) + number;
}

bool krnaCheckPort(const KRNAPort& port, RaidObject* object, KRNALogger& logger, const char* provider)
{
    if (port.valid())
        return true;
    logger.error("(%s) ERROR: Invalid device type %s\n", provider, object ? object->typeName() : "(null)");
    return false;
}

cimple::String krnaAdapterUniqueID(Adapter* adapter)
{
    char id[KRNAProvUtil::UNIQUE_ID_SIZE] = "";
    KRNAProvUtil::getAdapterUniqueID(adapter, id);
    return id;
}

cimple::String krnaHostName()
{
    char host[KRNAProvUtil::HOST_NAME_SIZE];
    KRNAProvUtil::getSystemName(host, sizeof host);
    return host;
}

cimple::String krnaAdapterVendor(Adapter* adapter)
{
    cimple::String vendor;
    if (adapter && adapter->getDeviceVendor()[0] != '\0')
        KRNAProvUtil::getAdapterVendorName(adapter, vendor);
    return vendor;
}

KRNATransport krnaTransport(int channelType)
{
    switch (channelType) {
    case SCSI:
        return {1, 3, "Parallel SCSI"};
    case SATA:
        return {1, 100, "Serial ATA"};
    case IDE:
        return {1, 101, "Parallel ATA"};
    case FIBRE:
        return {18, 2, nullptr};
    case SAS:
        return {1, 8, "Serial Attached SCSI"};
    default:
        return {1, 1, "Other"};
    }
}

} // namespace corvanecimple
