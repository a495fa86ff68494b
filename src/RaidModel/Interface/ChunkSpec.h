#ifndef CHUNKSPEC_H
#define CHUNKSPEC_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "RaidLib/Util/Addr.h"
#include "RaidLib/Util/StorExport.h"
#include "RaidModel/Interface/Chunk.h"

// The chunk record of the controller's programming interface.
struct chunkspec {
    uint32_t logical;
    uint32_t channel;
    uint32_t device;
    uint32_t startBlock;
    uint32_t numBlocks;
    uint32_t groupNum;
    uint32_t chunkType;
};
static_assert(sizeof(chunkspec) == 28 && offsetof(chunkspec, chunkType) == 24,
              "chunkspec is seven 32-bit fields");

// One chunk of a logical drive to create or change: its provider (a logical
// drive, or a hard drive by channel and device), position, size, group and
// type. A plain value.
class STOR_EXPORT ChunkSpec {
public:
    ChunkSpec();
    // A hard-drive chunk; the logical-drive id stays undefined.
    ChunkSpec(unsigned long channelIDIN, unsigned long deviceIDIN, BLOCK_T startBlockIN,
              BLOCK_T numBlocksIN, unsigned long groupNumIN, EnumChunkType chunkTypeIN);
    // From the interface record; its 32-bit positions are widened with zeros.
    explicit ChunkSpec(const chunkspec& cs);

    // Provider undefined, positions and group 0, CHUNK_TYPE_DATA.
    void reset();

    // A defined logical-drive id makes channel and device undefined.
    void setLogicalID(unsigned long logicalDriveIDIN);
    // A defined channel and device make the logical-drive id undefined.
    void setHardDriveID(unsigned long channelIDIN, unsigned long deviceIDIN);

    STORID_T getLogicalDriveID() const { return logicalDriveID; }
    STORID_T getChannelID() const { return channelID; }
    STORID_T getDeviceID() const { return deviceID; }
    BLOCK_T getStartBlock() const { return startBlock; }
    BLOCK_T getNumBlocks() const { return numBlocks; }
    uint32_t getGroupNum() const { return groupNum; }
    EnumChunkType getChunkType() const { return chunkType; }
    void setChannelID(unsigned long v) { channelID = static_cast<STORID_T>(v); }
    void setDeviceID(unsigned long v) { deviceID = static_cast<STORID_T>(v); }
    void setStartBlock(BLOCK_T v) { startBlock = v; }
    void setNumBlocks(BLOCK_T v) { numBlocks = v; }
    void setGroupNum(unsigned long v) { groupNum = static_cast<uint32_t>(v); }
    void setChunkType(EnumChunkType v) { chunkType = v; }

private:
    STORID_T logicalDriveID;
    STORID_T channelID;
    STORID_T deviceID;
    BLOCK_T startBlock;
    BLOCK_T numBlocks;
    uint32_t groupNum;
    EnumChunkType chunkType;
};

typedef std::vector<ChunkSpec> ChunkSpecCollection;

#endif
