#include "RaidModel/Interface/ChunkSpec.h"

ChunkSpec::ChunkSpec() { reset(); }

ChunkSpec::ChunkSpec(unsigned long channelIDIN, unsigned long deviceIDIN, BLOCK_T startBlockIN,
                     BLOCK_T numBlocksIN, unsigned long groupNumIN, EnumChunkType chunkTypeIN)
    : logicalDriveID(STORID_UNDEFINED), channelID(static_cast<STORID_T>(channelIDIN)),
      deviceID(static_cast<STORID_T>(deviceIDIN)), startBlock(startBlockIN), numBlocks(numBlocksIN),
      groupNum(static_cast<uint32_t>(groupNumIN)), chunkType(chunkTypeIN)
{
}

ChunkSpec::ChunkSpec(const chunkspec& cs)
    : logicalDriveID(cs.logical), channelID(cs.channel), deviceID(cs.device),
      startBlock(static_cast<BLOCK_T>(cs.startBlock)), numBlocks(static_cast<BLOCK_T>(cs.numBlocks)),
      groupNum(cs.groupNum), chunkType(static_cast<EnumChunkType>(cs.chunkType))
{
}

void ChunkSpec::reset()
{
    logicalDriveID = STORID_UNDEFINED;
    channelID = STORID_UNDEFINED;
    deviceID = STORID_UNDEFINED;
    startBlock = 0;
    numBlocks = 0;
    groupNum = 0;
    chunkType = CHUNK_TYPE_DATA;
}

void ChunkSpec::setLogicalID(unsigned long logicalDriveIDIN)
{
    logicalDriveID = static_cast<STORID_T>(logicalDriveIDIN);
    if (logicalDriveID != STORID_UNDEFINED) {
        channelID = STORID_UNDEFINED;
        deviceID = STORID_UNDEFINED;
    }
}

void ChunkSpec::setHardDriveID(unsigned long channelIDIN, unsigned long deviceIDIN)
{
    channelID = static_cast<STORID_T>(channelIDIN);
    deviceID = static_cast<STORID_T>(deviceIDIN);
    if (channelID != STORID_UNDEFINED && deviceID != STORID_UNDEFINED)
        logicalDriveID = STORID_UNDEFINED;
}
