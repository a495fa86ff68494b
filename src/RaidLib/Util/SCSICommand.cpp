#include "RaidLib/Util/SCSICommand.h"

#include <cstring>

SCSICommand::SCSICommand() : direction(READ) {}

SCSICommand::SCSICommand(const SCSICommand& right)
    : direction(right.direction), scsiCmd(right.scsiCmd), readData(right.readData),
      writeData(right.writeData), senseData(right.senseData)
{
}

SCSICommand::SCSICommand(Buffer& scsiCmdIN, EnumDirection directionIN)
    : direction(directionIN), scsiCmd(scsiCmdIN)
{
}

SCSICommand::~SCSICommand() {}

SCSICommand& SCSICommand::operator=(const SCSICommand& right)
{
    if (this != &right) {
        direction = right.direction;
        scsiCmd = right.scsiCmd;
        readData = right.readData;
        writeData = right.writeData;
        senseData = right.senseData;
    }
    return *this;
}

bool SCSICommand::IsRead() const
{
    return direction == READ || direction == READWRITE || direction == READWITHSENSE;
}

bool SCSICommand::IsWrite() const
{
    return direction == WRITE || direction == READWRITE || direction == WRITEWITHSENSE;
}

uint32_t SCSICommand::getMaxTransferLength() const
{
    switch (direction) {
    case READ:
    case READWITHSENSE:
        return readData.getSize();
    case WRITE:
    case WRITEWITHSENSE:
        return writeData.getSize();
    case READWRITE:
        return readData.getSize() > writeData.getSize() ? readData.getSize() : writeData.getSize();
    default:
        return 0;
    }
}

unsigned char* SCSICommand::newCdb(uint32_t length)
{
    unsigned char* cdb = scsiCmd.Alloc(length, true);
    scsiCmd.Clear();
    return cdb;
}

void SCSICommand::resize(Buffer& b, uint32_t size)
{
    b.Alloc(size, true);
    b.Clear();
}

void SCSICommand::putBlockAddress(unsigned char* cdb, uint32_t startBlock, uint32_t numBlocks)
{
    cdb[2] = static_cast<unsigned char>(startBlock >> 24);
    cdb[3] = static_cast<unsigned char>(startBlock >> 16);
    cdb[4] = static_cast<unsigned char>(startBlock >> 8);
    cdb[5] = static_cast<unsigned char>(startBlock);
    cdb[7] = static_cast<unsigned char>(numBlocks >> 8);
    cdb[8] = static_cast<unsigned char>(numBlocks);
}

// Every builder writes only into buffers that could be allocated: a failed
// allocation leaves that buffer empty rather than being written through.

void SCSICommand::initInquiry(unsigned char pageCodeIN)
{
    if (unsigned char* cdb = newCdb(sizeof(KRNA_INQUIRY))) {
        KRNA_INQUIRY inquiry;
        std::memset(&inquiry, 0, sizeof(inquiry));
        inquiry.Opcode = 0x12;
        if (pageCodeIN != 0) {
            inquiry.Evpd = 1;
            inquiry.PageCode = pageCodeIN;
        }
        inquiry.AllocationLength = 0xFF;
        std::memcpy(cdb, &inquiry, sizeof(inquiry));
    }
    resize(readData, 255);
    direction = READWITHSENSE;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initInquiry(unsigned char pageCodeIN, unsigned long length, bool bSetEvpd)
{
    const uint32_t length32 = static_cast<uint32_t>(length);
    if (unsigned char* cdb = newCdb(sizeof(KRNA_INQUIRY))) {
        KRNA_INQUIRY inquiry;
        std::memset(&inquiry, 0, sizeof(inquiry));
        inquiry.Opcode = 0x12;
        inquiry.Evpd = bSetEvpd ? 1 : 0;
        if (pageCodeIN != 0)
            inquiry.PageCode = pageCodeIN;
        inquiry.AllocationLength1 = static_cast<uint8_t>(length32 >> 8);
        inquiry.AllocationLength = static_cast<uint8_t>(length32);
        std::memcpy(cdb, &inquiry, sizeof(inquiry));
    }
    resize(readData, length32);
    direction = READWITHSENSE;
    resize(senseData, length32);
}

void SCSICommand::initTestUnitReady()
{
    newCdb(6);
    direction = NOTRANSFER;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initModeSense(unsigned char pageCodeIN)
{
    if (unsigned char* cdb = newCdb(6)) {
        cdb[0] = 0x1A;
        cdb[1] = 0x08;
        cdb[2] = pageCodeIN;
        cdb[4] = 0xFF;
    }
    resize(readData, 255);
    direction = READWITHSENSE;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initModeSelect(unsigned char pageLengthIN, unsigned char* pBufferIN)
{
    if (unsigned char* cdb = newCdb(6)) {
        cdb[0] = 0x15;
        cdb[1] = 0x11;
        cdb[4] = pageLengthIN;
    }
    resize(writeData, pageLengthIN);
    if (pBufferIN && writeData.getAddr())
        std::memcpy(writeData.getAddr(), pBufferIN, pageLengthIN);
    direction = WRITEWITHSENSE;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initRead(unsigned long startBlockIN, unsigned long numBlocksIN, bool bFUA)
{
    const uint32_t numBlocks = static_cast<uint32_t>(numBlocksIN);
    if (unsigned char* cdb = newCdb(10)) {
        cdb[0] = 0x28;
        if (bFUA)
            cdb[1] = 0x08;
        putBlockAddress(cdb, static_cast<uint32_t>(startBlockIN), numBlocks);
    }
    resize(readData, numBlocks * BLOCK_SIZE);
    direction = READWITHSENSE;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initWrite(unsigned long startBlockIN, unsigned long numBlocksIN,
                            unsigned char* pBufferIN, bool bFUA)
{
    const uint32_t numBlocks = static_cast<uint32_t>(numBlocksIN);
    if (unsigned char* cdb = newCdb(10)) {
        cdb[0] = 0x2A;
        if (bFUA)
            cdb[1] = 0x08;
        putBlockAddress(cdb, static_cast<uint32_t>(startBlockIN), numBlocks);
    }
    resize(writeData, numBlocks * BLOCK_SIZE);
    if (pBufferIN && writeData.getAddr())
        std::memcpy(writeData.getAddr(), pBufferIN, writeData.getSize());
    direction = WRITEWITHSENSE;
    resize(senseData, SENSE_SIZE);
}

void SCSICommand::initReadSES(unsigned char pageCodeIN, unsigned long numBytesIN)
{
    const uint32_t numBytes = static_cast<uint32_t>(numBytesIN);
    if (unsigned char* cdb = scsiCmd.Alloc(6, true)) {
        cdb[0] = 0x1C;
        cdb[1] = 0x01;
        cdb[2] = pageCodeIN;
        cdb[3] = static_cast<unsigned char>(numBytes >> 8);
        cdb[4] = static_cast<unsigned char>(numBytes);
        cdb[5] = 0;
    }
    resize(readData, numBytes);
    direction = READWITHSENSE;
    resize(senseData, SENSE_SIZE);
}
