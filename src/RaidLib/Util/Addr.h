#ifndef ADDR_H
#define ADDR_H

#include <cstdint>
#include <cstdio>

#include "RaidLib/Util/StorExport.h"

typedef uint32_t STORID_T;
typedef uint64_t BLOCK_T;

const STORID_T STORID_UNDEFINED = 0x7FFFFFFF;
const BLOCK_T BLOCK_UNDEFINED = 0x7FFFFFFFFFFFFFFFULL;

// Storage library family of an object.
enum EnumStorLibType : int32_t {
    STORLIB_UNKNOWN = 0,
    STORLIB_CLIENT = 1,
    STORLIB_DIRECT = 2,
    STORLIB_RESERVED1 = 3,
    STORLIB_RESERVED2 = 4,
    STORLIB_TARNELL = 5,
    STORLIB_SARVO = 6,
    STORLIB_PELM = 7,
    STORLIB_ORSEL = 8,
    STORLIB_VESK = 9,
    STORLIB_MAVRIN = 10,
    STORLIB_TOBRECK = 11,
    STORLIB_YUB = 12,
    STORLIB_GLUNT = 13,
    STORLIB_LAST_INDEX = 14
};
static_assert(sizeof(EnumStorLibType) == 4, "library type is 32-bit");

// Controller model code.
enum EnumAdapterType : int32_t {
    UNKNOWN_ADAPTER = 0,
    TARNELL_A1 = 1,
    TARNELL_A2 = 2,
    VOLSK_1 = 3,
    DRUNE_1 = 4,
    TARNELL_B1 = 5,
    TARNELL_B2 = 6,
    TARNELL_C0 = 7,
    TARNELL_C1 = 8,
    TARNELL_C2 = 9,
    TARNELL_C3 = 10,
    TARNELL_C4 = 11,
    TARNELL_D1 = 12,
    TARNELL_D2 = 13,
    TARNELL_E1 = 14,
    TARNELL_E2 = 15,
    TARNELL_E3 = 16,
    TARNELL_F1 = 17,
    TARNELL_FAMILY = 32,
    SARVO1020 = 257,
    SARVO1030 = 258,
    SARVO1064 = 259,
    PELM = 512,
    MAVRIN = 768,
    DWOLK = 1024,
    FENTA = 1280,
    TOBRECK = 1536,
    YUB = 1792,
    GLUNT = 2048
};
static_assert(sizeof(EnumAdapterType) == 4, "model code is 32-bit");

// Address classes answered by getType().
enum EnumAddrType : uint8_t {
    ADDR_TYPE_ADAPTER = 0,
    ADDR_TYPE_ARRAY = 1,
    ADDR_TYPE_LOGICAL = 2,
    ADDR_TYPE_DEVICE = 3,
    ADDR_TYPE_CHANNEL = 4,
    ADDR_TYPE_CHUNK = 5,
    ADDR_TYPE_ITEM = 6,
    ADDR_TYPE_SAS_PHY = 7,
    ADDR_TYPE_STORLIB = 10,
    ADDR_TYPE_INVALID = 20
};

// Five signed ids from which an Addr can be made.
struct address {
    int32_t adapter;
    int32_t array;
    int32_t logical;
    int32_t channel;
    int32_t device;
};

// The address of a model object; any id may be unset (0x7FFFFFFF).
class STOR_EXPORT Addr {
public:
    Addr();
    explicit Addr(STORID_T adapterID);
    Addr(STORID_T adapterID, STORID_T arrayID, STORID_T logicalDriveID, STORID_T channelID,
         STORID_T deviceID, BLOCK_T chunkID, STORID_T itemID, STORID_T sasPhyID);
    Addr(const address& a);
    Addr(const Addr& other) = default;
    Addr& operator=(const Addr& other) = default;

    void clear();

    bool IsEqual(const Addr& other) const;
    bool operator==(const Addr& other) const { return IsEqual(other); }
    bool operator!=(const Addr& other) const { return !IsEqual(other); }

    STORID_T getAdapterID() const { return adapterID; }
    void setAdapterID(STORID_T v) { adapterID = v; }
    STORID_T getArrayID() const { return arrayID; }
    void setArrayID(STORID_T v) { arrayID = v; }
    STORID_T getLogicalDriveID() const { return logicalDriveID; }
    void setLogicalDriveID(STORID_T v) { logicalDriveID = v; }
    STORID_T getChannelID() const { return channelID; }
    void setChannelID(STORID_T v) { channelID = v; }
    STORID_T getDeviceID() const { return deviceID; }
    void setDeviceID(STORID_T v) { deviceID = v; }
    BLOCK_T getChunkID() const { return chunkID; }
    void setChunkID(BLOCK_T v) { chunkID = v; }
    STORID_T getItemID() const { return itemID; }
    void setItemID(STORID_T v) { itemID = v; }
    STORID_T getSASPhyID() const { return sasPhyID; }
    void setSASPhyID(STORID_T v) { sasPhyID = v; }

    uint8_t getType() const;
    bool isValid() const { return getType() != ADDR_TYPE_INVALID; }

    const char* typeName() const { return "Addr"; }
    const char* serializedName() const { return "Addr"; }

    void debug(FILE* out) const;

protected:
    void debugIds(FILE* out) const;
    static const char* typeLabel(uint8_t type);

    STORID_T adapterID;
    STORID_T arrayID;
    STORID_T logicalDriveID;
    STORID_T channelID;
    STORID_T deviceID;
    BLOCK_T chunkID;
    STORID_T itemID;
    STORID_T sasPhyID;
};

// An address together with the storage library type that owns the object.
class STOR_EXPORT Addr2 : public Addr {
public:
    Addr2();
    Addr2(EnumStorLibType type, STORID_T adapterID, STORID_T arrayID, STORID_T logicalDriveID,
          STORID_T channelID, STORID_T deviceID, BLOCK_T chunkID, STORID_T itemID,
          STORID_T sasPhyID);
    Addr2(EnumStorLibType type, const address& a);
    Addr2(const Addr2& other) = default;
    Addr2& operator=(const Addr2& other) = default;
    // Copies the eight ids; the library type keeps its value.
    Addr2& operator=(const Addr& other);

    void clear();

    EnumStorLibType getStorLibType() const { return storlibType; }
    void setStorLibType(EnumStorLibType t) { storlibType = t; }

    bool IsEqual2(const Addr2& other) const;
    bool operator==(const Addr2& other) const { return IsEqual2(other); }
    bool operator!=(const Addr2& other) const { return !IsEqual2(other); }

    uint8_t getType() const;
    bool isValid() const { return getType() != ADDR_TYPE_INVALID; }
    const char* typeName() const { return "Addr2"; }
    void debug(FILE* out) const;

protected:
    EnumStorLibType storlibType;
};

#endif
