#ifndef SCSICOMMAND_H
#define SCSICOMMAND_H

#include <cstdint>

#include "RaidLib/Util/Buffer.h"
#include "RaidLib/Util/StorExport.h"

// The 6-byte INQUIRY command descriptor block.
struct KRNA_INQUIRY {
    uint8_t Opcode;             // 0x12
    uint8_t Evpd : 1;           // return the vital product data page PageCode
    uint8_t CommandData : 1;    // command support data
    uint8_t Reserved1 : 3;
    uint8_t LUN : 3;
    uint8_t PageCode;
    uint8_t AllocationLength1;  // allocation length, high byte
    uint8_t AllocationLength;   // allocation length, low byte
    uint8_t Control;
};
static_assert(sizeof(KRNA_INQUIRY) == 6, "INQUIRY CDB is 6 bytes");

// A SCSI pass-through command: the command descriptor block, the direction
// of the data phase, the data sent, the buffer that receives data and the
// buffer that receives sense data. The command owns its four buffers.
//
// The builders lay out the common commands of the SCSI Primary and Block
// Commands standards. Each resizes and clears the CDB, the data buffer it
// uses and the sense buffer; buffers it does not use keep their contents.
class STOR_EXPORT SCSICommand {
public:
    enum EnumDirection : int32_t {
        READ = 0,           // data from the device into readData
        WRITE = 1,          // writeData to the device
        READWRITE = 2,      // both
        WRITEWITHSENSE = 3, // as WRITE, with sense data into senseData
        READWITHSENSE = 4,  // as READ, with sense data into senseData
        NOTRANSFER = 5      // no data phase
    };

    // Sense buffer size of the builders (except the sized INQUIRY).
    static const uint32_t SENSE_SIZE = 255;
    // Block size of READ(10) and WRITE(10).
    static const uint32_t BLOCK_SIZE = 512;

    SCSICommand();
    SCSICommand(const SCSICommand& right);
    // The CDB is a copy of scsiCmdIN; the other buffers are empty.
    SCSICommand(Buffer& scsiCmdIN, EnumDirection directionIN);
    ~SCSICommand();
    SCSICommand& operator=(const SCSICommand& right);

    EnumDirection getDirection() const { return direction; }
    Buffer& getScsiCmd() { return scsiCmd; }
    Buffer& getReadData() { return readData; }
    Buffer& getWriteData() { return writeData; }
    Buffer& getSenseData() { return senseData; }
    uint32_t getScsiCmdSize() const { return scsiCmd.getSize(); }
    void setReadData(Buffer& b) { readData = b; }
    void setWriteData(Buffer& b) { writeData = b; }
    void setSenseData(Buffer& b) { senseData = b; }

    // Whether data comes from the device (READ, READWRITE, READWITHSENSE)
    // or goes to it (WRITE, READWRITE, WRITEWITHSENSE).
    bool IsRead() const;
    bool IsWrite() const;

    // The data the command may move: the read buffer's size for the reading
    // directions, the write buffer's for the writing ones, the larger of the
    // two for READWRITE, 0 otherwise.
    uint32_t getMaxTransferLength() const;

    // INQUIRY for 255 bytes; a page code other than 0 asks for that vital
    // product data page.
    void initInquiry(unsigned char pageCodeIN);
    // INQUIRY for length bytes (the CDB carries its low 16 bits), with the
    // EVPD bit as given; the sense buffer also gets length bytes.
    void initInquiry(unsigned char pageCodeIN, unsigned long length, bool bSetEvpd);
    void initTestUnitReady();
    // MODE SENSE(6) without block descriptors; pageCodeIN keeps its page
    // control bits.
    void initModeSense(unsigned char pageCodeIN);
    // MODE SELECT(6) with PF and SP; the data is copied from pBufferIN, or
    // zero-filled when it is null.
    void initModeSelect(unsigned char pageLengthIN, unsigned char* pBufferIN);
    // READ(10) and WRITE(10) of 512-byte blocks. The CDB carries the low 16
    // bits of the block count; callers keep it below 65536.
    void initRead(unsigned long startBlockIN, unsigned long numBlocksIN, bool bFUA);
    void initWrite(unsigned long startBlockIN, unsigned long numBlocksIN, unsigned char* pBufferIN,
                   bool bFUA);
    // RECEIVE DIAGNOSTIC RESULTS of an SES page.
    void initReadSES(unsigned char pageCodeIN, unsigned long numBytesIN);

private:
    // Gives the CDB length zeroed bytes; null when it cannot be allocated.
    unsigned char* newCdb(uint32_t length);
    // Gives a buffer size zeroed bytes.
    static void resize(Buffer& b, uint32_t size);
    static void putBlockAddress(unsigned char* cdb, uint32_t startBlock, uint32_t numBlocks);

    EnumDirection direction;
    Buffer scsiCmd;
    Buffer readData;
    Buffer writeData;
    Buffer senseData;
};

#endif
