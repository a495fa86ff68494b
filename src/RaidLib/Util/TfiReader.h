#ifndef TFIREADER_H
#define TFIREADER_H

#include <cstddef>
#include <cstdint>

#include "RaidLib/Util/StorExport.h"

// Target Flash Image file: a header, a directory of up to 32 images and the
// image data, possibly split over numbered chunk files. Integers are 32-bit
// little-endian, as on the hosts we build for; texts are not terminated.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the TFI records are read as little-endian");

struct tfi_file_header_t {
    char FH_Signature[32];
    char FH_Build_Ascii[8];
    char FH_Build_Description[32];
    uint32_t FH_Build;
    uint32_t FH_Checksum;
    uint32_t FH_Antidote;
    uint32_t FH_FileLength;
    uint32_t FH_ChunkNumber;
    uint32_t FH_TotalChunks;
    uint32_t FH_Revision;
    char FH_VendorID[8];
    char FH_DeviceID[16];
    char FH_DeviceVersion[8];
    char FH_MinDeviceVersionToUpgradeFrom[8];
    uint32_t FH_Reserved[32];
};
static_assert(sizeof(tfi_file_header_t) == 268, "TFI file header is 268 bytes");
static_assert(offsetof(tfi_file_header_t, FH_Checksum) == 76, "FH_Checksum at 76");
static_assert(offsetof(tfi_file_header_t, FH_FileLength) == 84, "FH_FileLength at 84");
static_assert(offsetof(tfi_file_header_t, FH_TotalChunks) == 92, "FH_TotalChunks at 92");
static_assert(offsetof(tfi_file_header_t, FH_VendorID) == 100, "FH_VendorID at 100");
static_assert(offsetof(tfi_file_header_t, FH_MinDeviceVersionToUpgradeFrom) == 132,
              "FH_MinDeviceVersionToUpgradeFrom at 132");

struct directory_header_t {
    uint32_t DH_Revision;
    uint32_t DH_Entries;
    uint32_t DH_Reserved[32];
};
static_assert(sizeof(directory_header_t) == 136, "TFI directory header is 136 bytes");

struct directory_entry_t {
    uint32_t DE_Revision;
    uint32_t DE_Type;
    uint32_t DE_Offset; // from the end of the directory
    uint32_t DE_Size;
    uint32_t DE_Checksum;
    char DE_DeviceVersion[32];
    uint32_t DE_RuleFlags;
    uint32_t DE_Reserved[32];
};
static_assert(sizeof(directory_entry_t) == 184, "TFI directory entry is 184 bytes");
static_assert(offsetof(directory_entry_t, DE_RuleFlags) == 52, "DE_RuleFlags at 52");

const unsigned TFI_MAX_IMAGES = 32;

struct directory_t {
    directory_header_t header;
    directory_entry_t entries[TFI_MAX_IMAGES];
};
static_assert(sizeof(directory_t) == 6024, "TFI directory is 6024 bytes");

struct tfi_t {
    tfi_file_header_t fileHeader;
    directory_t directory;
    unsigned char TFI_Data[4];
};
static_assert(sizeof(tfi_t) == 6296, "TFI head record is 6296 bytes");
static_assert(offsetof(tfi_t, directory) == 268, "directory at 268");
static_assert(offsetof(tfi_t, TFI_Data) == 6292, "image data at 6292");

// Reads and checks a Target Flash Image file with its chunk files. The file
// is accepted only when its signature, length, directory and checksum hold;
// otherwise isChecksumValid() is false and getImage() is null. No message is
// written and nothing is thrown.
//
// Every length in the file is checked before it is used: the assembled
// length must equal the header's file length (so nothing is allocated beyond
// what the files hold), the directory holds at most 32 entries, and each
// listed image lies inside the image data.
class STOR_EXPORT TfiReader {
public:
    static constexpr uint32_t HEAD_SIZE = 6292; // header and directory
    static constexpr uint32_t NO_IMAGE = 0x7FFFFFFF;
    static constexpr unsigned MAX_CHUNKS = 99;

    explicit TfiReader(const char* path);
    ~TfiReader();
    TfiReader(const TfiReader&) = delete;
    TfiReader& operator=(const TfiReader&) = delete;

    bool isChecksumValid() const { return validChecksum; }
    // The assembled image when the file was accepted, else null.
    const unsigned char* getImage() const { return image; }
    // Directory entry i's image data; null when the file was not accepted or
    // i is not one of the directory's entries.
    const unsigned char* getImage(int i) const;

    // The stored header, as read (also for a file that was not accepted).
    const char* getHeaderSignature() const { return header.fileHeader.FH_Signature; }
    uint32_t getHeaderChecksum() const { return header.fileHeader.FH_Checksum; }
    uint32_t getHeaderAntidote() const { return header.fileHeader.FH_Antidote; }
    uint32_t getHeaderFileLen() const { return header.fileHeader.FH_FileLength; }
    uint32_t getHeaderChunkNum() const { return header.fileHeader.FH_ChunkNumber; }
    uint32_t getHeaderTotalChunks() const { return header.fileHeader.FH_TotalChunks; }
    uint32_t getHeaderBuild() const { return header.fileHeader.FH_Build; }
    uint32_t getHeaderRevision() const { return header.fileHeader.FH_Revision; }
    const char* getVendorID() const { return header.fileHeader.FH_VendorID; }
    const char* getDeviceID() const { return header.fileHeader.FH_DeviceID; }
    const char* getDeviceVersion() const { return header.fileHeader.FH_DeviceVersion; }
    const char* getMinDeviceVersionToUpgradeFrom() const
    {
        return header.fileHeader.FH_MinDeviceVersionToUpgradeFrom;
    }

    uint32_t getImageCount() const { return header.directory.header.DH_Entries; }
    uint32_t getDirectoryHeaderRevision() const { return header.directory.header.DH_Revision; }
    directory_t getTfiDirectory() const { return header.directory; }
    // Fields of directory entry i; 0 when i is not below 32.
    uint32_t getImageRevision(int i) const;
    uint32_t getImageType(int i) const;
    uint32_t getImageLength(int i) const;
    uint32_t getImageRule(int i) const;
    // The first of the directory's entries of that type; NO_IMAGE when none.
    uint32_t getImageIndex(unsigned long type) const;

    // The name of chunk k (1-99) of the set the given path belongs to: the
    // digits before the last point replaced by k. False when the path has
    // no room for the number.
    static bool chunkName(const char* path, unsigned k, char* out, size_t outSize);

private:
    bool read(const char* path);
    bool headerIsSound(uint64_t fileSize) const;
    bool concatFlashImageChunks(const char* path);
    bool calculateChecksum() const;
    const directory_entry_t* entry(int i) const;

    tfi_t header;
    unsigned char* image;
    bool validChecksum;
};

#endif
