// The logical-drive document of the Java console: "param" attributes set the
// drive's parameters, "ChunkSpec" attributes fill one chunk that is appended
// whenever its "chunkType" is read. The chunk being filled is never reset,
// so a "ChunkSpec" element inherits what an earlier one set and leaves out.

#include "RaidLib/JavaInterface/StorDataProc.h"
#include "RaidLib/Util/SimpleXmlParser.h"

void GetLogicalDriveSpecFromXml(LogicalDriveSpec& spec, char* xml, unsigned long length)
{
    SimpleXmlParser parser(xml, length);
    ChunkSpec chunk;
    while (parser.parseNext()) {
        if (parser.getName() == nullptr)
            continue;
        if (parser.tagIs("ChunkSpec")) {
            if (parser.nameIs("logicalDriveID")) {
                chunk.setLogicalID(parser.getULONG());
            } else if (parser.nameIs("channelID")) {
                chunk.setChannelID(parser.getULONG());
            } else if (parser.nameIs("deviceID")) {
                chunk.setDeviceID(parser.getULONG());
            } else if (parser.nameIs("startBlock")) {
                chunk.setStartBlock(parser.getULONG());
            } else if (parser.nameIs("numBlocks")) {
                chunk.setNumBlocks(parser.getULONG());
            } else if (parser.nameIs("groupNum")) {
                chunk.setGroupNum(parser.getULONG());
            } else if (parser.nameIs("chunkType")) {
                chunk.setChunkType(static_cast<EnumChunkType>(parser.getLONG()));
                spec.chunks.push_back(chunk);
            }
        } else if (parser.tagIs("param")) {
            if (parser.nameIs("raidLevel"))
                spec.raidLevel = static_cast<EnumRaidLevel>(parser.getLONG());
            else if (parser.nameIs("stripeSize"))
                spec.stripeSize = static_cast<EnumStripeSize>(parser.getLONG());
            else if (parser.nameIs("readCache"))
                spec.readCacheSetting = static_cast<EnumLogicalDriveCacheMode>(parser.getLONG());
            else if (parser.nameIs("writeCache"))
                spec.writeCacheSetting = static_cast<EnumLogicalDriveCacheMode>(parser.getLONG());
            else if (parser.nameIs("initMethod"))
                spec.initMethod = static_cast<EnumInitMethod>(parser.getLONG());
            else if (parser.nameIs("taskPriority"))
                spec.taskPriority = static_cast<EnumPriorityLevel>(parser.getLONG());
            else if (parser.nameIs("logicalName"))
                spec.setName(parser.getValue());
        }
    }
}
