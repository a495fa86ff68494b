#ifndef ADAPTERFEATURES_H
#define ADAPTERFEATURES_H

#include <cstdint>

#include "RaidModel/Interface/RaidObject.h"

// Every feature of the controller feature table as X(name, value); the
// enumerator is Feat<name> and the XML attribute "feat<name>". There is no
// feature 196.
#define STOR_FEATURE_ROWS(X) \
    X(Raid0, 0) \
    X(Raid1, 1) \
    X(Raid4, 2) \
    X(Raid5, 3) \
    X(Raid10, 4) \
    X(Raid50, 5) \
    X(Raid5EE, 6) \
    X(Raid1E, 7) \
    X(Raid6, 8) \
    X(Ultra160Scsi, 9) \
    X(Ultra320Scsi, 10) \
    X(SimpleVolume, 11) \
    X(SpannedVolume, 12) \
    X(QuickInit, 13) \
    X(BuildClear, 14) \
    X(BuildNormal, 15) \
    X(EnableHDDCache, 16) \
    X(SATA150, 17) \
    X(DDFCoercion, 18) \
    X(DataScrubbing, 19) \
    X(AutoRebuild, 20) \
    X(FlashBios, 21) \
    X(DownDrive, 22) \
    X(Clustering, 23) \
    X(Migrate, 24) \
    X(Snapshot, 25) \
    X(ReadCacheChangeable, 26) \
    X(CacheSupport, 27) \
    X(Expand, 28) \
    X(ExpandRaid0, 29) \
    X(ExpandRaid5, 30) \
    X(MorphRaid0ToRaid0, 31) \
    X(MorphRaid0ToRaid10, 32) \
    X(MorphRaid0ToRaid5, 33) \
    X(MorphRaid1ToRaid0, 34) \
    X(MorphRaid1ToRaid10, 35) \
    X(MorphRaid1ToRaid5, 36) \
    X(MorphRaid5ToRaid0, 37) \
    X(MorphRaid5ToRaid10, 38) \
    X(MorphRaid5ToRaid5, 39) \
    X(CopyBack, 40) \
    X(MixedArrays, 41) \
    X(SasProtectSataArrays, 42) \
    X(SataProtectSasArrays, 43) \
    X(Raid60, 44) \
    X(64BitLBA, 45) \
    X(SecureErase, 46) \
    X(HeatSensor, 47) \
    X(RaidVolume, 48) \
    X(ExpandRaid1, 49) \
    X(ExpandRaid1E, 50) \
    X(ExpandRaid5EE, 51) \
    X(ExpandRaid6, 52) \
    X(ExpandRaid10, 53) \
    X(ExpandRaid50, 54) \
    X(ExpandRaid60, 55) \
    X(ExpandSpannedVolume, 56) \
    X(ExpandRaidVolume, 57) \
    X(ExpandSimpleVolume, 58) \
    X(MorphRaid0ToRaid1, 59) \
    X(MorphRaid0ToRaid1E, 60) \
    X(MorphRaid0ToRaid5EE, 61) \
    X(MorphRaid0ToRaid6, 62) \
    X(MorphRaid0ToRaid50, 63) \
    X(MorphRaid0ToRaid60, 64) \
    X(MorphRaid0ToSpannedVolume, 65) \
    X(MorphRaid0ToRaidVolume, 66) \
    X(MorphRaid0ToSimpleVolume, 67) \
    X(MorphRaid1ToRaid1, 68) \
    X(MorphRaid1ToRaid1E, 69) \
    X(MorphRaid1ToRaid5EE, 70) \
    X(MorphRaid1ToRaid6, 71) \
    X(MorphRaid1ToRaid50, 72) \
    X(MorphRaid1ToRaid60, 73) \
    X(MorphRaid1ToSpannedVolume, 74) \
    X(MorphRaid1ToRaidVolume, 75) \
    X(MorphRaid1ToSimpleVolume, 76) \
    X(MorphRaid1EToRaid0, 77) \
    X(MorphRaid1EToRaid1, 78) \
    X(MorphRaid1EToRaid1E, 79) \
    X(MorphRaid1EToRaid5, 80) \
    X(MorphRaid1EToRaid5EE, 81) \
    X(MorphRaid1EToRaid6, 82) \
    X(MorphRaid1EToRaid10, 83) \
    X(MorphRaid1EToRaid50, 84) \
    X(MorphRaid1EToRaid60, 85) \
    X(MorphRaid1EToSpannedVolume, 86) \
    X(MorphRaid1EToRaidVolume, 87) \
    X(MorphRaid1EToSimpleVolume, 88) \
    X(MorphRaid5ToRaid1, 89) \
    X(MorphRaid5ToRaid1E, 90) \
    X(MorphRaid5ToRaid5EE, 91) \
    X(MorphRaid5ToRaid6, 92) \
    X(MorphRaid5ToRaid50, 93) \
    X(MorphRaid5ToRaid60, 94) \
    X(MorphRaid5ToSpannedVolume, 95) \
    X(MorphRaid5ToRaidVolume, 96) \
    X(MorphRaid5ToSimpleVolume, 97) \
    X(MorphRaid5EEToRaid0, 98) \
    X(MorphRaid5EEToRaid1, 99) \
    X(MorphRaid5EEToRaid1E, 100) \
    X(MorphRaid5EEToRaid5, 101) \
    X(MorphRaid5EEToRaid5EE, 102) \
    X(MorphRaid5EEToRaid6, 103) \
    X(MorphRaid5EEToRaid10, 104) \
    X(MorphRaid5EEToRaid50, 105) \
    X(MorphRaid5EEToRaid60, 106) \
    X(MorphRaid5EEToSpannedVolume, 107) \
    X(MorphRaid5EEToRaidVolume, 108) \
    X(MorphRaid5EEToSimpleVolume, 109) \
    X(MorphRaid6ToRaid0, 110) \
    X(MorphRaid6ToRaid1, 111) \
    X(MorphRaid6ToRaid1E, 112) \
    X(MorphRaid6ToRaid5, 113) \
    X(MorphRaid6ToRaid5EE, 114) \
    X(MorphRaid6ToRaid6, 115) \
    X(MorphRaid6ToRaid10, 116) \
    X(MorphRaid6ToRaid50, 117) \
    X(MorphRaid6ToRaid60, 118) \
    X(MorphRaid6ToSpannedVolume, 119) \
    X(MorphRaid6ToRaidVolume, 120) \
    X(MorphRaid6ToSimpleVolume, 121) \
    X(MorphRaid10ToRaid0, 122) \
    X(MorphRaid10ToRaid1, 123) \
    X(MorphRaid10ToRaid1E, 124) \
    X(MorphRaid10ToRaid5, 125) \
    X(MorphRaid10ToRaid5EE, 126) \
    X(MorphRaid10ToRaid6, 127) \
    X(MorphRaid10ToRaid10, 128) \
    X(MorphRaid10ToRaid50, 129) \
    X(MorphRaid10ToRaid60, 130) \
    X(MorphRaid10ToSpannedVolume, 131) \
    X(MorphRaid10ToRaidVolume, 132) \
    X(MorphRaid10ToSimpleVolume, 133) \
    X(MorphRaid50ToRaid0, 134) \
    X(MorphRaid50ToRaid1, 135) \
    X(MorphRaid50ToRaid1E, 136) \
    X(MorphRaid50ToRaid5, 137) \
    X(MorphRaid50ToRaid5EE, 138) \
    X(MorphRaid50ToRaid6, 139) \
    X(MorphRaid50ToRaid10, 140) \
    X(MorphRaid50ToRaid50, 141) \
    X(MorphRaid50ToRaid60, 142) \
    X(MorphRaid50ToSpannedVolume, 143) \
    X(MorphRaid50ToRaidVolume, 144) \
    X(MorphRaid50ToSimpleVolume, 145) \
    X(MorphRaid60ToRaid0, 146) \
    X(MorphRaid60ToRaid1, 147) \
    X(MorphRaid60ToRaid1E, 148) \
    X(MorphRaid60ToRaid5, 149) \
    X(MorphRaid60ToRaid5EE, 150) \
    X(MorphRaid60ToRaid6, 151) \
    X(MorphRaid60ToRaid10, 152) \
    X(MorphRaid60ToRaid50, 153) \
    X(MorphRaid60ToRaid60, 154) \
    X(MorphRaid60ToSpannedVolume, 155) \
    X(MorphRaid60ToRaidVolume, 156) \
    X(MorphRaid60ToSimpleVolume, 157) \
    X(MorphSpannedVolumeToRaid0, 158) \
    X(MorphSpannedVolumeToRaid1, 159) \
    X(MorphSpannedVolumeToRaid1E, 160) \
    X(MorphSpannedVolumeToRaid5, 161) \
    X(MorphSpannedVolumeToRaid5EE, 162) \
    X(MorphSpannedVolumeToRaid6, 163) \
    X(MorphSpannedVolumeToRaid10, 164) \
    X(MorphSpannedVolumeToRaid50, 165) \
    X(MorphSpannedVolumeToRaid60, 166) \
    X(MorphSpannedVolumeToSpannedVolume, 167) \
    X(MorphSpannedVolumeToRaidVolume, 168) \
    X(MorphSpannedVolumeToSimpleVolume, 169) \
    X(MorphRaidVolumeToRaid0, 170) \
    X(MorphRaidVolumeToRaid1, 171) \
    X(MorphRaidVolumeToRaid1E, 172) \
    X(MorphRaidVolumeToRaid5, 173) \
    X(MorphRaidVolumeToRaid5EE, 174) \
    X(MorphRaidVolumeToRaid6, 175) \
    X(MorphRaidVolumeToRaid10, 176) \
    X(MorphRaidVolumeToRaid50, 177) \
    X(MorphRaidVolumeToRaid60, 178) \
    X(MorphRaidVolumeToSpannedVolume, 179) \
    X(MorphRaidVolumeToRaidVolume, 180) \
    X(MorphRaidVolumeToSimpleVolume, 181) \
    X(MorphSimpleVolumeToRaid0, 182) \
    X(MorphSimpleVolumeToRaid1, 183) \
    X(MorphSimpleVolumeToRaid1E, 184) \
    X(MorphSimpleVolumeToRaid5, 185) \
    X(MorphSimpleVolumeToRaid5EE, 186) \
    X(MorphSimpleVolumeToRaid6, 187) \
    X(MorphSimpleVolumeToRaid10, 188) \
    X(MorphSimpleVolumeToRaid50, 189) \
    X(MorphSimpleVolumeToRaid60, 190) \
    X(MorphSimpleVolumeToSpannedVolume, 191) \
    X(MorphSimpleVolumeToRaidVolume, 192) \
    X(MorphSimpleVolumeToSimpleVolume, 193) \
    X(FastInit, 194) \
    X(LongSerialNumber, 195) \
    X(MarkArrayBootable, 197) \
    X(ReactivateArray, 198) \
    X(PersistentEventLog, 199) \
    X(BkgrndScrubInDays, 200)

enum FeatureEnum : int32_t {
#define STOR_FEATURE_ENUMERATOR(name, value) Feat##name = value,
    STOR_FEATURE_ROWS(STOR_FEATURE_ENUMERATOR)
#undef STOR_FEATURE_ENUMERATOR
    FeatMaxIndex = 201 // the size of the table, not a feature
};
static_assert(sizeof(FeatureEnum) == 4, "feature indexes are 32-bit");
static_assert(FeatMorphRaid5ToRaid5 == 39 && FeatMorphRaid0ToRaid1 == 59 &&
                  FeatMorphSimpleVolumeToSimpleVolume == 193 && FeatFastInit == 194 &&
                  FeatLongSerialNumber == 195 && FeatMarkArrayBootable == 197 &&
                  FeatBkgrndScrubInDays == 200,
              "feature values");

// The XML attribute names of the features, keyed by feature value: entry i
// is the name of the feature whose value is i ("featMaxIndex" at
// FeatMaxIndex). Values without a feature (196) and values outside the table
// have no name and answer null.
struct STOR_EXPORT FeatureNameTable {
    const char* names[FeatMaxIndex + 1];
    const char* operator[](int32_t feature) const
    {
        return feature >= 0 && feature <= FeatMaxIndex ? names[feature] : nullptr;
    }
};
extern STOR_EXPORT const FeatureNameTable FeatureStrings;

// The capability table of a controller: one signed 32-bit entry per feature,
// 0 for a feature the controller lacks. Written as one attribute per nonzero
// entry among the attributes of the element being written.
class STOR_EXPORT AdapterFeatures : public RaidObject {
public:
    static const int32_t NUM_ENTRIES = FeatMaxIndex; // indexes 0 to 200

    AdapterFeatures();
    AdapterFeatures(const AdapterFeatures& right);
    ~AdapterFeatures() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
    const char* serializedName() const override;
    // The nonzero entries that have a name, in ascending order; no base
    // attributes.
    void writeTo(Writer* writer) const override;

    // Indexes outside 0 to 200 are ignored (getFeature answers 0).
    virtual void setFeature(FeatureEnum featureIN, int valueIN);
    virtual int getFeature(FeatureEnum featureIN) const;
    // setFeature(i, valueIN) for every index in ascending order.
    virtual void setAll(int valueIN);
    // Sets each feature the reader knows whose attribute the list holds.
    virtual void initFromXML(XmlAttributeList_C& attribListINOUT);

private:
    // False for the features that initFromXML never sets.
    static bool isReadFromXML(int32_t feature);

    int32_t featureArray[NUM_ENTRIES];
};

#endif
