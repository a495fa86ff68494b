#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "RaidModel/Interface/Adapter.h"
#include "RaidModel/Interface/HardDrive.h"
#include "RaidModel/Interface/SAS/SASPhy.h"
#include "RaidModel/Interface/SES2EnclosureDevice.h"
#include "RaidModel/ModelTestUtil.h"
#include "support/EnclosureTestFiles.h"

using modeltest::Parsed;
using modeltest::treeText;
using namespace testsupport;

namespace {

Buffer bufferOf(const Bytes& b) { return Buffer(static_cast<uint32_t>(b.size()), b.data()); }

// An enclosure whose hooks record what is sent and answer from a script:
// diagnostic pages, download packets and quiesce calls are kept; the n-th
// download status read answers statuses[n] (the last entry repeats), a
// negative entry being a failed read with that code.
class ScriptedEnclosure : public SES2EnclosureDevice {
public:
    explicit ScriptedEnclosure(const char* model = "Z12SAS-JBOD", const char* firmware = "0150",
                               Adapter* adapterIN = nullptr)
        : SES2EnclosureDevice(adapterIN, nullptr, 9, "ACME", model, "SN", firmware, DRIVE_READY, "FRU")
    {
        maxBusyPolls = 50;
    }
    ~ScriptedEnclosure() override { deleteAllChildren(); }

    struct Packet {
        unsigned subenclosure, mode, bufferID;
        unsigned long offset, length;
        Bytes data;
    };

    Ret sendDiagnosticPage(EnumSESPageCodes code, unsigned char* page, unsigned long size) override
    {
        pageCodes.push_back(code);
        pages.push_back(Bytes(page, page + size));
        return diagnosticResult;
    }
    Ret quiesceForDownload(bool quiesce) override
    {
        quiesceCalls.push_back(quiesce);
        return quiesce ? quiesceResult : Ret(0);
    }
    Ret sendDownloadMicrocodeControlPage(unsigned char sub, unsigned char mode, unsigned char bufferID,
                                         unsigned long offset, unsigned long length, Buffer& data) override
    {
        packets.push_back({sub, mode, bufferID, offset, length, Bytes(data.CPtr(), data.CPtr() + data.Size())});
        return Ret(-1);
    }
    Ret getDownloadMicrocodeStatusPage(Buffer& data) override
    {
        ++statusReads;
        if (!statusPage.empty()) {
            data = bufferOf(statusPage);
            return Ret(0);
        }
        const size_t n = statusReads - 1;
        const int s = statuses.empty() ? 0 : statuses[std::min(n, statuses.size() - 1)];
        if (s < 0)
            return Ret(s);
        Bytes page(24, 0);
        page[0] = 0x0E;
        page[3] = 20;
        page[8 + 2] = static_cast<unsigned char>(s);
        data = bufferOf(page);
        return Ret(0);
    }

    std::vector<int> pageCodes;
    std::vector<Bytes> pages;
    Ret diagnosticResult = Ret(0);
    std::vector<bool> quiesceCalls;
    Ret quiesceResult = Ret(0);
    std::vector<Packet> packets;
    std::vector<int> statuses;
    Bytes statusPage;
    size_t statusReads = 0;
};

const uint64_t kDrive0 = 0x5000C50000000A00ull;

// An enclosure of 3 SAS device slots, 2 power supplies, 2 fans, a vendor
// type, a temperature sensor, an audible alarm and the enclosure element.
std::vector<SesType> fullTypes()
{
    return {
        SesType(0x01, {0x00000001, 0x00000101, 0x00000201}, {"Slot 00", "Slot 01", "Slot 02"}),
        SesType(0x02, {0x01, 0x02}, {"PSU A", "PSU B"}),
        SesType(0x83, {0xAAAAAAAA}, {"vendor"}),
        SesType(0x03, {0x01, 0x05}, {"Fan 1", "Fan 2"}),
        SesType(0x04, {0x002D0001}, {"Temp"}),
        SesType(0x06, {0x01}, {"Alarm"}),
        SesType(0x0E, {0x01}, {"Enclosure"}),
    };
}

Bytes fullAdditionalPage()
{
    return sesAdditionalPage({
        sesSasDescriptor(true, {{0, kDrive0, 0x500605B000000001ull}, {1, kDrive0 + 1, 0x500605B000000002ull},
                                {2, kDrive0 + 2, 0x500605B000000003ull}},
                         4, 0),
        sesSasDescriptor(true, {{0, kDrive0 + 0x10, 0}}, 5, 1),
        sesSasDescriptor(true, {{0, kDrive0 + 0x20, 0}}, 6, 2),
    });
}

void loadPages(SES2EnclosureDevice& e, const std::vector<SesType>& types, bool descriptors = true,
               const Bytes* additional = nullptr)
{
    e.setConfigurationPage(bufferOf(sesConfigPage(types)));
    e.setStatusPage(bufferOf(sesStatusPage(types)));
    if (descriptors)
        e.setElementDescriptorPage(bufferOf(sesDescriptorPage(types)));
    if (additional)
        e.setDeviceElementStatusPage(bufferOf(*additional));
}

} // namespace

TEST(SES2EnclosureDevice, DecodesItsPagesIntoElements)
{
    ScriptedEnclosure e;
    const Bytes additional = fullAdditionalPage();
    loadPages(e, fullTypes(), true, &additional);
    e.initSESData();
    ASSERT_TRUE(e.isSESDataValid());
    ASSERT_EQ(10u, e.getChildCount()) << "no object for the vendor type's element";
    EXPECT_EQ(7u, e.getNumberOfElementTypesSupported());

    ASSERT_NE(nullptr, e.getSESDeviceSAS(2));
    EXPECT_EQ(e.getSESDevice(0), e.getSESDeviceSAS(0));
    EXPECT_EQ(nullptr, e.getSESArrayDevice(0));
    SESDeviceSAS* slot0 = e.getSESDeviceSAS(0);
    EXPECT_STREQ("Slot 00", slot0->getDescriptor());
    EXPECT_EQ(4u, slot0->getBayNumber());
    EXPECT_EQ(3u, slot0->getNumPhy());
    ASSERT_EQ(3u, slot0->getNumSASPhys());
    EXPECT_EQ(0x0A, slot0->getPhy0()[6]);
    EXPECT_EQ(0x00, slot0->getPhy0()[7]);
    EXPECT_EQ(0x01, slot0->getPhy1()[7]);
    const SASPhy* phy = slot0->getSASPhy(2);
    EXPECT_STREQ("5000C50000000A02", phy->getSASAddress());
    EXPECT_STREQ("500605B000000003", phy->getAttachedSASaddress());
    EXPECT_EQ(2u, phy->getPhyID());
    EXPECT_EQ(SAS_HW_RATE_30, phy->getHwMinPhyLinkRate());
    EXPECT_EQ(SAS_HW_RATE_30, phy->getHwMaxPhyLinkRate());
    EXPECT_EQ(0u, phy->getItemID()) << "the phys carry the element's item number";
    EXPECT_EQ(9u, phy->getDeviceID());
    EXPECT_EQ(5u, e.getNumSASPhys()) << "and appear in the enclosure's own phy list";
    EXPECT_EQ(1u, e.getSESDeviceSAS(1)->getItemID());

    // Queries over the children; the vendor type kept the later ones aligned.
    EXPECT_EQ(2, e.getFanCount());
    EXPECT_EQ(2, e.getPowerSupplyCount());
    EXPECT_EQ(KRNA_SES_STATUS_NOT_INSTALLED, e.getFanStatus(1));
    EXPECT_EQ(KRNA_SES_STATUS_UNKNOWN, e.getFanStatus(2));
    EXPECT_EQ(KRNA_SES_STATUS_CRITICAL, e.getPowerSupplyStatus(1));
    EXPECT_EQ(25, e.getCelciusTemperature()) << "status bytes 01 00 2D 00";
    EXPECT_FALSE(e.isTempOutOfRange());
    EXPECT_STREQ("Temp", e.getOtherSESElement(4)->getDescriptor());
    EXPECT_STREQ("50515253545556" "57", e.getEnclosureLogicalID());

    ScriptedEnclosure hot;
    std::vector<SesType> hotTypes = {SesType(0x04, {0x002D0005})};
    loadPages(hot, hotTypes);
    hot.initSESData();
    EXPECT_TRUE(hot.isTempOutOfRange()) << "a sensor that is not installed";
    ScriptedEnclosure warm;
    std::vector<SesType> warmTypes = {SesType(0x04, {0x042D0001})};
    loadPages(warm, warmTypes);
    warm.initSESData();
    EXPECT_TRUE(warm.isTempOutOfRange()) << "over-temperature warning";
}

TEST(SES2EnclosureDevice, SlotsWithoutSASDataStayPlain)
{
    ScriptedEnclosure e;
    std::vector<SesType> types = {SesType(0x01, {0x0501}), SesType(0x17, {0x0601})};
    const Bytes additional = sesAdditionalPage({sesOtherProtocolDescriptor(), sesOtherProtocolDescriptor()});
    loadPages(e, types, false, &additional);
    e.initSESData();
    ASSERT_TRUE(e.isSESDataValid());
    ASSERT_NE(nullptr, e.getSESDevice(0));
    EXPECT_EQ(nullptr, e.getSESDeviceSAS(0));
    EXPECT_EQ(15, e.getSESDevice(0)->getProtocolIdentifier());
    EXPECT_EQ(5u, e.getSESDevice(0)->getSlotAddress());
    EXPECT_EQ(15, e.getSESArrayDevice(0)->getProtocolIdentifier());
}

TEST(SES2EnclosureDevice, TruncatedPagesLeaveTheDataInvalid)
{
    const std::vector<SesType> types = fullTypes();
    const Bytes status = sesStatusPage(types);
    const Bytes config = sesConfigPage(types);
    const Bytes additional = fullAdditionalPage();
    struct Case {
        const char* what;
        Bytes config, status, additional;
        size_t elements; // made before the decoding stopped
    } const cases[] = {
        {"status page", config, Bytes(status.begin(), status.end() - 2), additional, 9},
        {"status page head", config, Bytes(status.begin(), status.begin() + 6), additional, 0},
        {"additional page", config, status, Bytes(additional.begin(), additional.end() - 1), 2},
        {"configuration headers", Bytes(config.begin(), config.begin() + 48 + 4 * 3 + 2), status, additional, 5},
    };
    for (const Case& c : cases) {
        ScriptedEnclosure e;
        e.setConfigurationPage(bufferOf(c.config));
        e.setStatusPage(bufferOf(c.status));
        e.setDeviceElementStatusPage(bufferOf(c.additional));
        e.initSESData();
        EXPECT_FALSE(e.isSESDataValid()) << c.what;
        EXPECT_EQ(c.elements, e.getChildCount()) << c.what;
    }

    ScriptedEnclosure none;
    none.setConfigurationPage(bufferOf(config));
    none.initSESData();
    EXPECT_FALSE(none.isSESDataValid()) << "no status page";

    ScriptedEnclosure noConfig;
    noConfig.setStatusPage(bufferOf(status));
    noConfig.initSESData();
    EXPECT_TRUE(noConfig.isSESDataValid());
    EXPECT_EQ(0u, noConfig.getChildCount());
}

TEST(SES2EnclosureDevice, PagesOfAnotherCodeAreIgnored)
{
    ScriptedEnclosure e;
    Bytes status = sesStatusPage(fullTypes());
    status[0] = 3;
    e.setStatusPage(bufferOf(status));
    e.setStatusPage(Buffer());
    e.initSESData();
    EXPECT_FALSE(e.isSESDataValid());
    e.setSupportedDiagnosticPages(bufferOf(Bytes{0, 0, 0, 3, 1, 2, 7}));
    EXPECT_TRUE(e.supportsDiagnosticPage(7));
    EXPECT_FALSE(e.supportsDiagnosticPage(10));
    EXPECT_EQ(0u, e.getConfigurationPage().Size());
}

namespace {

// Configuration types [device slot x12, power supply x2, audible alarm x1].
ScriptedEnclosure* controlEnclosure()
{
    ScriptedEnclosure* e = new ScriptedEnclosure;
    std::vector<uint32_t> slots(12, 0x01);
    loadPages(*e, {SesType(0x01, slots), SesType(0x02, {1, 1}), SesType(0x06, {1})});
    e->initSESData();
    return e;
}

Bytes goldenPage(std::vector<std::pair<size_t, unsigned char>> set)
{
    Bytes page(80, 0);
    page[0] = 0x02;
    page[3] = 76;
    page[4] = 0x11;
    page[5] = 0x22;
    page[6] = 0x33;
    page[7] = 0x44;
    for (auto& s : set)
        page[s.first] = s.second;
    return page;
}

} // namespace

TEST(SES2EnclosureDevice, AlarmControlPages)
{
    const struct {
        EnumAlarmState state;
        Bytes page;
    } cases[] = {
        {ALARM_SOUND, goldenPage({{76, 0x80}, {79, 0x02}})},
        {ALARM_DISABLED, goldenPage({{76, 0xA0}})},
        {ALARM_QUIET, goldenPage({{76, 0x80}, {79, 0x40}})},
        {ALARM_ENABLED, goldenPage({{76, 0x80}})},
        {ALARM_SOUND_STOP, goldenPage({{76, 0x80}})},
    };
    for (const auto& c : cases) {
        std::unique_ptr<ScriptedEnclosure> e(controlEnclosure());
        e->diagnosticResult = Ret(-5);
        EXPECT_EQ(-5, e->setAlarmState(c.state).getReturn()) << "the hook's answer is passed on";
        ASSERT_EQ(1u, e->pages.size());
        EXPECT_EQ(KRNA_SES_PAGE_ENCLOSURE_CONTROL, e->pageCodes[0]);
        EXPECT_EQ(c.page, e->pages[0]) << c.state;
    }

    ScriptedEnclosure noAlarm;
    loadPages(noAlarm, {SesType(0x01, {1}), SesType(0x06, {})});
    noAlarm.initSESData();
    EXPECT_EQ(Ret::NOT_SUPPORTED, noAlarm.setAlarmState(ALARM_SOUND).getReturn());
    EXPECT_TRUE(noAlarm.pages.empty()) << "no alarm element: nothing is sent";

    SES2EnclosureDevice base;
    EXPECT_EQ(Ret::NOT_SUPPORTED, base.sendDiagnosticPage(KRNA_SES_PAGE_ENCLOSURE_CONTROL, nullptr, 0).getReturn());
}

TEST(SES2EnclosureDevice, BlinkControlPages)
{
    std::unique_ptr<ScriptedEnclosure> e(controlEnclosure());
    SESElement* third = e->getSESDevice(2);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(0, e->blinkElement(true, *third).getReturn());
    EXPECT_EQ(0, e->blinkElement(false, *third).getReturn());
    SESElement* supply = e->getOtherSESElement(1);
    EXPECT_EQ(0, e->blinkElement(true, *supply).getReturn());
    ASSERT_EQ(3u, e->pages.size());
    EXPECT_EQ(goldenPage({{20, 0x80}, {22, 0x02}}), e->pages[0]);
    EXPECT_EQ(goldenPage({{20, 0x80}}), e->pages[1]);
    EXPECT_EQ(goldenPage({}), e->pages[2]) << "other types select nothing";

    // Not an element of this enclosure: refused, nothing sent.
    SESDevice stranger(0x0101, "", 15);
    stranger.getAddr2().setItemID(99);
    EXPECT_EQ(Ret::BAD_PARAM, e->blinkElement(true, stranger).getReturn());
    EXPECT_EQ(3u, e->pages.size());
}

TEST(SES2EnclosureDevice, BlinkCountsAcrossSubenclosures)
{
    ScriptedEnclosure e;
    std::vector<SesType> types = {SesType(0x01, {1, 1}), SesType(0x0E, {1}), SesType(0x01, {1, 1, 1}, {}, "", 1)};
    e.setConfigurationPage(bufferOf(sesConfigPage(types, {2, 1})));
    e.setStatusPage(bufferOf(sesStatusPage(types)));
    e.initSESData();
    ASSERT_EQ(5u, e.getNumSESElements() - 1);
    EXPECT_EQ(0, e.blinkElement(true, *e.getSESDevice(3)).getReturn());
    EXPECT_EQ(0, e.blinkElement(true, *e.getOtherSESElement(0)).getReturn());
    ASSERT_EQ(2u, e.pages.size());
    // Head 8, slots 4 + 8, enclosure 4 + 4, second slots' overall at 28.
    const Bytes& slotPage = e.pages[0];
    EXPECT_EQ(0x80, slotPage[28 + 4 * 2]) << "the second of the second subenclosure's slots";
    EXPECT_EQ(0x02, slotPage[28 + 4 * 2 + 2]);
    EXPECT_EQ(0x80, e.pages[1][24]);
    EXPECT_EQ(0x80, e.pages[1][25]) << "the enclosure's identify bit";
}

namespace {

// A controller with hard drives, each with one phy, and an enclosure on it.
struct Shelf {
    Adapter adapter;
    std::vector<HardDrive*> drives;
    ScriptedEnclosure* enclosure;

    explicit Shelf(unsigned driveCount)
    {
        for (unsigned d = 0; d < driveCount; ++d) {
            HardDrive* drive = new HardDrive;
            adapter.addChild(drive);
            char address[17];
            std::snprintf(address, sizeof(address), "%016llX", static_cast<unsigned long long>(kDrive0 + 0x10 * d));
            drive->addChild(new SASPhy(0, address, 0, 0, 0, "", 0, 0, SAS_END_DEVICE, SAS_NEG_RATE_30,
                                       SAS_PRG_RATE_30, SAS_PRG_RATE_30, SAS_HW_RATE_30, SAS_HW_RATE_30, 0, false,
                                       0, SAS_ROUTE_DIRECT));
            drives.push_back(drive);
        }
        enclosure = new ScriptedEnclosure("Z12SAS", "0150", &adapter);
        adapter.addChild(enclosure);
    }
    ~Shelf() { adapter.deleteAllChildren(); }
};

} // namespace

TEST(SES2EnclosureDevice, SlotNumberingMethods)
{
    const uint64_t d1 = kDrive0 + 0x10, d2 = kDrive0 + 0x20;
    struct Case {
        const char* what;
        std::vector<SesType> types;
        std::vector<Bytes> descriptors;
        std::vector<uint32_t> slots; // of drives 0, 1, 2
        int method;
    } const cases[] = {
        {"array bay numbers",
         {SesType(0x17, {1, 1, 1})},
         {sesSasDescriptor(true, {{0, kDrive0, 0}}, 10), sesSasDescriptor(true, {{0, d1, 0}}, 11),
          sesSasDescriptor(true, {{0, d2, 0}}, 12)},
         {10, 11, 12},
         1},
        {"device bay numbers",
         {SesType(0x01, {1, 1, 1}, {"Slot 07", "Slot 08", "Slot 09"})},
         {sesSasDescriptor(true, {{0, kDrive0, 0}}, 20), sesSasDescriptor(true, {{0, d1, 0}}, 21),
          sesSasDescriptor(true, {{0, d2, 0}}, 22)},
         {20, 21, 22},
         2},
        {"device descriptors",
         {SesType(0x01, {1, 1, 1}, {"Slot 07", "Slot 08", "Disk #12 Bay 3"})},
         {sesSasDescriptor(false, {{0, kDrive0, 0}}), sesSasDescriptor(false, {{0, d1, 0}}),
          sesSasDescriptor(false, {{0, d2, 0}})},
         {7, 8, 123},
         4},
        {"one descriptor without the words: slot addresses",
         {SesType(0x01, {0x0301, 0x0401, 0x0501}, {"Slot 07", "Slot 08", "Drive 9"})},
         {sesSasDescriptor(false, {{0, kDrive0, 0}}), sesSasDescriptor(false, {{0, d1, 0}}),
          sesSasDescriptor(false, {{0, d2, 0}})},
         {3, 4, 5},
         5},
        {"no method: ordinal among the SAS elements",
         {SesType(0x17, {1, 1, 1, 1}, {"", "", "", ""})},
         {sesOtherProtocolDescriptor(), sesSasDescriptor(false, {{0, kDrive0, 0}}),
          sesSasDescriptor(false, {{0, d1, 0}}), sesSasDescriptor(false, {{0, d2, 0}})},
         {0, 1, 2},
         0},
    };
    for (const Case& c : cases) {
        Shelf shelf(3);
        ScriptedEnclosure* e = shelf.enclosure;
        const Bytes additional = sesAdditionalPage(c.descriptors);
        loadPages(*e, c.types, true, &additional);
        e->initSESData();
        ASSERT_TRUE(e->isSESDataValid()) << c.what;
        testing::internal::CaptureStderr();
        e->setHardDriveLocationMap(7);
        testing::internal::GetCapturedStderr();
        const bool flags[] = {e->usesSASArrayDeviceElementBayNumbers(), e->usesSASDeviceElementBayNumbers(),
                              e->usesArrayDeviceElementDescriptors(), e->usesDeviceElementDescriptors(),
                              e->usesDeviceElementSlotAddresses()};
        for (int m = 1; m <= 5; ++m)
            EXPECT_EQ(m == c.method, flags[m - 1]) << c.what << " method " << m;
        EXPECT_TRUE(e->knowsSlotIDMethod());
        for (size_t d = 0; d < 3; ++d) {
            EXPECT_EQ(c.slots[d], shelf.drives[d]->getSlotID()) << c.what << " drive " << d;
            EXPECT_EQ(7u, shelf.drives[d]->getEnclosureID()) << c.what;
        }
    }
}

TEST(SES2EnclosureDevice, FindsTheSlotElementOfADrive)
{
    Shelf shelf(3);
    ScriptedEnclosure* e = shelf.enclosure;
    EXPECT_EQ(0x7FFFFFFFu, e->getDeviceIndexForDrive(shelf.drives[0])) << "no SES data yet";
    const Bytes additional = fullAdditionalPage();
    loadPages(*e, fullTypes(), true, &additional);
    e->initSESData();
    EXPECT_EQ(0u, e->getDeviceIndexForDrive(shelf.drives[0]));
    EXPECT_EQ(2u, e->getDeviceIndexForDrive(shelf.drives[2]));
    EXPECT_EQ(0x7FFFFFFFu, e->getArrayDeviceIndexForDrive(shelf.drives[2]));
    EXPECT_EQ(0x7FFFFFFFu, e->getDeviceIndexForDrive(nullptr));
}

TEST(SES2EnclosureDevice, WrittenAndReadBack)
{
    ScriptedEnclosure e;
    std::vector<SesType> types = {SesType(0x01, {0x0101, 0x0201}, {"Slot 1", "Slot 2"}), SesType(0x03, {1})};
    const Bytes additional =
        sesAdditionalPage({sesSasDescriptor(true, {{0, kDrive0, 1}, {1, kDrive0 + 1, 2}}, 3), sesOtherProtocolDescriptor()});
    loadPages(e, types, true, &additional);
    e.initSESData();
    ASSERT_TRUE(e.isSESDataValid());
    const std::string xml = treeText(e) + "<Next/>";
    EXPECT_NE(std::string::npos, xml.find("<SESEnclosureDevice typeName=\"SES2EnclosureDevice\"")) << xml;
    EXPECT_NE(std::string::npos, xml.find("sesVersionDescriptor=\"992\" enclosureLogicalID=\"5051525354555657\""));

    Parsed p(xml);
    ASSERT_TRUE(p.startOf("SESEnclosureDevice"));
    SES2EnclosureDevice back(nullptr, nullptr, p.parser);
    EXPECT_EQ(std::vector<std::string>{"13 Next"}, p.rest());
    EXPECT_FALSE(back.isSESDataValid());
    EXPECT_STREQ("", back.getEnclosureLogicalID());
    EXPECT_STREQ("Z12SAS-JBOD", back.getModel());
    EXPECT_EQ(ENCLOSURE_SERVICES_DEVICE, back.getDeviceType());
    EXPECT_EQ(9u, back.getDeviceID());
    ASSERT_EQ(3u, back.getChildCount());
    SESDeviceSAS* slot = back.getSESDeviceSAS(0);
    ASSERT_NE(nullptr, slot);
    EXPECT_EQ(0x0101u, slot->getStatus());
    EXPECT_STREQ("Slot 1", slot->getDescriptor());
    EXPECT_EQ(3u, slot->getBayNumber());
    EXPECT_TRUE(slot->isEIP());
    ASSERT_EQ(2u, slot->getNumSASPhys());
    EXPECT_STREQ("5000C50000000A01", slot->getSASPhy(1)->getSASAddress());
    EXPECT_EQ(2u, back.getNumSASPhys());
    // The slot without SAS data comes back as a plain element of its type.
    EXPECT_EQ(nullptr, back.getSESDevice(1));
    ASSERT_NE(nullptr, back.getOtherSESElement(0));
    EXPECT_STREQ("SESElement", back.getOtherSESElement(0)->typeName());
    EXPECT_EQ(0x01, back.getOtherSESElement(0)->getType());
    EXPECT_EQ(1, back.getFanCount());
    EXPECT_EQ(0x7FFFFFFFu, back.getDeviceIndexForDrive(&back));
    back.deleteAllChildren();
}

// ---- firmware download ----

namespace {

struct Captured {
    Captured() { testing::internal::CaptureStderr(); }
    std::string text() { return done ? out : (done = true, out = testing::internal::GetCapturedStderr()); }
    ~Captured() { text(); }
    bool done = false;
    std::string out;
};

} // namespace

TEST(SES2EnclosureDevice, RawImageGoesInPacketsWithARunt)
{
    const struct {
        size_t size;
        size_t packets;
        size_t last;
    } cases[] = {{1048575, 2048, 511}, {1024, 2, 512}, {1, 1, 1}};
    for (const auto& c : cases) {
        writeBytes("raw.bin", bytesOf(c.size, 5));
        ScriptedEnclosure e;
        Captured log;
        Ret r = e.upgradeFirmware("raw.bin", false);
        log.text();
        EXPECT_EQ(0, r.getReturn()) << c.size;
        ASSERT_EQ(c.packets, e.packets.size()) << c.size;
        const auto& last = e.packets.back();
        EXPECT_EQ(c.last, last.data.size());
        EXPECT_EQ((c.packets - 1) * 512, last.offset);
        for (const auto& p : e.packets) {
            ASSERT_EQ(c.size, p.length);
            ASSERT_EQ(0u, p.subenclosure);
            ASSERT_EQ(7u, p.mode);
            ASSERT_EQ(2u, p.bufferID);
        }
        EXPECT_EQ(bytesOf(c.size, 5)[c.size - 1], last.data.back());
        EXPECT_EQ((std::vector<bool>{true, false}), e.quiesceCalls);
        if (c.size == 1048575) {
            EXPECT_EQ(1048064u, last.offset);
            EXPECT_NE(std::string::npos, log.text().find("Bytes read from file = 1048575\n"));
            EXPECT_NE(std::string::npos, log.text().find("Sending download microcode control page, runt size = 511\n"));
        }
    }
}

TEST(SES2EnclosureDevice, RawImageRefusals)
{
    const struct {
        const char* what;
        size_t size; // 0: no file
        int code;
    } cases[] = {{"exactly 1 MiB", 1048576, -2}, {"longer", 1048577 + 4096, -2}, {"empty", 0, -2}};
    for (const auto& c : cases) {
        if (c.size)
            writeBytes("raw.bin", bytesOf(c.size, 1));
        else
            writeBytes("raw.bin", Bytes());
        ScriptedEnclosure e;
        Captured log;
        EXPECT_EQ(c.code, e.flashPellory("raw.bin", false).getReturn()) << c.what;
        EXPECT_TRUE(e.packets.empty()) << c.what;
        EXPECT_TRUE(e.quiesceCalls.empty()) << c.what;
    }
    ScriptedEnclosure e;
    Captured log;
    EXPECT_EQ(-2, e.flashPellory("missing.bin", false).getReturn());
}

TEST(SES2EnclosureDevice, DownloadStatusDecidesTheOutcome)
{
    // Reads: 0 the first (not used), 1 before the download, 2 and 3 after
    // the two packets of a 1024-byte image, then the final polls.
    const struct {
        const char* what;
        std::vector<int> statuses;
        int code;
        uint32_t status; // in the result
        size_t packets;
        std::vector<bool> quiesce;
    } cases[] = {
        {"busy, then done after reset", {0, 0, 0, 0, 2, 2, 0x11}, 0, 0, 2, {true, false}},
        {"final status 0x13", {0, 0, 0, 0, 2, 0x13}, -10, 0x13, 2, {true, false}},
        {"final status 0x01", {0, 0, 0, 0, 0x01}, -10, 0x01, 2, {true, false}},
        {"error after a packet", {0, 0, 0x80}, -10, 0x80, 1, {true, false}},
        {"failed read after a packet", {0, 0, 0, -5}, -5, 0, 2, {true, false}},
        {"failed read while polling", {0, 0, 0, 0, 2, -9}, -9, 0, 2, {true, false}},
        {"busy before the download", {0, 3}, -6, 0, 0, {}},
        {"failed read before the download", {0, -5}, -5, 0, 0, {}},
        {"busy for ever", {0, 0, 0, 0, 2}, -10, 2, 2, {true, false}},
    };
    for (const auto& c : cases) {
        writeBytes("raw.bin", bytesOf(1024, 2));
        ScriptedEnclosure e;
        e.statuses = c.statuses;
        Captured log;
        Ret r = e.flashPellory("raw.bin", false);
        EXPECT_EQ(c.code, r.getReturn()) << c.what;
        EXPECT_EQ(c.status, r.getUnsignedReturn()) << c.what;
        EXPECT_EQ(0, r.getAPIReturn()) << c.what;
        EXPECT_EQ(c.packets, e.packets.size()) << c.what;
        EXPECT_EQ(c.quiesce, e.quiesceCalls) << c.what << ": the quiesce is always released";
    }

    writeBytes("raw.bin", bytesOf(1024, 2));
    ScriptedEnclosure refused;
    refused.quiesceResult = Ret(-5);
    Captured log;
    EXPECT_EQ(-5, refused.flashPellory("raw.bin", false).getReturn());
    EXPECT_TRUE(refused.packets.empty());
}

TEST(SES2EnclosureDevice, StatusOfASubenclosure)
{
    ScriptedEnclosure e;
    Bytes page(8 + 32, 0);
    page[0] = 0x0E;
    page[1] = 1;
    page[8 + 1] = 0;
    page[8 + 2] = 0x11;
    page[8 + 3] = 0x01;
    page[24 + 1] = 1;
    page[24 + 2] = 0x80;
    page[24 + 3] = 0x02;
    e.statusPage = page;
    unsigned char status = 0, additional = 0;
    Captured log;
    EXPECT_EQ(0, e.getDownloadMicrocodeStatus(0, status, additional).getReturn());
    EXPECT_EQ(0x11, status);
    EXPECT_EQ(0, e.getDownloadMicrocodeStatus(1, status, additional).getReturn());
    EXPECT_EQ(0x80, status);
    EXPECT_EQ(0x02, additional);
    EXPECT_EQ(-2, e.getDownloadMicrocodeStatus(2, status, additional).getReturn());
    EXPECT_EQ(0xFF, status);
    EXPECT_EQ(0xFF, additional);

    // A page that claims more descriptors than it holds.
    e.statusPage = Bytes(page.begin(), page.begin() + 26);
    EXPECT_EQ(-2, e.getDownloadMicrocodeStatus(1, status, additional).getReturn());
    e.statusPage = Bytes{0x0E};
    EXPECT_EQ(-2, e.getDownloadMicrocodeStatus(0, status, additional).getReturn());
    e.statusPage = Bytes{0x0D, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(-2, e.getDownloadMicrocodeStatus(0, status, additional).getReturn());

    SES2EnclosureDevice base;
    EXPECT_EQ(-1, base.getDownloadMicrocodeStatus(0, status, additional).getReturn());
    EXPECT_EQ(-1, base.upgradeFirmware("raw.bin", false).getReturn()) << "a model of neither kind";
    EXPECT_NE(std::string::npos, log.text().find("SES2EnclosureDevice::upgradeFirmware, not supported ''\n"));
}

namespace {

TfiSpec k70File()
{
    TfiSpec spec;
    spec.vendor = "ACMEcorp";
    spec.device = "Quarbel K70 SAS";
    spec.deviceVersion = "0200";
    spec.minVersion = "0100";
    spec.images = {{0x1010, 0, bytesOf(300, 1)}, {0x1011, 0, bytesOf(256, 2)}, {0x1012, 0, bytesOf(700, 3)}};
    return spec;
}

} // namespace

TEST(SES2EnclosureDevice, TargetFlashImageSendsThreeImages)
{
    TfiSpec spec = k70File();
    spec.useAntidote = true;
    writeBytes("k70.tfi", buildTfi(spec));
    ScriptedEnclosure e("Quarbel K70 SAS", "0150");
    Captured log;
    ASSERT_EQ(0, e.upgradeFirmware("k70.tfi", false).getReturn());
    // 0x1012 (buffer 3): 700 bytes, 0x1011 (buffer 2): 256, 0x1010 (buffer 1): 300.
    const struct {
        unsigned bufferID;
        unsigned long offset;
        size_t size;
        unsigned long length;
    } expected[] = {{3, 0, 256, 700}, {3, 256, 256, 700}, {3, 512, 188, 700},
                    {2, 0, 256, 256}, {1, 0, 256, 300},   {1, 256, 44, 300}};
    ASSERT_EQ(6u, e.packets.size());
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(expected[i].bufferID, e.packets[i].bufferID) << i;
        EXPECT_EQ(expected[i].offset, e.packets[i].offset) << i;
        EXPECT_EQ(expected[i].size, e.packets[i].data.size()) << i;
        EXPECT_EQ(expected[i].length, e.packets[i].length) << i;
        EXPECT_EQ(7u, e.packets[i].mode);
    }
    EXPECT_EQ(bytesOf(700, 3)[512], e.packets[2].data[0]);
    EXPECT_EQ((std::vector<bool>{true, false, true, false, true, false}), e.quiesceCalls);
    const std::string text = log.text();
    EXPECT_NE(std::string::npos, text.find("Sending packet 1[of 2] data, dataPtr 0x")) << "pointers print with %p";
    EXPECT_NE(std::string::npos, text.find("Download of all images successful\n"));
}

TEST(SES2EnclosureDevice, TargetFlashImageRules)
{
    const struct {
        const char* what;
        std::vector<uint32_t> rules; // of 0x1010, 0x1011, 0x1012
        size_t packets;
        int code;
        const char* summary;
    } cases[] = {
        {"never-sent images", {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}, 0, 0, "Download of all images successful\n"},
        {"one image older than the installed firmware", {0, 1, 0}, 5, 0, "Downloaded 2 of 3 images\n"},
        {"every image older", {1, 1, 1}, 0, -2, "Aborting \n"},
    };
    for (const auto& c : cases) {
        TfiSpec spec = k70File();
        spec.deviceVersion = "0120"; // below the installed 0150
        for (size_t i = 0; i < 3; ++i)
            spec.images[i].rule = c.rules[i];
        writeBytes("k70.tfi", buildTfi(spec));
        ScriptedEnclosure e("Quarbel K70", "0150");
        Captured log;
        EXPECT_EQ(c.code, e.flashToviJBOD("k70.tfi", false).getReturn()) << c.what;
        EXPECT_EQ(c.packets, e.packets.size()) << c.what;
        EXPECT_NE(std::string::npos, log.text().find(c.summary)) << c.what << "\n" << log.text();
    }
}

TEST(SES2EnclosureDevice, TargetFlashImageRefusals)
{
    typedef void (*Change)(TfiSpec&);
    const struct {
        const char* what;
        Change change;
        const char* firmware;
        int code;
        int api;
    } cases[] = {
        {"installed firmware below the minimum", [](TfiSpec&) {}, "0099", -2, 0},
        {"other vendor", [](TfiSpec& s) { s.vendor = "ACMX"; }, "0150", -2, 0},
        {"other product", [](TfiSpec& s) { s.device = "Zarbel K70"; }, "0150", -2, 0},
        {"two images", [](TfiSpec& s) { s.images.pop_back(); }, "0150", -10, 0},
        {"no image of a required type, found after one that is",
         [](TfiSpec& s) { s.images[1].type = 0x2000; }, "0150", -10, 0},
        {"image past the data",
         [](TfiSpec& s) {
             s.tweak = [](tfi_file_header_t&, directory_t& d) { d.entries[2].DE_Size = 100000; };
         },
         "0150", -2, 28},
        {"too many directory entries",
         [](TfiSpec& s) { s.tweak = [](tfi_file_header_t&, directory_t& d) { d.header.DH_Entries = 40; }; },
         "0150", -2, 28},
    };
    for (const auto& c : cases) {
        TfiSpec spec = k70File();
        c.change(spec);
        writeBytes("k70.tfi", buildTfi(spec));
        ScriptedEnclosure e("Quarbel K70", c.firmware);
        Captured log;
        Ret r = e.flashToviJBOD("k70.tfi", false);
        EXPECT_EQ(c.code, r.getReturn()) << c.what;
        EXPECT_EQ(c.api, r.getAPIReturn()) << c.what;
        EXPECT_TRUE(e.packets.empty()) << c.what;
        EXPECT_TRUE(e.quiesceCalls.empty()) << c.what;
    }

    // A file one byte longer than its header says.
    Bytes longer = buildTfi(k70File());
    longer.push_back(0);
    writeBytes("k70.tfi", longer);
    ScriptedEnclosure e("Quarbel K70", "0150");
    Captured log;
    EXPECT_EQ(-2, e.flashToviJBOD("k70.tfi", false).getReturn());
    EXPECT_TRUE(e.packets.empty());
}

TEST(SES2EnclosureDevice, TargetFlashImageFailureReleasesTheQuiesce)
{
    writeBytes("k70.tfi", buildTfi(k70File()));
    ScriptedEnclosure e("Quarbel K70", "0150");
    // Reads: first, before image 0x1012, after its three packets, final 0x13.
    e.statuses = {0, 0, 0, 0, 0, 0x13};
    Captured log;
    Ret r = e.flashToviJBOD("k70.tfi", false);
    EXPECT_EQ(-10, r.getReturn());
    EXPECT_EQ(0x13u, r.getUnsignedReturn());
    EXPECT_EQ(3u, e.packets.size());
    EXPECT_EQ((std::vector<bool>{true, false}), e.quiesceCalls);
    EXPECT_NE(std::string::npos, log.text().find("Download failed: status = 19\n"));
}
