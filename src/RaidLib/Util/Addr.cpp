#include "RaidLib/Util/Addr.h"

#include <cinttypes>

Addr::Addr() { clear(); }

Addr::Addr(STORID_T adapter)
{
    clear();
    adapterID = adapter;
}

Addr::Addr(STORID_T adapter, STORID_T array, STORID_T logicalDrive, STORID_T channel,
           STORID_T device, BLOCK_T chunk, STORID_T item, STORID_T sasPhy)
    : adapterID(adapter),
      arrayID(array),
      logicalDriveID(logicalDrive),
      channelID(channel),
      deviceID(device),
      chunkID(chunk),
      itemID(item),
      sasPhyID(sasPhy)
{
}

Addr::Addr(const address& a)
    : adapterID(static_cast<STORID_T>(a.adapter)),
      arrayID(static_cast<STORID_T>(a.array)),
      logicalDriveID(static_cast<STORID_T>(a.logical)),
      channelID(static_cast<STORID_T>(a.channel)),
      deviceID(static_cast<STORID_T>(a.device)),
      chunkID(BLOCK_UNDEFINED),
      itemID(STORID_UNDEFINED),
      sasPhyID(STORID_UNDEFINED)
{
}

void Addr::clear()
{
    adapterID = arrayID = logicalDriveID = channelID = deviceID = STORID_UNDEFINED;
    chunkID = BLOCK_UNDEFINED;
    itemID = sasPhyID = STORID_UNDEFINED;
}

bool Addr::IsEqual(const Addr& o) const
{
    return adapterID == o.adapterID && arrayID == o.arrayID && logicalDriveID == o.logicalDriveID &&
           channelID == o.channelID && deviceID == o.deviceID && chunkID == o.chunkID &&
           itemID == o.itemID && sasPhyID == o.sasPhyID;
}

uint8_t Addr::getType() const
{
    const bool array = arrayID != STORID_UNDEFINED;
    const bool logical = logicalDriveID != STORID_UNDEFINED;
    const bool channel = channelID != STORID_UNDEFINED;
    const bool device = deviceID != STORID_UNDEFINED;
    const bool chunk = chunkID != BLOCK_UNDEFINED;
    const bool item = itemID != STORID_UNDEFINED;
    const bool phy = sasPhyID != STORID_UNDEFINED;

    if (adapterID == STORID_UNDEFINED)
        return ADDR_TYPE_INVALID;
    if (array)
        return (logical || channel || device || chunk || item || phy) ? ADDR_TYPE_INVALID
                                                                       : ADDR_TYPE_ARRAY;
    if (logical) {
        if (channel || device || item || phy)
            return ADDR_TYPE_INVALID;
        return chunk ? ADDR_TYPE_CHUNK : ADDR_TYPE_LOGICAL;
    }
    if (channel) {
        if (!device)
            return ADDR_TYPE_CHANNEL;
        if (!chunk) {
            if (phy)
                return ADDR_TYPE_SAS_PHY;
            return item ? ADDR_TYPE_ITEM : ADDR_TYPE_DEVICE;
        }
        return (item || phy) ? ADDR_TYPE_INVALID : ADDR_TYPE_CHUNK;
    }
    if (device || chunk || item)
        return ADDR_TYPE_INVALID;
    return phy ? ADDR_TYPE_SAS_PHY : ADDR_TYPE_ADAPTER;
}

const char* Addr::typeLabel(uint8_t type)
{
    switch (type) {
    case ADDR_TYPE_ADAPTER: return "ADAPTER";
    case ADDR_TYPE_LOGICAL: return "LOGICAL";
    case ADDR_TYPE_DEVICE: return "DEVICE";
    case ADDR_TYPE_CHANNEL: return "CHANNEL";
    case ADDR_TYPE_CHUNK: return "CHUNK";
    case ADDR_TYPE_ITEM: return "ITEM (SAFTE or SESElement)";
    case ADDR_TYPE_SAS_PHY: return "SAS PHY";
    case ADDR_TYPE_STORLIB: return "STORLIB";
    case ADDR_TYPE_INVALID: return "INVALID";
    default: return "???";
    }
}

static const char kDumpRule[] = "-------------------------------------------------\n";

void Addr::debugIds(FILE* out) const
{
    fprintf(out, "getAdapterID()      =%u\n", adapterID);
    fprintf(out, "getArrayID()        =%u\n", arrayID);
    fprintf(out, "getLogicalDriveID() =%u\n", logicalDriveID);
    fprintf(out, "getChannelID()      =%u\n", channelID);
    fprintf(out, "getDeviceID()       =%u\n", deviceID);
    fprintf(out, "getChunkID()        =%" PRIu64 "\n", chunkID);
    fprintf(out, "getItemID()         =%u\n", itemID);
    fprintf(out, "getSASPhyID()       =%u\n", sasPhyID);
}

void Addr::debug(FILE* out) const
{
    fprintf(out, "%s", kDumpRule);
    fprintf(out, "Type                =%s\n", typeLabel(getType()));
    debugIds(out);
    fprintf(out, "%s", kDumpRule);
}

Addr2::Addr2() : Addr(), storlibType(STORLIB_UNKNOWN) {}

Addr2::Addr2(EnumStorLibType type, STORID_T adapter, STORID_T array, STORID_T logicalDrive,
             STORID_T channel, STORID_T device, BLOCK_T chunk, STORID_T item, STORID_T sasPhy)
    : Addr(adapter, array, logicalDrive, channel, device, chunk, item, sasPhy), storlibType(type)
{
}

Addr2::Addr2(EnumStorLibType type, const address& a) : Addr(a), storlibType(type) {}

Addr2& Addr2::operator=(const Addr& other)
{
    Addr::operator=(other);
    return *this;
}

void Addr2::clear()
{
    Addr::clear();
    storlibType = STORLIB_UNKNOWN;
}

bool Addr2::IsEqual2(const Addr2& other) const
{
    return storlibType == other.storlibType && IsEqual(other);
}

uint8_t Addr2::getType() const
{
    if (storlibType == STORLIB_UNKNOWN)
        return ADDR_TYPE_INVALID;
    const uint8_t t = Addr::getType();
    return t == ADDR_TYPE_INVALID ? static_cast<uint8_t>(ADDR_TYPE_STORLIB) : t;
}

void Addr2::debug(FILE* out) const
{
    fprintf(out, "%s", kDumpRule);
    fprintf(out, "Type                =%s\n", typeLabel(getType()));
    fprintf(out, "getStorLibType()     =%u\n", static_cast<unsigned>(storlibType));
    debugIds(out);
    fprintf(out, "%s", kDumpRule);
}
