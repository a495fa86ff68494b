// The phrases that name objects in event texts: catalogue keys filled with
// the object's numbers.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "RaidLib/Util/SESElements.h"
#include "RaidLib/Util/StrToNum32.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/Enclosure.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/LogicalDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SATAChannel.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "monitor/BaseRaidMonitor.h"

namespace {

const char* const UNSET_TEXT = "2147483647";

// An id in decimal, increased by one where it counts from 1 for the reader.
// An unset id is written as it is: increased it would overflow.
std::string idText(uint32_t id, bool fromOne)
{
    if (id == STORID_UNDEFINED)
        return UNSET_TEXT;
    return NLSParser::itoa(static_cast<int32_t>(fromOne ? id + 1u : id), 10);
}

std::vector<RaidObject*> below(const RaidObject* root, const char* className)
{
    std::vector<RaidObject*> found;
    root->getChildren(found, className, true, true);
    return found;
}

#ifndef MONITOR_WITHOUT_SES2
// The slot number of an element descriptor: the number right after its
// first "SLOT " or "slot " marker, wherever it stands (0 when no digits
// follow). False without a marker.
bool slotOfDescriptor(const char* descriptor, int32_t& slot)
{
    const char* upper = std::strstr(descriptor, "SLOT ");
    const char* lower = std::strstr(descriptor, "slot ");
    const char* marker = !upper ? lower : !lower ? upper : (upper < lower ? upper : lower);
    if (!marker)
        return false;
    slot = strToI32(marker + 5, 10);
    return true;
}
#endif

// The drive's world wide name: the eight bytes of its two words in storage
// order, low byte of the first word first.
std::string wwnText(const PhysicalDevice* drive)
{
    const uint32_t words[2] = {drive->getWWN0(), drive->getWWN1()};
    char text[17];
    int used = 0;
    for (uint32_t word : words)
        for (int shift = 0; shift < 32; shift += 8)
            used += snprintf(text + used, sizeof text - static_cast<size_t>(used), "%02X",
                             static_cast<unsigned>((word >> shift) & 0xFF));
    return text;
}

} // namespace

std::string BaseRaidMonitor::getDetailedAdapterID(Adapter* adapter)
{
    if (!adapter)
        return std::string();
    std::string description;
    if (*adapter->getDeviceVendor())
        description += std::string(" ") + adapter->getDeviceVendor();
    if (*adapter->getDeviceName())
        description += std::string(" ") + adapter->getDeviceName();
    if (*adapter->getSerialNumString())
        description += std::string(" #") + adapter->getSerialNumString();
    const int slot = adapter->getPhysicalSlot();
    return catalogue.get("eventArgController2",
                         std::vector<std::string>{idText(adapter->getAdapterID(), true), description,
                                                  slot == NRM_UNSET ? "Unknown" : NLSParser::itoa(slot, 10)});
}

std::string BaseRaidMonitor::getEventID(Adapter* adapter)
{
    if (!adapter)
        return std::string();
    return catalogue.get("eventArgController", std::vector<std::string>{getDetailedAdapterID(adapter)});
}

std::string BaseRaidMonitor::adapterPhrase(Adapter* adapter)
{
    return adapter ? getDetailedAdapterID(adapter) : std::string(UNSET_TEXT);
}

std::string BaseRaidMonitor::getEventID(Channel* channel)
{
    if (!channel)
        return std::string();
    return catalogue.get("eventArgControllerChannel", std::vector<std::string>{adapterPhrase(channel->getAdapter()),
                                                                               idText(channel->getChannelID(), true)});
}

std::string BaseRaidMonitor::getEventID(LogicalDrive* logicalDrive)
{
    if (!logicalDrive)
        return std::string();
    std::string number = idText(logicalDrive->getLogicalDriveID(), true);
    if (logicalDrive->isInstanceOf("VeskBasicLogicalDrive"))
        number = catalogue.get("eventArgControllerLogicalDrive2",
                               std::vector<std::string>{getLogicalName(logicalDrive), number});
    return catalogue.get("eventArgControllerLogicalDrive",
                         std::vector<std::string>{adapterPhrase(logicalDrive->getAdapter()), number});
}

std::string BaseRaidMonitor::getEventID(HardDrive* hardDrive)
{
    if (!hardDrive || !hardDrive->isInstanceOf("HardDrive"))
        return std::string();
    Adapter* adapter = hardDrive->getAdapter();
    const std::string phrase = adapterPhrase(adapter);
    Channel* channel = hardDrive->getChannel();
    if (channel && channel->getChannelType() == SAS)
        return sasPhrase(phrase, adapter, hardDrive);
    if (channel && adapter && channel->getChannelType() == SATA)
        return sataPhrase(phrase, adapter, hardDrive);
    return scsiPhrase(phrase, channel, hardDrive);
}

std::string BaseRaidMonitor::scsiPhrase(const std::string& adapter, Channel* channel, HardDrive* hardDrive)
{
    return catalogue.get("eventArgControllerScsiDevice",
                         std::vector<std::string>{adapter, channel ? idText(channel->getChannelID(), true) : UNSET_TEXT,
                                                  idText(hardDrive->getDeviceID(), false)});
}

std::string BaseRaidMonitor::sataPhrase(const std::string& adapter, Adapter* owner, HardDrive* hardDrive)
{
    const uint32_t deviceID = hardDrive->getDeviceID();
    for (RaidObject* object : below(owner, "Enclosure")) {
        auto* enclosure = static_cast<Enclosure*>(object);
        if (!isSafteDataValid(enclosure))
            continue;
        const uint32_t slot = getSlotNumberFromDeviceID(enclosure, static_cast<int>(deviceID));
        if (slot != STORID_UNDEFINED)
            return catalogue.get("eventArgControllerSATADeviceEnclosure",
                                 std::vector<std::string>{adapter, idText(enclosure->getDeviceID(), false),
                                                          idText(slot, false)});
    }
    // Ports count through the adapter's SATA channels, from 0.
    const uint32_t channelID = hardDrive->getChannel()->getChannelID();
    uint32_t base = 0;
    for (RaidObject* object : below(owner, "SATAChannel")) {
        auto* channel = static_cast<SATAChannel*>(object);
        if (channel->getChannelID() == channelID) {
            const int32_t sataPort = hardDrive->getSataPortNumber();
            const uint32_t port = sataPort == NRM_UNSET ? deviceID : static_cast<uint32_t>(sataPort);
            return catalogue.get("eventArgControllerSATADevice",
                                 std::vector<std::string>{adapter, NLSParser::itoa(static_cast<int32_t>(base + port), 10)});
        }
        base += channel->getPortCount();
    }
    return scsiPhrase(adapter, hardDrive->getChannel(), hardDrive);
}

std::string BaseRaidMonitor::sasPhrase(const std::string& adapter, Adapter* owner, HardDrive* hardDrive)
{
#ifndef MONITOR_WITHOUT_SES2
    const bool vesk = owner && owner->isInstanceOf("VeskAdapter");
    for (RaidObject* object : owner ? below(hardDrive, "SASPhy") : std::vector<RaidObject*>()) {
        auto* phy = static_cast<SASPhy*>(object);
        if (phy->getAttachedDeviceType() == SAS_NO_DEVICE)
            continue;
        // The enclosure slot whose element lists the same link.
        for (RaidObject* e : below(owner, "SES2EnclosureDevice")) {
            auto* enclosure = static_cast<SES2EnclosureDevice*>(e);
            if (!vesk && !enclosure->isSESDataValid())
                continue;
            for (RaidObject* el : below(enclosure, "SESElement")) {
                auto* element = static_cast<SESElement*>(el);
                for (RaidObject* ep : below(element, "SASPhy")) {
                    auto* elementPhy = static_cast<SASPhy*>(ep);
                    int32_t slot = 0;
                    if (std::strcmp(elementPhy->getSASAddress(), phy->getSASAddress()) == 0 &&
                        std::strcmp(elementPhy->getAttachedSASaddress(), phy->getAttachedSASaddress()) == 0 &&
                        slotOfDescriptor(element->getDescriptor(), slot))
                        return catalogue.get("eventArgControllerSASDeviceEnclosure",
                                             std::vector<std::string>{adapter, idText(enclosure->getDeviceID(), false),
                                                                      NLSParser::itoa(slot, 10)});
                }
            }
        }
        // A phy of the adapter at the other end of the drive's link.
        for (RaidObject* ap : below(owner, "SASPhy")) {
            auto* adapterPhy = static_cast<SASPhy*>(ap);
            if (adapterPhy->getPhyID() == phy->getAttachedPhyID() && adapterPhy->getAttachedPhyID() == phy->getPhyID() &&
                std::strcmp(adapterPhy->getSASAddress(), phy->getAttachedSASaddress()) == 0 &&
                std::strcmp(adapterPhy->getAttachedSASaddress(), phy->getSASAddress()) == 0)
                return catalogue.get("eventArgControllerSASDeviceDirect",
                                     std::vector<std::string>{adapter, idText(adapterPhy->getPhyID(), false)});
        }
    }
#else
    (void)owner;
#endif
    return catalogue.get("eventArgControllerSASDeviceWWN", std::vector<std::string>{adapter, wwnText(hardDrive)});
}

std::string BaseRaidMonitor::getReplacementID(PhysicalDevice* device)
{
    if (!device)
        return std::string();
    const std::string fru = device->getFruNumber();
    if (!fru.empty())
        return catalogue.get("deviceArgFRU", std::vector<std::string>{fru});
    const std::string vendor = device->getVendor();
    const std::string model = device->getModel();
    if (!vendor.empty() && !model.empty())
        return catalogue.get("deviceArgVendorModel", std::vector<std::string>{vendor, model});
    return std::string();
}

std::string BaseRaidMonitor::getQuickInit(LogicalDrive* logicalDrive)
{
    if (!logicalDrive || logicalDrive->getSubState() != LD_SUB_QUICK_INIT)
        return std::string();
    return ", Method = " + catalogue.get("LD_SUB_QUICK_INIT");
}

std::string BaseRaidMonitor::getRaidLevel(LogicalDrive* logicalDrive)
{
    if (!logicalDrive)
        return std::string();
    switch (logicalDrive->getRaidLevel()) {
    case RAID0:
        return "0";
    case RAID1:
        return "1";
    case RAID1E:
        return catalogue.get("infoLogDriveRAID1E");
    case RAID3:
        return "3";
    case RAID4:
        return "4";
    case RAID5:
        return "5";
    case RAID5E:
        return catalogue.get("infoLogDriveRAID5E");
    case RAID5EE:
        return catalogue.get("infoLogDriveRAID5EE");
    case RAID00:
        return catalogue.get("RAID00");
    case RAID10:
        return catalogue.get("RAID10");
    case RAID1E0:
        return catalogue.get("RAID1E0");
    case RAID50:
        return catalogue.get("RAID50");
    case SPANNED_VOLUME:
        return catalogue.get("infoLogDriveSpannedVolume");
    case RAID_VOLUME:
        return catalogue.get("infoLogDriveRaidVolume");
    case SIMPLE_VOLUME:
        return catalogue.get("infoLogDriveSimpleVolume");
    case RAID6:
        return "6";
    case RAID60:
        return catalogue.get("RAID60");
    default:
        return std::string();
    }
}

std::string BaseRaidMonitor::getSize(LogicalDrive* logicalDrive)
{
    Adapter* adapter = logicalDrive ? logicalDrive->getAdapter() : nullptr;
    if (!adapter)
        return "0 GB";
    const double space = static_cast<double>(static_cast<int64_t>(logicalDrive->getDataSpace64()));
    // The Pelm and Tarnell families report megabytes, the Vesk family 512-byte
    // blocks.
    double gigabytes = 0;
    if (adapter->isInstanceOf("PelmAdapter") || adapter->isInstanceOf("TarnellAdapter") ||
        adapter->getStorLibType() == STORLIB_TARNELL)
        gigabytes = space / 1024;
    else if (adapter->isInstanceOf("VeskAdapter"))
        gigabytes = space * 512 / 1073741824.0;
    const long long hundredths = static_cast<long long>(std::floor(gigabytes * 100 + 0.5));
    const long long magnitude = hundredths < 0 ? -hundredths : hundredths;
    char text[64];
    snprintf(text, sizeof text, "%s%lld.%02lld GB", hundredths < 0 ? "-" : "", magnitude / 100, magnitude % 100);
    return text;
}
