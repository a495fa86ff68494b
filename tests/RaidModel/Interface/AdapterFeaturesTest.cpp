#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/AdapterFeatures.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

std::string attributesOf(const AdapterFeatures& f)
{
    char* text = nullptr;
    {
        XMLWriter w(&text);
        f.writeTo(&w);
    }
    std::string s(text);
    delete[] text;
    return s;
}

// Reads the attributes of an element made of the given attribute text into
// a feature table, as the controller reader does.
void readInto(AdapterFeatures& f, const std::string& attributes)
{
    std::vector<char> doc;
    const std::string element = "<Controller" + attributes + "/>";
    doc.assign(element.begin(), element.end());
    SimpleXmlParser parser(doc.data(), doc.size());
    XmlAttributeList_C list;
    while (parser.parseNext()) {
        if (parser.getName())
            list.Append(parser.getName(), parser.getValue());
    }
    f.initFromXML(list);
}

} // namespace

TEST(AdapterFeatures, WritesNonzeroEntriesInAscendingOrder)
{
    AdapterFeatures f;
    EXPECT_EQ(attributesOf(f), "");
    f.setFeature(FeatBkgrndScrubInDays, 7);
    f.setFeature(FeatRaid5, 1);
    EXPECT_EQ(attributesOf(f), " featRaid5=\"1\" featBkgrndScrubInDays=\"7\"");
}

TEST(AdapterFeatures, NamesAreKeyedByValue)
{
    EXPECT_STREQ(FeatureStrings[FeatRaid0], "featRaid0");
    EXPECT_STREQ(FeatureStrings[Feat64BitLBA], "feat64BitLBA");
    EXPECT_STREQ(FeatureStrings[FeatMorphRaid5EEToRaid60], "featMorphRaid5EEToRaid60");
    EXPECT_STREQ(FeatureStrings[FeatLongSerialNumber], "featLongSerialNumber");
    EXPECT_EQ(FeatureStrings[196], nullptr);
    EXPECT_STREQ(FeatureStrings[FeatMarkArrayBootable], "featMarkArrayBootable");
    EXPECT_STREQ(FeatureStrings[FeatBkgrndScrubInDays], "featBkgrndScrubInDays");
    EXPECT_STREQ(FeatureStrings[FeatMaxIndex], "featMaxIndex");
    EXPECT_EQ(FeatureStrings[FeatMaxIndex + 1], nullptr);
    EXPECT_EQ(FeatureStrings[-1], nullptr);

    // The entry without a feature is kept but never written under a name.
    AdapterFeatures f;
    f.setFeature(static_cast<FeatureEnum>(196), 3);
    EXPECT_EQ(f.getFeature(static_cast<FeatureEnum>(196)), 3);
    EXPECT_EQ(attributesOf(f), "");
}

TEST(AdapterFeatures, RoundTripLosesExactlyTheFeaturesTheReaderSkips)
{
    AdapterFeatures written;
    for (int32_t i = 0; i < FeatMaxIndex; ++i)
        written.setFeature(static_cast<FeatureEnum>(i), i % 2 ? i + 1 : -(i + 1));
    AdapterFeatures read;
    readInto(read, attributesOf(written));

    std::set<int32_t> lost;
    for (int32_t i = 0; i < FeatMaxIndex; ++i) {
        const FeatureEnum f = static_cast<FeatureEnum>(i);
        if (read.getFeature(f) != written.getFeature(f)) {
            EXPECT_EQ(read.getFeature(f), 0) << i;
            lost.insert(i);
        }
    }
    const std::set<int32_t> skipped = {FeatRaid4,       FeatUltra160Scsi, FeatUltra320Scsi,
                                       FeatSATA150,     FeatDDFCoercion,  FeatDataScrubbing,
                                       FeatAutoRebuild, FeatFlashBios,    FeatDownDrive,
                                       FeatMigrate,     FeatExpand,       FeatMorphRaid5ToRaid5EE,
                                       FeatMorphRaid5EEToRaid5EE,         FeatMorphRaid6ToRaid5EE,
                                       FeatMarkArrayBootable,             FeatReactivateArray,
                                       FeatPersistentEventLog,            196};
    EXPECT_EQ(lost, skipped);

    // A list without feature attributes leaves the table as it was.
    readInto(read, " featQuickInit=\"1\" other=\"5\" featRaid4=\"1\"");
    EXPECT_EQ(read.getFeature(FeatQuickInit), 1);
    EXPECT_EQ(read.getFeature(FeatRaid4), 0);
    EXPECT_EQ(read.getFeature(FeatRaid0), written.getFeature(FeatRaid0));
}

TEST(AdapterFeatures, IndexesOutOfRangeAreIgnored)
{
    AdapterFeatures f;
    f.setAll(2);
    EXPECT_EQ(f.getFeature(FeatHeatSensor), 2);
    f.setFeature(FeatMaxIndex, 5);
    f.setFeature(static_cast<FeatureEnum>(-1), 5);
    EXPECT_EQ(f.getFeature(FeatMaxIndex), 0);
    EXPECT_EQ(f.getFeature(static_cast<FeatureEnum>(-1)), 0);
    EXPECT_EQ(f.getFeature(FeatBkgrndScrubInDays), 2);

    AdapterFeatures copy(f);
    EXPECT_EQ(copy.getFeature(FeatRaid0), 2);
    EXPECT_TRUE(copy.isInstanceOf("AdapterFeatures"));
    EXPECT_TRUE(copy.isInstanceOf("RaidObject"));
    EXPECT_FALSE(copy.isInstanceOf("Adapter"));
}
