#ifndef TESTSUPPORT_ENCLOSURETESTFILES_H
#define TESTSUPPORT_ENCLOSURETESTFILES_H

// Builders of the files and pages that enclosures read: Target Flash Image
// files and SES-2 diagnostic pages.

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "RaidLib/Util/TfiReader.h"

namespace testsupport {

typedef std::vector<unsigned char> Bytes;

inline void writeBytes(const std::string& path, const Bytes& b)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    if (!b.empty())
        std::fwrite(b.data(), 1, b.size(), f);
    std::fclose(f);
}

struct TfiImage {
    uint32_t type;
    uint32_t rule;
    Bytes data;
};

// A Target Flash Image: header fields, the images in the directory (their
// data one after the other) and which check field carries the sum.
struct TfiSpec {
    std::string vendor = "ACME";
    std::string device = "Quarbel K70";
    std::string deviceVersion = "0200";
    std::string minVersion = "0100";
    std::vector<TfiImage> images;
    Bytes trailer; // data after the images
    std::string signatureTail; // up to 5 bytes after the signature's NUL
    uint32_t totalChunks = 1;
    bool useAntidote = false;
    // Changes the head before the check value is computed.
    std::function<void(tfi_file_header_t&, directory_t&)> tweak;
};

// A text in a fixed-width header field: zero-padded, and without a
// terminator when it fills the field (longer texts are cut).
template <size_t N>
inline void putField(char (&field)[N], const std::string& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), text.size() < N ? text.size() : N);
}

inline uint16_t byteSum(const Bytes& b)
{
    uint16_t s = 0;
    for (unsigned char c : b)
        s = static_cast<uint16_t>(s + c);
    return s;
}

// The whole assembled image with a checksum (or antidote) that makes it
// valid. Two reserved header bytes are set so that a valid check value
// exists for any content.
inline Bytes buildTfi(const TfiSpec& spec)
{
    size_t dataLength = spec.trailer.size();
    for (const TfiImage& i : spec.images)
        dataLength += i.data.size();
    Bytes b(TfiReader::HEAD_SIZE + dataLength, 0);
    tfi_file_header_t h;
    std::memset(&h, 0, sizeof(h));
    std::memcpy(h.FH_Signature, "Corvane Target Flash Image", 27);
    std::memcpy(h.FH_Signature + 27, spec.signatureTail.data(), spec.signatureTail.size() > 5 ? 5 : spec.signatureTail.size());
    putField(h.FH_VendorID, spec.vendor);
    putField(h.FH_DeviceID, spec.device);
    putField(h.FH_DeviceVersion, spec.deviceVersion);
    putField(h.FH_MinDeviceVersionToUpgradeFrom, spec.minVersion);
    h.FH_FileLength = static_cast<uint32_t>(b.size());
    h.FH_TotalChunks = spec.totalChunks;
    directory_t d;
    std::memset(&d, 0, sizeof(d));
    d.header.DH_Entries = static_cast<uint32_t>(spec.images.size());
    uint32_t offset = 0;
    for (size_t i = 0; i < spec.images.size() && i < TFI_MAX_IMAGES; ++i) {
        d.entries[i].DE_Type = spec.images[i].type;
        d.entries[i].DE_RuleFlags = spec.images[i].rule;
        d.entries[i].DE_Offset = offset;
        d.entries[i].DE_Size = static_cast<uint32_t>(spec.images[i].data.size());
        std::memcpy(&b[TfiReader::HEAD_SIZE + offset], spec.images[i].data.data(),
                    spec.images[i].data.size());
        offset += d.entries[i].DE_Size;
    }
    if (!spec.trailer.empty())
        std::memcpy(&b[TfiReader::HEAD_SIZE + offset], spec.trailer.data(), spec.trailer.size());
    std::memcpy(&d.header.DH_Revision, "\1\0\0\0", 4);
    if (spec.tweak)
        spec.tweak(h, d);
    std::memcpy(&b[0], &h, sizeof(h));
    std::memcpy(&b[sizeof(h)], &d, sizeof(d));

    // The sum covers the check fields too. With the checksum field T = 256 x hi
    // the sum grows by hi; with the antidote ~T it grows by 1020 - 257 x hi.
    // A pad p of 0-510 in two reserved bytes makes the equation solvable.
    const size_t checksumAt = offsetof(tfi_file_header_t, FH_Checksum);
    const size_t antidoteAt = offsetof(tfi_file_header_t, FH_Antidote);
    const size_t padAt = offsetof(tfi_file_header_t, FH_Reserved);
    const uint16_t base = byteSum(b);
    for (unsigned p = 0; p <= 510; ++p) {
        for (unsigned hi = 0; hi < 256; ++hi) {
            const uint16_t target = static_cast<uint16_t>(hi << 8);
            uint32_t sum = base + p;
            uint32_t field;
            if (!spec.useAntidote) {
                field = target;
                sum += hi;
            } else {
                field = ~static_cast<uint32_t>(target);
                sum += (field & 0xFF) + ((field >> 8) & 0xFF) + 0xFF + 0xFF;
            }
            if (static_cast<uint16_t>(sum) != target)
                continue;
            b[padAt] = static_cast<unsigned char>(p > 255 ? 255 : p);
            b[padAt + 1] = static_cast<unsigned char>(p > 255 ? p - 255 : 0);
            std::memcpy(&b[spec.useAntidote ? antidoteAt : checksumAt], &field, 4);
            return b;
        }
    }
    return b;
}

// Writes an assembled image as n chunk files named base01.ext ...: the
// first holds the image's head, every chunk starts with a 6292-byte head of
// its own (filled with junk after the first when damageLaterHeads).
inline void writeTfiChunks(const Bytes& whole, unsigned n, bool damageLaterHeads)
{
    const size_t head = TfiReader::HEAD_SIZE;
    const size_t data = whole.size() - head;
    size_t done = 0;
    for (unsigned k = 1; k <= n; ++k) {
        const size_t part = k == n ? data - done : data / n;
        Bytes chunk(whole.begin(), whole.begin() + head);
        if (k > 1 && damageLaterHeads)
            std::memset(chunk.data(), 0xAB, head);
        chunk.insert(chunk.end(), whole.begin() + head + done, whole.begin() + head + done + part);
        done += part;
        char name[32];
        std::snprintf(name, sizeof(name), "base%02u.ext", k);
        writeBytes(name, chunk);
    }
}

// Sets a 32-bit field of a built image (the checks are not renewed).
inline void poke32(Bytes& b, size_t offset, uint32_t v) { std::memcpy(&b[offset], &v, 4); }

inline Bytes bytesOf(size_t n, unsigned seed)
{
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<unsigned char>((i * 7 + seed) & 0xFF);
    return b;
}

// ---- SES-2 diagnostic pages ----

// One element type of an enclosure: its code, the status word of each
// element (byte 0 in the low bits), their descriptor texts (when given) and
// the type descriptor text.
struct SesType {
    SesType(uint8_t t, std::vector<uint32_t> s, std::vector<std::string> x = {}, std::string tt = "",
            uint8_t sub = 0)
        : type(t), status(std::move(s)), texts(std::move(x)), typeText(std::move(tt)), subenclosure(sub)
    {
    }
    uint8_t type;
    std::vector<uint32_t> status;
    std::vector<std::string> texts;
    std::string typeText;
    uint8_t subenclosure;
};

inline void putBE16(Bytes& b, size_t at, size_t v)
{
    b[at] = static_cast<unsigned char>(v >> 8);
    b[at + 1] = static_cast<unsigned char>(v);
}

// Page head: code, byte 1, page length (size - 4) and generation code 0x11223344.
inline void finishPage(Bytes& b, uint8_t code, uint8_t byte1 = 0)
{
    b[0] = code;
    b[1] = byte1;
    putBE16(b, 2, b.size() - 4);
    b[4] = 0x11;
    b[5] = 0x22;
    b[6] = 0x33;
    b[7] = 0x44;
}

// Configuration page: one enclosure descriptor (40 bytes) per entry of
// typesPerDescriptor (the number of types of each; all types in one when
// empty), then the headers and the type texts.
inline Bytes sesConfigPage(const std::vector<SesType>& types, std::vector<unsigned> typesPerDescriptor = {},
                           const unsigned char* logicalID = nullptr)
{
    if (typesPerDescriptor.empty())
        typesPerDescriptor.push_back(static_cast<unsigned>(types.size()));
    Bytes b(8, 0);
    for (size_t d = 0; d < typesPerDescriptor.size(); ++d) {
        Bytes desc(40, 0);
        desc[0] = 0x11;
        desc[1] = static_cast<unsigned char>(d);
        desc[2] = static_cast<unsigned char>(typesPerDescriptor[d]);
        desc[3] = 36;
        for (int i = 0; i < 8; ++i)
            desc[4 + i] = logicalID ? logicalID[i] : static_cast<unsigned char>(0x50 + i + d);
        std::memcpy(&desc[12], "VENDOR  PRODUCT         0001", 28);
        b.insert(b.end(), desc.begin(), desc.end());
    }
    for (const SesType& t : types) {
        b.push_back(t.type);
        b.push_back(static_cast<unsigned char>(t.status.size()));
        b.push_back(t.subenclosure);
        b.push_back(static_cast<unsigned char>(t.typeText.size()));
    }
    for (const SesType& t : types)
        b.insert(b.end(), t.typeText.begin(), t.typeText.end());
    finishPage(b, 1, static_cast<uint8_t>(typesPerDescriptor.size() - 1));
    return b;
}

// Enclosure Status page: per type an overall element (0x0F 0 0 0), then the
// elements' status words.
inline Bytes sesStatusPage(const std::vector<SesType>& types)
{
    Bytes b(8, 0);
    for (const SesType& t : types) {
        b.insert(b.end(), {0x0F, 0, 0, 0});
        for (uint32_t s : t.status)
            b.insert(b.end(), {static_cast<unsigned char>(s), static_cast<unsigned char>(s >> 8),
                               static_cast<unsigned char>(s >> 16), static_cast<unsigned char>(s >> 24)});
    }
    finishPage(b, 2);
    return b;
}

// Element Descriptor page: per type an overall descriptor with the text
// "type", then one per element with its text (empty when not given).
inline Bytes sesDescriptorPage(const std::vector<SesType>& types)
{
    Bytes b(8, 0);
    auto add = [&b](const std::string& text) {
        b.insert(b.end(), {0, 0, 0, 0});
        putBE16(b, b.size() - 2, text.size());
        b.insert(b.end(), text.begin(), text.end());
    };
    for (const SesType& t : types) {
        add("type");
        for (size_t i = 0; i < t.status.size(); ++i)
            add(i < t.texts.size() ? t.texts[i] : std::string());
    }
    finishPage(b, 7);
    return b;
}

// A SAS phy of an additional element status descriptor.
struct SesPhy {
    uint8_t id;
    uint64_t sasAddress;
    uint64_t attachedAddress;
};

// A SAS additional element status descriptor; with eip the element index
// and bay number are present.
inline Bytes sesSasDescriptor(bool eip, std::vector<SesPhy> phys, uint8_t bay = 0, uint8_t elementIndex = 0,
                              bool notAllPhys = false, bool invalid = false, uint8_t descriptorType = 0)
{
    Bytes b(eip ? 8 : 4, 0);
    b[0] = static_cast<unsigned char>(0x06 | (eip ? 0x10 : 0) | (invalid ? 0x80 : 0));
    const size_t counts = eip ? 4 : 2;
    b[counts] = static_cast<unsigned char>(phys.size());
    b[counts + 1] = static_cast<unsigned char>((notAllPhys ? 1 : 0) | descriptorType << 6);
    if (eip) {
        b[3] = elementIndex;
        b[7] = bay;
    }
    for (const SesPhy& p : phys) {
        Bytes d(28, 0);
        d[0] = 0x10;
        for (int i = 0; i < 8; ++i) {
            d[4 + i] = static_cast<unsigned char>(p.attachedAddress >> (56 - 8 * i));
            d[12 + i] = static_cast<unsigned char>(p.sasAddress >> (56 - 8 * i));
        }
        d[20] = p.id;
        b.insert(b.end(), d.begin(), d.end());
    }
    b[1] = static_cast<unsigned char>(b.size() - 2);
    return b;
}

// A descriptor of another protocol (identifier 1), 8 bytes.
inline Bytes sesOtherProtocolDescriptor() { return Bytes{0x01, 0x06, 0, 0, 0, 0, 0, 0}; }

// Additional Element Status page of these descriptors in order.
inline Bytes sesAdditionalPage(const std::vector<Bytes>& descriptors)
{
    Bytes b(8, 0);
    for (const Bytes& d : descriptors)
        b.insert(b.end(), d.begin(), d.end());
    finishPage(b, 0x0A);
    return b;
}

} // namespace testsupport

#endif
