#include "RaidModel/Implementation/Tarnell/TarnellChunk.h"

#include <cstring>

#include "RaidModel/Implementation/Tarnell/TarnellTrace.h"

namespace {
BLOCK_T widened(int value) { return static_cast<BLOCK_T>(static_cast<int64_t>(value)); }
} // namespace

TarnellChunk::TarnellChunk() : Chunk() { tarnellTraceConstruct("TarnellChunk"); }

TarnellChunk::TarnellChunk(const TarnellChunk& right) : Chunk(right)
{
    tarnellTraceConstruct("TarnellChunk");
}

TarnellChunk::TarnellChunk(
    int channelIDIN, int deviceIDIN, int startSectorIN, int numSectorIN, int reservedIN, int groupIN)
    : Chunk(static_cast<unsigned long>(channelIDIN), static_cast<unsigned long>(deviceIDIN),
        widened(startSectorIN), widened(numSectorIN), static_cast<unsigned long>(reservedIN),
        static_cast<unsigned long>(groupIN), CHUNK_TYPE_DATA, CHUNK_NORMAL)
{
    tarnellTraceConstruct("TarnellChunk");
}

TarnellChunk::~TarnellChunk() { tarnellTraceDestruct("TarnellChunk"); }

bool TarnellChunk::isInstanceOf(const char* type) const
{
    return isClassName(type, "TarnellChunk") || Chunk::isInstanceOf(type);
}

const char* TarnellChunk::typeName() const { return "TarnellChunk"; }

const char* TarnellChunk::serializedName() const { return "Chunk"; }
