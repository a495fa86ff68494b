#include "RaidLib/Util/TfiReader.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

const char SIGNATURE[] = "Corvane Target Flash Image"; // compared with its NUL: 27 bytes
static_assert(sizeof(SIGNATURE) == 27, "signature with its terminator is 27 bytes");

// Closes the file when the scope ends.
struct FileCloser {
    FILE* f;
    explicit FileCloser(FILE* file) : f(file) {}
    ~FileCloser()
    {
        if (f)
            std::fclose(f);
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;
};

// The length of an open file, from its start; false when it cannot be told.
bool fileLength(FILE* f, uint64_t& length)
{
    if (std::fseek(f, 0, SEEK_END) != 0)
        return false;
    long end = std::ftell(f);
    if (end < 0 || std::fseek(f, 0, SEEK_SET) != 0)
        return false;
    length = static_cast<uint64_t>(end);
    return true;
}

} // namespace

TfiReader::TfiReader(const char* path) : image(nullptr), validChecksum(false)
{
    std::memset(&header, 0, sizeof(header));
    if (!read(path)) {
        delete[] image;
        image = nullptr;
    }
    validChecksum = image != nullptr;
}

TfiReader::~TfiReader() { delete[] image; }

bool TfiReader::read(const char* path)
{
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    FileCloser closer(f);
    if (std::fread(&header, 1, sizeof(header), f) != sizeof(header))
        return false;
    if (std::memcmp(header.fileHeader.FH_Signature, SIGNATURE, sizeof(SIGNATURE)) != 0)
        return false;

    if (header.fileHeader.FH_TotalChunks >= 2) {
        closer.f = nullptr;
        std::fclose(f);
        if (!concatFlashImageChunks(path))
            return false;
    } else {
        uint64_t length = 0;
        if (!fileLength(f, length) || !headerIsSound(length))
            return false;
        const uint32_t n = header.fileHeader.FH_FileLength;
        image = new (std::nothrow) unsigned char[n];
        if (!image)
            return false;
        if (std::fread(image, 1, n, f) != n)
            return false;
    }
    return calculateChecksum();
}

// The header's lengths against what the files hold: the assembled length,
// the number of directory entries and the place of each listed image.
bool TfiReader::headerIsSound(uint64_t assembledLength) const
{
    const uint32_t fileLen = header.fileHeader.FH_FileLength;
    if (fileLen < sizeof(header) || assembledLength != fileLen)
        return false;
    const uint32_t entries = header.directory.header.DH_Entries;
    if (entries > TFI_MAX_IMAGES)
        return false;
    const uint64_t dataLength = fileLen - HEAD_SIZE;
    for (uint32_t i = 0; i < entries; ++i) {
        const directory_entry_t& e = header.directory.entries[i];
        if (static_cast<uint64_t>(e.DE_Offset) + e.DE_Size > dataLength)
            return false;
    }
    return true;
}

bool TfiReader::chunkName(const char* path, unsigned k, char* out, size_t outSize)
{
    if (!path || !out || k < 1 || k > MAX_CHUNKS)
        return false;
    const size_t len = std::strlen(path);
    const char* point = std::strrchr(path, '.');
    if (!point || len + 1 > outSize)
        return false;
    const size_t pos = static_cast<size_t>(point - path);
    const size_t digits = k < 10 ? 1 : 2;
    if (pos < digits)
        return false;
    std::memcpy(out, path, len + 1);
    if (k < 10) {
        out[pos - 1] = static_cast<char>('0' + k);
    } else {
        out[pos - 2] = static_cast<char>('0' + k / 10);
        out[pos - 1] = static_cast<char>('0' + k % 10);
    }
    return true;
}

// The image of a set of chunk files: the head of the named file, then each
// chunk's data after its own head, in chunk order. The chunk lengths are
// added up first, so that nothing is allocated unless the set holds exactly
// the header's file length.
bool TfiReader::concatFlashImageChunks(const char* path)
{
    const uint32_t total = header.fileHeader.FH_TotalChunks;
    if (total > MAX_CHUNKS)
        return false;
    std::string name(std::strlen(path) + 1, '\0');

    uint64_t assembled = HEAD_SIZE;
    for (uint32_t k = 1; k <= total; ++k) {
        if (!chunkName(path, k, &name[0], name.size()))
            return false;
        FILE* f = std::fopen(name.c_str(), "rb");
        if (!f)
            return false;
        FileCloser closer(f);
        uint64_t length = 0;
        if (!fileLength(f, length))
            return false;
        if (length > HEAD_SIZE)
            assembled += length - HEAD_SIZE;
    }
    if (!headerIsSound(assembled))
        return false;

    const uint32_t capacity = header.fileHeader.FH_FileLength;
    image = new (std::nothrow) unsigned char[capacity];
    if (!image)
        return false;
    std::memcpy(image, &header, HEAD_SIZE);
    uint32_t used = HEAD_SIZE;

    unsigned char block[1000];
    for (uint32_t k = 1; k <= total; ++k) {
        chunkName(path, k, &name[0], name.size());
        FILE* f = std::fopen(name.c_str(), "rb");
        if (!f)
            return false;
        FileCloser closer(f);
        // Each chunk's own head is skipped unread; a chunk no longer than
        // its head adds nothing.
        if (std::fseek(f, HEAD_SIZE, SEEK_SET) != 0)
            return false;
        for (;;) {
            size_t n = std::fread(block, 1, sizeof(block), f);
            if (n == 0)
                break;
            // The files grew since they were measured: refuse.
            if (n > capacity - used)
                return false;
            std::memcpy(image + used, block, n);
            used += static_cast<uint32_t>(n);
        }
        if (std::ferror(f))
            return false;
    }
    return used == capacity;
}

// The 16-bit byte sum of the whole image against the checksum field or the
// complement of the antidote field.
bool TfiReader::calculateChecksum() const
{
    uint16_t sum = 0;
    const uint32_t n = header.fileHeader.FH_FileLength;
    for (uint32_t i = 0; i < n; ++i)
        sum = static_cast<uint16_t>(sum + image[i]);
    return sum == header.fileHeader.FH_Checksum ||
           static_cast<uint32_t>(sum) == static_cast<uint32_t>(~header.fileHeader.FH_Antidote);
}

const directory_entry_t* TfiReader::entry(int i) const
{
    if (i < 0 || static_cast<unsigned>(i) >= TFI_MAX_IMAGES)
        return nullptr;
    return &header.directory.entries[i];
}

const unsigned char* TfiReader::getImage(int i) const
{
    if (!image || i < 0 || static_cast<uint32_t>(i) >= getImageCount())
        return nullptr;
    return image + HEAD_SIZE + header.directory.entries[i].DE_Offset;
}

uint32_t TfiReader::getImageRevision(int i) const
{
    const directory_entry_t* e = entry(i);
    return e ? e->DE_Revision : 0;
}

uint32_t TfiReader::getImageType(int i) const
{
    const directory_entry_t* e = entry(i);
    return e ? e->DE_Type : 0;
}

uint32_t TfiReader::getImageLength(int i) const
{
    const directory_entry_t* e = entry(i);
    return e ? e->DE_Size : 0;
}

uint32_t TfiReader::getImageRule(int i) const
{
    const directory_entry_t* e = entry(i);
    return e ? e->DE_RuleFlags : 0;
}

uint32_t TfiReader::getImageIndex(unsigned long type) const
{
    uint32_t entries = getImageCount();
    if (entries > TFI_MAX_IMAGES)
        entries = TFI_MAX_IMAGES;
    for (uint32_t i = 0; i < entries; ++i)
        if (header.directory.entries[i].DE_Type == type)
            return i;
    return NO_IMAGE;
}
