#include "RaidModel/Interface/AdapterFeatures.h"

#include <cstring>

#include "RaidLib/Util/StorDebug.h"
#include "RaidModel/Serialization/Writer.h"

namespace {

struct FeatureName {
    int32_t value;
    const char* name;
};

constexpr FeatureName kFeatureNames[] = {
#define STOR_FEATURE_NAME(name, value) {value, "feat" #name},
    STOR_FEATURE_ROWS(STOR_FEATURE_NAME)
#undef STOR_FEATURE_NAME
    {FeatMaxIndex, "featMaxIndex"},
};

// Each name is placed at its feature's value, so a value without a feature
// keeps a null entry instead of shifting the names behind it.
constexpr FeatureNameTable makeFeatureStrings()
{
    FeatureNameTable table{};
    for (const FeatureName& f : kFeatureNames)
        table.names[f.value] = f.name;
    return table;
}

} // namespace

const FeatureNameTable FeatureStrings = makeFeatureStrings();

AdapterFeatures::AdapterFeatures() : featureArray()
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "AdapterFeatures::AdapterFeatures()");
    setAll(0);
}

AdapterFeatures::AdapterFeatures(const AdapterFeatures& right) : RaidObject(right)
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "AdapterFeatures::AdapterFeatures(const AdapterFeatures &)");
    memcpy(featureArray, right.featureArray, sizeof(featureArray));
}

AdapterFeatures::~AdapterFeatures()
{
    StorDebugTracer tracer(myAddr2.getStorLibType(), STOR_DEBUG_TRACE_CORE_CONSTRUCT,
                           "AdapterFeatures::~AdapterFeatures()");
}

bool AdapterFeatures::isInstanceOf(const char* type) const
{
    return (type && strcmp(type, "AdapterFeatures") == 0) || RaidObject::isInstanceOf(type);
}

const char* AdapterFeatures::typeName() const { return "AdapterFeatures"; }

const char* AdapterFeatures::serializedName() const { return "AdapterFeatures"; }

void AdapterFeatures::writeTo(Writer* writer) const
{
    if (!writer)
        return;
    for (int32_t i = 0; i < NUM_ENTRIES; ++i) {
        const char* name = FeatureStrings[i];
        if (featureArray[i] != 0 && name)
            writer->writeInt(name, featureArray[i]);
    }
}

void AdapterFeatures::setFeature(FeatureEnum featureIN, int valueIN)
{
    if (featureIN >= 0 && featureIN < NUM_ENTRIES)
        featureArray[featureIN] = valueIN;
}

int AdapterFeatures::getFeature(FeatureEnum featureIN) const
{
    if (featureIN >= 0 && featureIN < NUM_ENTRIES)
        return featureArray[featureIN];
    return 0;
}

void AdapterFeatures::setAll(int valueIN)
{
    for (int32_t i = 0; i < NUM_ENTRIES; ++i)
        setFeature(static_cast<FeatureEnum>(i), valueIN);
}

bool AdapterFeatures::isReadFromXML(int32_t feature)
{
    switch (feature) {
    case FeatRaid4:
    case FeatUltra160Scsi:
    case FeatUltra320Scsi:
    case FeatSATA150:
    case FeatDDFCoercion:
    case FeatDataScrubbing:
    case FeatAutoRebuild:
    case FeatFlashBios:
    case FeatDownDrive:
    case FeatMigrate:
    case FeatExpand:
    case FeatMorphRaid5ToRaid5EE:
    case FeatMorphRaid5EEToRaid5EE:
    case FeatMorphRaid6ToRaid5EE:
    case FeatMarkArrayBootable:
    case FeatReactivateArray:
    case FeatPersistentEventLog:
        return false;
    default:
        return feature >= 0 && feature < NUM_ENTRIES && FeatureStrings[feature] != nullptr;
    }
}

void AdapterFeatures::initFromXML(XmlAttributeList_C& attribListINOUT)
{
    for (int32_t i = 0; i < NUM_ENTRIES; ++i) {
        if (!isReadFromXML(i))
            continue;
        const char* name = FeatureStrings[i];
        if (attribListINOUT.Exists(name))
            setFeature(static_cast<FeatureEnum>(i), attribListINOUT.GetLong(name));
    }
}
