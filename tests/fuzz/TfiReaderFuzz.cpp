// libFuzzer target: arbitrary bytes as a Target Flash Image file set. The
// input is split into up to three chunk files (c01.tfi, c02.tfi, c03.tfi)
// and read through the TfiReader from the first, so that single files and
// chunk sets are both reached. Every image the reader hands out is read
// whole, so that the sanitizers see any image that lies outside the data.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "RaidLib/Util/TfiReader.h"

namespace {

volatile uint32_t gSink;

void writeFile(const char* name, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(name, "wb");
    if (!f)
        __builtin_trap();
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
}

// Takes a part: a 32-bit little-endian length (cut to what is left), then
// that many bytes; the last part takes the rest.
size_t nextPart(const uint8_t*& data, size_t& size, bool last)
{
    if (last)
        return size;
    if (size < 4) {
        size_t n = size;
        return n;
    }
    uint32_t n;
    std::memcpy(&n, data, 4);
    data += 4;
    size -= 4;
    return n < size ? n : size;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const unsigned files = 1 + data[0] % 3;
    ++data;
    --size;
    const char* names[] = {"c01.tfi", "c02.tfi", "c03.tfi"};
    for (unsigned k = 0; k < 3; ++k) {
        if (k >= files) {
            std::remove(names[k]);
            continue;
        }
        size_t n = nextPart(data, size, k + 1 == files);
        writeFile(names[k], data, n);
        data += n;
        size -= n;
    }

    TfiReader r(names[0]);
    uint32_t sum = r.getImageCount() + r.getHeaderTotalChunks();
    if (r.isChecksumValid()) {
        const unsigned char* image = r.getImage();
        for (uint32_t i = 0; i < r.getHeaderFileLen(); ++i)
            sum += image[i];
        for (int i = 0; i < 32; ++i) {
            const unsigned char* p = r.getImage(i);
            if (!p)
                continue;
            for (uint32_t b = 0; b < r.getImageLength(i); ++b)
                sum += p[b];
        }
    } else if (r.getImage() || r.getImage(0)) {
        __builtin_trap();
    }
    sum += r.getImageIndex(0x1010);
    gSink = sum;
    return 0;
}
