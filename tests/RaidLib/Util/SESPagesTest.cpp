#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "RaidLib/Util/SESPages.h"
#include "support/EnclosureTestFiles.h"

using namespace testsupport;

namespace {

// A heap copy exactly as long as the page, so that ASan sees any read past it.
struct Exact {
    explicit Exact(const Bytes& b) : size(b.size()), data(new unsigned char[b.size() ? b.size() : 1])
    {
        if (size)
            std::memcpy(data.get(), b.data(), size);
    }
    size_t size;
    std::unique_ptr<unsigned char[]> data;
};

struct Walk {
    bool complete = false;
    std::vector<SESElementData> elements;
};

Walk walk(const std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER>& headers, const Bytes& status,
          const Bytes* descriptors = nullptr, const Bytes* additional = nullptr)
{
    Exact s(status);
    std::unique_ptr<Exact> d(descriptors ? new Exact(*descriptors) : nullptr);
    std::unique_ptr<Exact> a(additional ? new Exact(*additional) : nullptr);
    Walk w;
    w.complete = decodeSESElements(headers, s.data.get(), s.size, d ? d->data.get() : nullptr, d ? d->size : 0,
                                   a ? a->data.get() : nullptr, a ? a->size : 0,
                                   [&w](const SESElementData& e) { w.elements.push_back(e); });
    return w;
}

SESConfiguration configOf(const Bytes& page, bool* truncatedOut = nullptr)
{
    Exact e(page);
    SESConfiguration c;
    bool truncated = true;
    EXPECT_TRUE(decodeSESConfigurationPage(e.data.get(), e.size, c, truncated));
    if (truncatedOut)
        *truncatedOut = truncated;
    else
        EXPECT_FALSE(truncated);
    return c;
}

} // namespace

TEST(SESPages, ConfigurationHeadersAndTextsFollowTheDescriptors)
{
    const unsigned char id[8] = {0x50, 0x0a, 0x0b, 0x0c, 0xd0, 0xe0, 0xf0, 0x01};
    std::vector<SesType> types = {{0x01, {1, 1}, {}, "Drive Slots"}, {0x02, {1}, {}, ""}, {0x06, {1}, {}, "Alarm"}};
    Bytes page = sesConfigPage(types, {}, id);
    ASSERT_EQ(0x01, page[48]) << "headers start at byte 48 after one 40-byte descriptor";
    SESConfiguration c = configOf(page);
    EXPECT_STREQ("500A0B0CD0E0F001", c.enclosureLogicalID);
    ASSERT_EQ(3u, c.headers.size());
    EXPECT_EQ(0x02, c.headers[1].ElementType);
    EXPECT_EQ(2, c.headers[0].NumberOfPossibleElements);
    EXPECT_EQ(5, c.headers[2].TypeDescriptorTextLength);
    ASSERT_EQ(2u, c.texts.size()) << "a header with text length 0 adds no text";
    EXPECT_EQ("Drive Slots", c.texts[0]);
    EXPECT_EQ("Alarm", c.texts[1]);

    // Secondary subenclosures: the headers of both descriptors, in page order.
    std::vector<SesType> two = {{0x01, {1}}, {0x03, {1, 1}}, {0x17, {1}, {}, "x"}};
    SESConfiguration c2 = configOf(sesConfigPage(two, {1, 2}));
    ASSERT_EQ(3u, c2.headers.size());
    EXPECT_EQ(0x17, c2.headers[2].ElementType);
    EXPECT_EQ(1u, c2.texts.size());

    Bytes wrong = page;
    wrong[0] = 2;
    SESConfiguration c3;
    bool truncated = false;
    EXPECT_FALSE(decodeSESConfigurationPage(wrong.data(), wrong.size(), c3, truncated));
    EXPECT_TRUE(c3.headers.empty());
}

TEST(SESPages, TruncatedConfigurationKeepsWhatLiesInside)
{
    std::vector<SesType> types = {{0x01, {1, 1}, {}, "Slots"}, {0x02, {1}, {}, "PSU"}};
    const Bytes page = sesConfigPage(types);
    const struct {
        size_t size;
        size_t headers;
        size_t texts;
    } cases[] = {
        {page.size() - 1, 2, 1}, // inside the last text
        {56, 2, 0},               // right after the headers
        {55, 1, 0},               // inside the second header
        {30, 0, 0},               // inside the enclosure descriptor
        {1, 0, 0},
    };
    for (const auto& c : cases) {
        bool truncated = false;
        SESConfiguration conf = configOf(Bytes(page.begin(), page.begin() + c.size), &truncated);
        EXPECT_TRUE(truncated) << c.size;
        EXPECT_EQ(c.headers, conf.headers.size()) << c.size;
        EXPECT_EQ(c.texts, conf.texts.size()) << c.size;
    }
    // A hostile descriptor count: 256 descriptors of 255 types each.
    Bytes hostile = page;
    hostile[1] = 255;
    hostile[10] = 255;
    bool truncated = false;
    SESConfiguration conf = configOf(hostile, &truncated);
    EXPECT_TRUE(truncated);
}

TEST(SESPages, VendorTypeKeepsLaterElementsAligned)
{
    std::vector<SesType> types = {{0x83, {0xAAAAAAAA, 0xBBBBBBBB}, {"vendor 1", "vendor 2"}},
                                  {0x04, {0x002D0001}, {"Temp 1"}}};
    SESConfiguration c = configOf(sesConfigPage(types));
    Bytes descriptors = sesDescriptorPage(types);
    Walk w = walk(c.headers, sesStatusPage(types), &descriptors);
    EXPECT_TRUE(w.complete);
    ASSERT_EQ(3u, w.elements.size());
    EXPECT_EQ(0x04, w.elements[2].type);
    EXPECT_EQ(0x002D0001u, w.elements[2].status) << "bytes 01 00 2D 00";
    EXPECT_EQ("Temp 1", w.elements[2].descriptor);
    EXPECT_EQ("vendor 2", w.elements[1].descriptor);
}

TEST(SESPages, TruncatedStatusPageStopsTheWalk)
{
    std::vector<SesType> types = {{0x03, {1, 2, 3}}, {0x02, {4}}};
    SESConfiguration c = configOf(sesConfigPage(types));
    Bytes status = sesStatusPage(types);
    ASSERT_EQ(32u, status.size());
    const struct {
        size_t cut;
        size_t elements;
    } cases[] = {{31, 3}, {28, 3}, {20, 2}, {15, 0}, {9, 0}, {3, 0}, {0, 0}};
    for (const auto& c2 : cases) {
        Walk w = walk(c.headers, Bytes(status.begin(), status.begin() + c2.cut));
        EXPECT_FALSE(w.complete) << c2.cut;
        EXPECT_EQ(c2.elements, w.elements.size()) << c2.cut;
    }
    EXPECT_TRUE(walk(c.headers, status).complete);
}

TEST(SESPages, DescriptorTextsPastThePageLengthAreEmpty)
{
    std::vector<SesType> types = {{0x01, {1, 1, 1}, {"Slot 01", "Slot 02", "Slot 03"}}};
    SESConfiguration c = configOf(sesConfigPage(types));
    Bytes descriptors = sesDescriptorPage(types);
    // Declared length ends inside the second slot's text.
    putBE16(descriptors, 2, 8 + (4 + 4) + (4 + 7) + 4 + 3 - 4);
    Walk w = walk(c.headers, sesStatusPage(types), &descriptors);
    EXPECT_TRUE(w.complete) << "the texts are optional";
    ASSERT_EQ(3u, w.elements.size());
    EXPECT_EQ("Slot 01", w.elements[0].descriptor);
    EXPECT_EQ("", w.elements[1].descriptor);
    EXPECT_EQ("", w.elements[2].descriptor);

    // A stored page shorter than its declared length.
    Bytes cut = sesDescriptorPage(types);
    cut.resize(cut.size() - 3);
    w = walk(c.headers, sesStatusPage(types), &cut);
    EXPECT_EQ("Slot 02", w.elements[1].descriptor);
    EXPECT_EQ("", w.elements[2].descriptor);
}

TEST(SESPages, AdditionalElementStatusOfSlots)
{
    std::vector<SesType> types = {{0x01, {0x0501, 0x0601, 0x0701}}, {0x02, {1}}, {0x17, {1}}};
    SESConfiguration c = configOf(sesConfigPage(types));
    Bytes additional = sesAdditionalPage({
        sesSasDescriptor(false, {{3, 0x5000C50000000001ull, 0x500605B000000001ull}}, 0, 0, true),
        sesSasDescriptor(true, {{0, 0x11, 0x21}, {1, 0x12, 0x22}, {2, 0x13, 0x23}}, 9, 4, false, true, 1),
        sesOtherProtocolDescriptor(),
        sesSasDescriptor(true, {}, 12, 7),
    });
    Walk w = walk(c.headers, sesStatusPage(types), nullptr, &additional);
    ASSERT_TRUE(w.complete);
    ASSERT_EQ(5u, w.elements.size());

    const SESElementData& e0 = w.elements[0];
    EXPECT_EQ(SES_PROTOCOL_SAS, e0.protocolIdentifier);
    EXPECT_FALSE(e0.eip);
    EXPECT_FALSE(e0.invalid);
    EXPECT_TRUE(e0.notAllPhys);
    EXPECT_EQ(0x7FFFFFFFu, e0.elementIndex);
    EXPECT_EQ(0x7FFFFFFFu, e0.bayNumber);
    ASSERT_EQ(1u, e0.phys.size());
    EXPECT_EQ(3, e0.phys[0].phyIdentifier);
    EXPECT_EQ(0x50, e0.phys[0].sasAddress[0]);
    EXPECT_EQ(0x01, e0.phys[0].sasAddress[7]);
    EXPECT_EQ(0x06, e0.phys[0].attachedSASAddress[1]);

    const SESElementData& e1 = w.elements[1];
    EXPECT_TRUE(e1.eip);
    EXPECT_TRUE(e1.invalid);
    EXPECT_EQ(4u, e1.elementIndex);
    EXPECT_EQ(9u, e1.bayNumber);
    EXPECT_EQ(1u, e1.descriptorType);
    ASSERT_EQ(3u, e1.numPhy);
    EXPECT_EQ(0x13, e1.phys[2].sasAddress[7]);

    EXPECT_EQ(1, w.elements[2].protocolIdentifier);
    EXPECT_TRUE(w.elements[2].phys.empty());
    EXPECT_FALSE(w.elements[3].hasAdditional) << "power supplies take no descriptor";
    EXPECT_EQ(12u, w.elements[4].bayNumber);

    // A phy count larger than the descriptor holds, and a descriptor whose
    // length runs past the page: the walk stops there.
    Bytes lying = sesAdditionalPage({sesSasDescriptor(false, {{0, 1, 2}})});
    lying[8 + 2] = 2;
    EXPECT_FALSE(walk(c.headers, sesStatusPage(types), nullptr, &lying).complete);
    Bytes past = sesAdditionalPage({sesSasDescriptor(false, {{0, 1, 2}})});
    past[8 + 1] = 200;
    Walk stopped = walk(c.headers, sesStatusPage(types), nullptr, &past);
    EXPECT_FALSE(stopped.complete);
    EXPECT_TRUE(stopped.elements.empty());
}

TEST(SESPages, NumbersFromDescriptorTexts)
{
    EXPECT_EQ(7u, sesDigitsNumber("Slot 07", 1000));
    EXPECT_EQ(123u, sesDigitsNumber("Disk #12 Bay 3", 1000));
    EXPECT_EQ(0u, sesDigitsNumber("none", 1000));
    EXPECT_EQ(12u, sesDigitsNumber("Bay 12 of 99", 6));
    EXPECT_EQ(0x7FFFFFFFu, sesDigitsNumber("Slot 99999999999999999999", 1000)) << "capped";
    EXPECT_EQ(2147483647u, sesDigitsNumber("2147483647", 1000));
    EXPECT_EQ(214748364u, sesDigitsNumber("214748364", 1000));

    EXPECT_TRUE(sesDescriptorNamesSlot("SLOT 1"));
    EXPECT_TRUE(sesDescriptorNamesSlot("Front Bay 3"));
    EXPECT_TRUE(sesDescriptorNamesSlot("DISK #4"));
    EXPECT_FALSE(sesDescriptorNamesSlot("Slot1"));
    EXPECT_FALSE(sesDescriptorNamesSlot("abcdefghijklmnopqrstuvw slot 1")) << "only the first 24 characters";
}

TEST(SESPages, SupportedPagesStayInsideThePage)
{
    Bytes page = {0, 0, 0, 200, 0x00, 0x01, 0x02, 0x07, 0x0A};
    Exact e(page);
    std::vector<uint8_t> codes;
    ASSERT_TRUE(decodeSESSupportedPages(e.data.get(), e.size, codes));
    EXPECT_EQ((std::vector<uint8_t>{0, 1, 2, 7, 10}), codes);
    EXPECT_FALSE(decodeSESSupportedPages(e.data.get(), 4, codes));
    EXPECT_TRUE(codes.empty());
}

TEST(SESPages, ControlPageLayout)
{
    std::vector<KRNA_SES_TYPE_DESCRIPTOR_HEADER> h = {{0x01, 12, 0, 0}, {0x02, 2, 0, 0}, {0x06, 1, 0, 0}};
    EXPECT_EQ(80u, sesControlPageSize(h));
    EXPECT_EQ(76u, sesControlElementOffset(h, 2, 0));
    EXPECT_EQ(20u, sesControlElementOffset(h, 0, 2));
    EXPECT_EQ(0u, sesControlElementOffset(h, 2, 1)) << "no second alarm";
    EXPECT_EQ(0u, sesControlElementOffset(h, 3, 0));
}
