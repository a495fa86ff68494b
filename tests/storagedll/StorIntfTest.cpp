#include <gtest/gtest.h>

#include <cstring>

#include "storagedll/storintf.h"

// The binding over a library that cannot be opened; the binding over the
// simulated controller library is tested in BindingTest.cpp.

namespace {
const char* const missingLibrary = "libtarnellapi-does-not-exist.so";
}

TEST(StoreDLLIntfUnopened, AnswersMinusThreeAndTouchesNothing)
{
    StoreDLLIntf intf(missingLibrary);
    EXPECT_FALSE(intf.isOpen());
    EXPECT_EQ(intf.getLoadCount(), 0);
    EXPECT_STREQ(intf.getName(), missingLibrary);

    uint32_t failId = 0;
    EXPECT_EQ(intf.ConstructorOK(failId), 0);
    EXPECT_EQ(failId, 0x77770000u);

    _DLL_TYPE dllType;
    memset(&dllType, 0x5A, sizeof dllType);
    EXPECT_EQ(intf.GetDLLType(dllType), -3);
    EXPECT_EQ(dllType.ucCmndType, 0x5A);

    _STORAGE_ADDRESS_ID addr;
    memset(&addr, 0, sizeof addr);
    _ADAPTER_INFO info;
    memset(&info, 0x5A, sizeof info);
    S_Ret r = intf.AdapterInfo(addr, info);
    EXPECT_EQ(r.iReturnCode, -3);
    EXPECT_EQ(r.iAPIReturnCode, 0u);
    EXPECT_EQ(r.iIOCTLReturnCode, 0u);
    EXPECT_EQ(r.iRetryNumber, 0u);
    EXPECT_EQ(r.iunSignedReturnValue, 0u);
    EXPECT_EQ(r.iSignedReturnValue, 0);
    EXPECT_EQ(info.usAdapNum, 0x5A5A);

    uint16_t count = 77;
    EXPECT_EQ(intf.SupportedAdapterCount(addr, count, nullptr, 0).iReturnCode, -3);
    EXPECT_EQ(count, 77);

    for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
        EXPECT_FALSE(intf.hasEntry(i)) << StoreDLLIntf::entryName(i);
    }
}

TEST(StoreDLLIntfUnopened, HandleWithoutLibraryOrName)
{
    DynamicLinkLibKrna lib(missingLibrary);
    EXPECT_EQ(lib.LoadProcAddr("DlInit"), nullptr);
    EXPECT_EQ(lib.LoadProcAddr(nullptr), nullptr);
    EXPECT_EQ(lib.UnloadDLL(), 1);
    EXPECT_EQ(lib.LoadDLL(), 0);
    EXPECT_EQ(lib.getLoadCount(), 0);

    // Without a name nothing is opened (not the main program either).
    StoreDLLIntf unnamed(nullptr);
    EXPECT_FALSE(unnamed.isOpen());
    uint32_t failId = 0;
    EXPECT_EQ(unnamed.ConstructorOK(failId), 0);
    EXPECT_EQ(failId, 0x77770000u);
}

TEST(StoreDLLIntfUnopened, InterfaceVersionBodiesAnswerZeroSixZero)
{
    StoreDLLIntf intf(missingLibrary);
    _STORAGE_VERSION v;

    memset(&v, 0xEE, sizeof v);
    EXPECT_EQ(intf.StorageCmnd::GetStorageIntfVersion(v), 0);
    EXPECT_EQ(v.ulMajor, 0u);
    EXPECT_EQ(v.ulMinor, 6u);
    EXPECT_EQ(v.ulMaint, 0u);
    EXPECT_EQ(v.uc3MValid, 0xEE);   // left as it was
    EXPECT_EQ(v.ucTextValid, 0xEE);
    EXPECT_EQ(v.ucText[0], 0xEE);

    memset(&v, 0xEE, sizeof v);
    EXPECT_EQ(intf.RaidCmnd::GetRaidIntfVersion(v), 0);
    EXPECT_EQ(v.ulMinor, 6u);
    EXPECT_EQ(v.uc3MValid, 3);
    EXPECT_EQ(v.ucTextValid, 0);
    EXPECT_EQ(v.ucText[0], 0xEE);

    memset(&v, 0xEE, sizeof v);
    EXPECT_EQ(intf.SubSysCmnd::GetSubSysIntfVersion(v), 0);
    EXPECT_EQ(v.ulMajor, 0u);
    EXPECT_EQ(v.ulMinor, 6u);
    EXPECT_EQ(v.ulMaint, 0u);
    EXPECT_EQ(v.uc3MValid, 3);
    EXPECT_EQ(v.ucTextValid, 0);

    // The object's own operations forward to the library, which is missing.
    memset(&v, 0xEE, sizeof v);
    EXPECT_EQ(intf.GetStorageIntfVersion(v), -3);
    EXPECT_EQ(v.ulMinor, 0xEEEEEEEEu);
}

TEST(StoreDLLIntfTable, NamesAndKindsFollowTheDeclarationOrder)
{
    EXPECT_STREQ(StoreDLLIntf::entryName(0), "ConstructorOK");
    EXPECT_EQ(StoreDLLIntf::entryKind(0), STORAPI_KIND_BOOL);
    EXPECT_STREQ(StoreDLLIntf::entryName(50), "GetSystemVPD");
    EXPECT_STREQ(StoreDLLIntf::entryName(51), "GetClusterDllVersion");
    EXPECT_STREQ(StoreDLLIntf::entryName(147), "GetVirtDevStatistics");
    EXPECT_STREQ(StoreDLLIntf::entryName(166), "GetSubSystemStatistics");
    EXPECT_EQ(StoreDLLIntf::entryName(167), nullptr);

    // The ten identity and version operations return int; all others but
    // ConstructorOK return S_Ret.
    const char* const intOps[] = {"GetDLLType", "GetDLLVersion", "GetDLLIntfVersion",
                                  "GetAddressScheme", "GetMaxValues", "GetDeviceDriverVersion",
                                  "GetStorageIntfVersion", "GetClusterDllVersion",
                                  "GetRaidIntfVersion", "GetSubSysIntfVersion"};
    unsigned ints = 0;
    for (unsigned i = 0; i < STORAPI_OP_COUNT; ++i) {
        StorApiKind kind = StoreDLLIntf::entryKind(i);
        bool listed = false;
        for (const char* name : intOps) {
            listed = listed || strcmp(name, StoreDLLIntf::entryName(i)) == 0;
        }
        if (kind == STORAPI_KIND_INT || kind == STORAPI_KIND_VERS) {
            ++ints;
            EXPECT_TRUE(listed) << StoreDLLIntf::entryName(i);
        } else if (i != 0) {
            EXPECT_EQ(kind, STORAPI_KIND_SRET) << StoreDLLIntf::entryName(i);
            EXPECT_FALSE(listed) << StoreDLLIntf::entryName(i);
        }
        for (unsigned j = 0; j < i; ++j) {
            EXPECT_STRNE(StoreDLLIntf::entryName(i), StoreDLLIntf::entryName(j));
        }
    }
    EXPECT_EQ(ints, 10u);
}
