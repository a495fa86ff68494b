#ifndef TARNELLADAPTERFEATURES_H
#define TARNELLADAPTERFEATURES_H

#include <cstdint>

#include "RaidModel/Interface/AdapterFeatures.h"

// The controller's feature levels as the family keeps them: 60 signed 32-bit
// values. Zeroed at construction and carried along by copies; nothing in the
// system interprets them.
struct TarnellFeatureLevels {
    int32_t iPosRelLevel, iPosTstLevel, iBBCacheRelLevel, iBBCacheTstLevel, iResv1, iPlatformValid,
        iAdapType, iHARelLevel, iHATstLevel, iBiosDisCacheRL, iBiosDisCacheTL, iHardDrvFRU,
        iOSSRelLevel, iOSSTstLevel, iIdDrvRL, iIdDrvTL, iQCRelLevel, iQCTstLevel, iU16DrvRelLvl,
        iU16DrvTstLvl, iResv2, iLDMRelLevel, iLDMTstLevel, iOSIRelLevel, iOSITstLevel, iHSRRelLevel,
        iHSRTstLevel, iDSCRelLevel, iDSCTstLevel, iAutoSyncRL, iAutoSyncTL, iAdapRARL, iAdapRATL,
        iR5ERelLevel, iR5ETstLevel, iELFRelLevel, iELFTstLevel, iFFDCRelLevel, iFFDCTstLevel,
        ilRealTimeRL, ilRealTimeTL, iU160RelLevel, iU160TstLevel, iResv4, iVarMaxCmdRL, iVarMaxCmdTL,
        iHldRL, iHldTL, iResv5, iSSStatsRL, iSSStatsTL, iResv6, iAdapterFRURL, iAdapterFRUTL,
        iVendorID, iDeviceID, iRevisionID, iCopyBackRL, iR5EERelLevel, iR5EETstLevel;
};
static_assert(sizeof(TarnellFeatureLevels) == 240, "60 32-bit feature levels");

// The capability table of a Tarnell adapter: the generic feature table of
// its base, written as the "AdapterFeatures" element, and the family's
// feature levels.
class STOR_EXPORT TarnellAdapterFeatures : public AdapterFeatures {
public:
    TarnellAdapterFeatures();
    // Copies the feature levels only; the generic table of the copy is all 0.
    TarnellAdapterFeatures(const TarnellAdapterFeatures& right);
    ~TarnellAdapterFeatures() override;

    bool isInstanceOf(const char* type) const override;
    const char* typeName() const override;
    const char* serializedName() const override;

    TarnellFeatureLevels getTarnellFeatureLevels() const { return TARNELLfeatures; }

private:
    TarnellFeatureLevels TARNELLfeatures;
};

#endif
