#include "RaidModel/Interface/Chunk.h"

#include <cstring>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Interface/Channel.h"
#include "RaidModel/Interface/PhysicalDevice.h"
#include "RaidModel/Serialization/Writer.h"

Chunk::Chunk()
    : pProvider(nullptr), pProviderHardDrive(nullptr), pProviderLogical(nullptr), pConsumer(nullptr),
      startSector(0), numSector(0), reserved(0), group(0), chunkType(CHUNK_TYPE_METADATA),
      chunkState(CHUNK_NORMAL)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Chunk::Chunk()");
}

Chunk::Chunk(RaidObject* pProviderIN, RaidObject* pConsumerIN, BLOCK_T startSectorIN,
             BLOCK_T numSectorIN, EnumChunkType chunkTypeIN, unsigned long groupIN,
             EnumChunkState chunkStateIN)
    : pProvider(pProviderIN), pProviderHardDrive(nullptr), pProviderLogical(nullptr),
      pConsumer(pConsumerIN), startSector(startSectorIN), numSector(numSectorIN), reserved(0),
      group(static_cast<uint32_t>(groupIN)), chunkType(chunkTypeIN), chunkState(chunkStateIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Chunk::Chunk( RaidObject *, ...)");
    if (pProviderIN && pProviderIN->isInstanceOf("HardDrive")) {
        pProviderHardDrive = pProviderIN;
        // A drive not yet attached to a channel names its channel by its
        // own address.
        PhysicalDevice* drive = dynamic_cast<PhysicalDevice*>(pProviderIN);
        const Channel* channel = drive ? drive->getChannel() : nullptr;
        myAddr2.setChannelID(channel ? channel->getChannelID() : pProviderIN->getChannelID());
        myAddr2.setDeviceID(pProviderIN->getDeviceID());
        if (pConsumerIN && drive && drive->getState() == DRIVE_READY)
            drive->setStateProperty(DRIVE_ONLINE);
    } else if (pProviderIN && pProviderIN->isInstanceOf("LogicalDrive")) {
        pProviderLogical = pProviderIN;
        myAddr2.setLogicalDriveID(pProviderIN->getLogicalDriveID());
    }
    myAddr2.setChunkID(startSectorIN);
}

Chunk::Chunk(unsigned long channelIDIN, unsigned long deviceIDIN, BLOCK_T startSectorIN,
             BLOCK_T numSectorIN, unsigned long reservedIN, unsigned long groupIN,
             EnumChunkType chunkTypeIN, EnumChunkState chunkStateIN)
    : pProvider(nullptr), pProviderHardDrive(nullptr), pProviderLogical(nullptr), pConsumer(nullptr),
      startSector(startSectorIN), numSector(numSectorIN), reserved(static_cast<uint32_t>(reservedIN)),
      group(static_cast<uint32_t>(groupIN)), chunkType(chunkTypeIN), chunkState(chunkStateIN)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Chunk::Chunk(ULONG channelIDIN, ...) *** DEPRECATED ***");
    myAddr2.setChannelID(static_cast<STORID_T>(channelIDIN));
    myAddr2.setDeviceID(static_cast<STORID_T>(deviceIDIN));
    myAddr2.setChunkID(startSectorIN);
}

Chunk::Chunk(const Chunk& right) : RaidObject(right)
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Chunk::Chunk(const Chunk &)");
    copyFields(right);
}

Chunk::Chunk(SimpleXmlParser& xmlParser) : Chunk()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "Chunk::Chunk(SimpleXmlParser &xmlParser)");
    attribList.setInitElements(10);
    build(xmlParser);
}

Chunk::~Chunk()
{
    StorDebugTracer tracer(getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT, "Chunk::~Chunk()");
}

void Chunk::copyFields(const Chunk& right)
{
    pProvider = right.pProvider;
    pProviderHardDrive = right.pProviderHardDrive;
    pProviderLogical = right.pProviderLogical;
    pConsumer = right.pConsumer;
    startSector = right.startSector;
    numSector = right.numSector;
    reserved = right.reserved;
    group = right.group;
    chunkType = right.chunkType;
    chunkState = right.chunkState;
}

Chunk& Chunk::operator=(const Chunk& right)
{
    if (this != &right)
        copyFields(right);
    return *this;
}

bool Chunk::operator==(const Chunk& right) const
{
    return startSector == right.startSector && numSector == right.numSector &&
           reserved == right.reserved && group == right.group;
}

bool Chunk::isInstanceOf(const char* className) const
{
    return isClassName(className, "Chunk") || RaidObject::isInstanceOf(className);
}

const char* Chunk::typeName() const { return "Chunk"; }

const char* Chunk::serializedName() const { return "Chunk"; }

void Chunk::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    RaidObject::writeTo(writer);
    if (pConsumer)
        writer->writeULong("consumerLogicalID", pConsumer->getLogicalDriveID());
    writer->writeBlockT("startSector", startSector);
    writer->writeBlockT("numSectors", numSector);
    writer->writeULong("reserved", reserved);
    writer->writeULong("group", group);
    writer->writeInt("chunkType", chunkType);
    writer->writeInt("chunkState", chunkState);
    // The same values under the names a creation request uses.
    writer->writeBlockT("startBlock", startSector);
    writer->writeBlockT("numBlocks", numSector);
    writer->writeULong("groupNum", group);
}

void Chunk::build(SimpleXmlParser& xmlParser)
{
    do {
        if (xmlParser.tagIs(serializedName())) {
            if (xmlParser.foundEndTag())
                break;
            if (xmlParser.getName())
                attribList.Append(xmlParser.getName(), xmlParser.getValue());
        }
    } while (xmlParser.parseNext());

    initBaseAttributes();
    if (attribList.Exists("startSector"))
        startSector = attribList.GetU64("startSector");
    if (attribList.Exists("numSectors"))
        numSector = attribList.GetU64("numSectors");
    if (attribList.Exists("reserved"))
        reserved = attribList.GetULong("reserved");
    if (attribList.Exists("group"))
        group = attribList.GetULong("group");
    if (attribList.Exists("chunkType"))
        chunkType = static_cast<EnumChunkType>(attribList.GetULong("chunkType"));
    if (attribList.Exists("chunkState"))
        chunkState = static_cast<EnumChunkState>(attribList.GetULong("chunkState"));
}

RaidObject* Chunk::getPhysicalDevice()
{
    if (pProviderHardDrive)
        return pProviderHardDrive;
    const RaidObject* adapter = getParent();
    while (adapter && !adapter->isInstanceOf("Adapter"))
        adapter = adapter->getParent();
    if (!adapter || getChannelID() == STORID_UNDEFINED || getDeviceID() == STORID_UNDEFINED)
        return nullptr;
    return getRoot()->getObject(Addr(adapter->getAdapterID(), STORID_UNDEFINED, STORID_UNDEFINED,
                                     getChannelID(), getDeviceID(), BLOCK_UNDEFINED, STORID_UNDEFINED,
                                     STORID_UNDEFINED));
}
