#include "RaidLib/Util/SESPages.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// Bounded view of a stored page.
class Page {
public:
    Page(const unsigned char* data, size_t size) : data_(data), size_(data ? size : 0) {}

    size_t size() const { return size_; }
    // The n bytes at offset lie inside the page.
    bool holds(size_t offset, size_t n) const { return offset <= size_ && n <= size_ - offset; }
    // Byte at offset; the caller has checked holds().
    uint8_t at(size_t offset) const { return data_[offset]; }
    const unsigned char* ptr(size_t offset) const { return data_ + offset; }
    uint32_t be16(size_t offset) const
    {
        return static_cast<uint32_t>(data_[offset]) << 8 | data_[offset + 1];
    }

private:
    const unsigned char* data_;
    size_t size_;
};

} // namespace

bool decodeSESConfigurationPage(const unsigned char* data, size_t size, SESConfiguration& out,
                                bool& truncated)
{
    Page page(data, size);
    truncated = false;
    if (!page.holds(0, 1) || page.at(0) != 1)
        return false;

    // The first enclosure descriptor's logical identifier, bytes 12-19.
    if (page.holds(12, 8))
        sesFormatSASAddress(page.ptr(12), out.enclosureLogicalID);
    else
        truncated = true;

    // 1 + byte 1 enclosure descriptors from byte 8, each 4 + its byte 3 long.
    const unsigned descriptors = page.holds(1, 1) ? 1u + page.at(1) : 1u;
    size_t pos = 8;
    size_t types = 0;
    for (unsigned d = 0; d < descriptors; ++d) {
        if (!page.holds(pos, 4)) {
            truncated = true;
            return true;
        }
        types += page.at(pos + 2);
        pos += 4 + static_cast<size_t>(page.at(pos + 3));
    }

    // The type descriptor headers, then one text per header with a length.
    const size_t firstHeader = out.headers.size();
    for (size_t t = 0; t < types; ++t, pos += 4) {
        if (!page.holds(pos, 4)) {
            truncated = true;
            return true;
        }
        KRNA_SES_TYPE_DESCRIPTOR_HEADER h;
        std::memcpy(&h, page.ptr(pos), sizeof(h));
        out.headers.push_back(h);
    }
    for (size_t t = firstHeader; t < out.headers.size(); ++t) {
        const size_t length = out.headers[t].TypeDescriptorTextLength;
        if (length == 0)
            continue;
        if (!page.holds(pos, length)) {
            truncated = true;
            return true;
        }
        out.texts.emplace_back(reinterpret_cast<const char*>(page.ptr(pos)), length);
        pos += length;
    }
    return true;
}

bool decodeSESSupportedPages(const unsigned char* data, size_t size, std::vector<uint8_t>& out)
{
    out.clear();
    Page page(data, size);
    if (page.size() < 5 || page.at(0) != 0)
        return false;
    const size_t n = page.be16(2);
    for (size_t i = 0; i < n && page.holds(4 + i, 1); ++i)
        out.push_back(page.at(4 + i));
    return true;
}

namespace {

// Reads the descriptor texts of an Element Descriptor page in order. Once a
// descriptor runs past the page's declared length or the stored page, no
// further text is read.
class DescriptorCursor {
public:
    DescriptorCursor(const unsigned char* data, size_t size) : page_(data, size), pos_(8), readable_(data != nullptr)
    {
        // Bytes 2-3 declare the length after byte 3.
        end_ = page_.holds(2, 2) ? 4 + static_cast<size_t>(page_.be16(2)) : 0;
        if (end_ > page_.size())
            end_ = page_.size();
    }

    std::string next()
    {
        if (!readable_)
            return std::string();
        if (pos_ + 4 > end_) {
            readable_ = false;
            return std::string();
        }
        const size_t n = page_.be16(pos_ + 2);
        if (n > end_ - pos_ - 4) {
            readable_ = false;
            return std::string();
        }
        std::string text(reinterpret_cast<const char*>(page_.ptr(pos_ + 4)), n);
        pos_ += 4 + n;
        return text;
    }

private:
    Page page_;
    size_t pos_;
    size_t end_;
    bool readable_;
};

// Reads one additional element status descriptor at pos into e and moves pos
// past it; false when the descriptor does not lie inside the page.
bool readAdditional(const Page& page, size_t& pos, SESElementData& e)
{
    if (!page.holds(pos, 2))
        return false;
    const size_t length = 2 + static_cast<size_t>(page.at(pos + 1));
    if (!page.holds(pos, length))
        return false;
    const uint8_t b0 = page.at(pos);
    e.hasAdditional = true;
    e.protocolIdentifier = b0 & 0x0F;
    if (e.protocolIdentifier == SES_PROTOCOL_SAS) {
        size_t phyStart;
        e.eip = (b0 & 0x10) != 0;
        if (!e.eip) {
            if (length < 4)
                return false;
            e.numPhy = page.at(pos + 2);
            e.notAllPhys = (page.at(pos + 3) & 0x01) != 0;
            e.invalid = false;
            e.elementIndex = 0x7FFFFFFF;
            e.descriptorType = KRNA_SES_DESCRIPTOR_TYPE_DEVICE;
            e.bayNumber = 0x7FFFFFFF;
            phyStart = 4;
        } else {
            if (length < 8)
                return false;
            e.numPhy = page.at(pos + 4);
            e.notAllPhys = (page.at(pos + 5) & 0x01) != 0;
            e.invalid = (b0 & 0x80) != 0;
            e.elementIndex = page.at(pos + 3);
            e.descriptorType = page.at(pos + 5) >> 6;
            e.bayNumber = page.at(pos + 7);
            phyStart = 8;
        }
        // The phy descriptors belong to this descriptor: they must end
        // inside it.
        if (e.numPhy * sizeof(KRNA_SES2_SAS_PHY_DESCRIPTOR) > length - phyStart)
            return false;
        for (uint32_t p = 0; p < e.numPhy; ++p) {
            const unsigned char* d = page.ptr(pos + phyStart + p * sizeof(KRNA_SES2_SAS_PHY_DESCRIPTOR));
            SESPhyData phy;
            phy.phyIdentifier = d[20];
            std::memcpy(phy.sasAddress, d + 12, 8);
            std::memcpy(phy.attachedSASAddress, d + 4, 8);
            e.phys.push_back(phy);
        }
    }
    pos += length;
    return true;
}

} // namespace

bool decodeSESElements(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers,
                       const unsigned char* statusData, size_t statusSize,
                       const unsigned char* descriptorData, size_t descriptorSize,
                       const unsigned char* additionalData, size_t additionalSize,
                       const std::function<void(const SESElementData&)>& sink)
{
    Page status(statusData, statusSize);
    DescriptorCursor descriptors(descriptorData, descriptorSize);
    Page additional(additionalData, additionalSize);
    const bool haveAdditional = additionalData != nullptr;
    size_t statusPos = 8;
    size_t additionalPos = 8;

    for (const KRNA_SES_TYPE_DESCRIPTOR_HEADER& h : headers) {
        // The type's overall status element and descriptor.
        if (!status.holds(statusPos, 4))
            return false;
        statusPos += 4;
        descriptors.next();
        // A 4-byte descriptor standing before the type's descriptors.
        if (haveAdditional && additional.holds(additionalPos, 2) && additional.at(additionalPos + 1) == 2)
            additionalPos += 4;

        for (unsigned i = 0; i < h.NumberOfPossibleElements; ++i) {
            SESElementData e = SESElementData();
            e.type = h.ElementType;
            if (!status.holds(statusPos, 4))
                return false;
            e.status = static_cast<uint32_t>(status.at(statusPos)) |
                       static_cast<uint32_t>(status.at(statusPos + 1)) << 8 |
                       static_cast<uint32_t>(status.at(statusPos + 2)) << 16 |
                       static_cast<uint32_t>(status.at(statusPos + 3)) << 24;
            statusPos += 4;
            e.descriptor = descriptors.next();
            e.protocolIdentifier = SES_PROTOCOL_NONE;
            if (haveAdditional &&
                (e.type == SES_ELEMENT_DEVICE_SLOT || e.type == SES_ELEMENT_ARRAY_DEVICE_SLOT) &&
                !readAdditional(additional, additionalPos, e))
                return false;
            sink(e);
        }
    }
    return true;
}

uint32_t sesDigitsNumber(const char* text, size_t maxChars)
{
    if (!text)
        return 0;
    const uint32_t cap = 0x7FFFFFFF;
    uint32_t n = 0;
    for (size_t i = 0; i < maxChars && text[i] != '\0'; ++i) {
        if (text[i] < '0' || text[i] > '9')
            continue;
        const uint32_t d = static_cast<uint32_t>(text[i] - '0');
        n = n > (cap - d) / 10 ? cap : n * 10 + d;
    }
    return n;
}

bool sesDescriptorNamesSlot(const char* text)
{
    if (!text)
        return false;
    char lower[25];
    size_t n = 0;
    for (; n < 24 && text[n] != '\0'; ++n)
        lower[n] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[n])));
    lower[n] = '\0';
    return std::strstr(lower, "slot ") || std::strstr(lower, "bay ") || std::strstr(lower, "disk #");
}

void sesFormatSASAddress(const unsigned char* b, char out[17])
{
    std::snprintf(out, 17, "%02X%02X%02X%02X%02X%02X%02X%02X", b[0], b[1], b[2], b[3], b[4], b[5],
                  b[6], b[7]);
}

uint32_t sesControlPageSize(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers)
{
    uint64_t size = 8;
    for (const KRNA_SES_TYPE_DESCRIPTOR_HEADER& h : headers)
        size += 4u * (1u + h.NumberOfPossibleElements);
    return size > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

uint32_t sesControlElementOffset(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers,
                                 size_t typeIndex, uint32_t n)
{
    if (typeIndex >= headers.size() || n >= headers[typeIndex].NumberOfPossibleElements)
        return 0;
    uint64_t offset = 8;
    for (size_t t = 0; t < typeIndex; ++t)
        offset += 4u * (1u + headers[t].NumberOfPossibleElements);
    offset += 4u * (1u + n);
    return offset > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(offset);
}
