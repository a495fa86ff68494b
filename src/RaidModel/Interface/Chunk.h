#ifndef CHUNK_H
#define CHUNK_H

#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

class HardDrive;
class LogicalDrive;
class SimpleXmlParser;

// What a chunk holds.
enum EnumChunkType : int32_t {
    CHUNK_TYPE_DATA = 0,
    CHUNK_TYPE_METADATA = 1,
    CHUNK_TYPE_AVAILABLE = 2,
    CHUNK_TYPE_SPARE = 3,
    CHUNK_TYPE_NEW_DATA = 4,
    CHUNK_TYPE_LEGACY = 5,
    CHUNK_TYPE_DATA_LDM_SOURCE = 6
};

// Two pairs of names share a value; the value alone does not tell them apart.
enum EnumChunkState : int32_t {
    CHUNK_NORMAL = 0,
    CHUNK_IMPACTED = 1,
    CHUNK_MORPH_DELETED = 2,
    CHUNK_MORPH_NEW = 3,
    CHUNK_REBUILDING = 1,
    CHUNK_DEAD = 2
};

static_assert(sizeof(EnumChunkType) == 4 && sizeof(EnumChunkState) == 4, "chunk enumerations are 32-bit");

// One extent of sectors that a provider (a hard drive or a logical drive)
// gives to a consumer logical drive. The chunk's address names its provider
// (channel and device of a drive, or the logical-drive id) and its chunk id
// is its start sector. Provider and consumer are not owned.
//
// The provider and consumer getters are templates so that this class does
// not depend on the drive classes: getConsumer() gives a LogicalDrive* to a
// caller that knows LogicalDrive.
class STOR_EXPORT Chunk : public RaidObject {
public:
    // No provider or consumer, empty, CHUNK_TYPE_METADATA, CHUNK_NORMAL.
    Chunk();
    // A chunk of a provider for a consumer (a logical drive, or null). A
    // hard-drive provider gives the chunk its channel and device ids and,
    // when a consumer is given, goes from DRIVE_READY to DRIVE_ONLINE; a
    // logical-drive provider gives its logical-drive id.
    Chunk(RaidObject* pProviderIN, RaidObject* pConsumerIN, BLOCK_T startSectorIN,
          BLOCK_T numSectorIN, EnumChunkType chunkTypeIN, unsigned long groupIN,
          EnumChunkState chunkStateIN);
    // Deprecated: a chunk addressed by channel and device, without provider.
    Chunk(unsigned long channelIDIN, unsigned long deviceIDIN, BLOCK_T startSectorIN,
          BLOCK_T numSectorIN, unsigned long reservedIN, unsigned long groupIN,
          EnumChunkType chunkTypeIN, EnumChunkState chunkStateIN);
    // A new node with an undefined address and the source's ten fields.
    Chunk(const Chunk& right);
    // Reads the "Chunk" element the parser stands on.
    explicit Chunk(SimpleXmlParser& xmlParser);
    ~Chunk() override;

    bool isInstanceOf(const char* className) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    void writeTo(Writer* writer) const override;

    // Copies the ten fields; the address and tree links stay.
    Chunk& operator=(const Chunk& right);
    // Start, count, reserved count and group.
    bool operator==(const Chunk& right) const;
    bool operator!=(const Chunk& right) const { return !(*this == right); }

    void build(SimpleXmlParser& xmlParser);

    RaidObject* getProvider() const { return pProvider; }
    template <class T = HardDrive>
    T* getProviderHardDrive() const
    {
        return static_cast<T*>(pProviderHardDrive);
    }
    template <class T = LogicalDrive>
    T* getProviderLogical() const
    {
        return static_cast<T*>(pProviderLogical);
    }
    template <class T = LogicalDrive>
    T* getConsumer() const
    {
        return static_cast<T*>(pConsumer);
    }
    BLOCK_T getStartSector() const { return startSector; }
    BLOCK_T getNumSector() const { return numSector; }
    uint32_t getReserved() const { return reserved; }
    uint32_t getGroup() const { return group; }
    EnumChunkType getChunkType() const { return chunkType; }
    EnumChunkState getChunkState() const { return chunkState; }

    // The hard drive that holds the chunk: its provider drive, or the object
    // at the chunk's channel and device below its controller; null when
    // there is none.
    RaidObject* getPhysicalDevice();

private:
    void copyFields(const Chunk& right);

    RaidObject* pProvider;
    RaidObject* pProviderHardDrive;
    RaidObject* pProviderLogical;
    RaidObject* pConsumer;
    BLOCK_T startSector;
    BLOCK_T numSector;
    uint32_t reserved;
    uint32_t group;
    EnumChunkType chunkType;
    EnumChunkState chunkState;
};

#endif
