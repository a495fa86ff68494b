#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "BridgeTest.h"
#include "RaidLib/JavaInterface/JNIConversions.h"

// The exported conversions between the library's values and the console's
// Java objects that no native calls, and the string helpers.

using namespace bridgetest;

namespace {

class JNIConversionsTest : public BridgeTest {};

const char* const JNI_PACKAGE = "com/zeq/sysmgt/raidmgr/dataproc/jni/";

TEST_F(JNIConversionsTest, ResultClassesCarryTheirFields)
{
    Ret ret(Ret::OBJECT_NOT_FOUND);
    ret.setAPIReturn(5);
    ret.setIOCTLReturn(6);
    ret.setRetryNumber(7);
    ret.setUnsignedReturn(0xFFFFFFF0u);
    ret.setSignedReturn(-9);
    ret.setIOCStatus(11);
    ret.setIOCLogInfo(0x80000001u);
    ret.setSCSIState(13);
    ret.setSCSIStatus(14);
    ret.setSenseDataError(15);
    ret.setSenseKey(16);
    ret.setSenseCode(17);
    ret.setSenseCodeQualifier(18);

    typedef std::map<std::string, jlong> Fields;
    const Fields common{{"iReturnCode", -12}, {"iAPIReturnCode", 5},         {"iIOCTLReturnCode", 6},
                        {"iRetryNumber", 7},  {"iunSignedReturnValue", -16}, {"iSignedReturnValue", -9}};
    Fields sarvo = common;
    sarvo.insert({{"iIOCStatus", 11}, {"lIOCLogInfo", INT64_C(0x80000001)}, {"iSCSIState", 13}, {"iSCSIStatus", 14},
                  {"iSenseDataErrorCode", 15}, {"iSenseKey", 16}, {"iSenseCode", 17}});
    Fields pelm = common;
    pelm.insert({{"iSenseDataErrorCode", 15}, {"iSenseKey", 16}, {"iSenseCode", 17}, {"iSenseCodeQualifier", 18}});

    const auto viaGlunt = [](JNIEnv* env, Ret* r) {
        jobject o = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/GluntRet");
        CRettoJGluntRet(env, r, o);
        return o;
    };
    const struct {
        std::string className;
        jobject (*make)(JNIEnv*, Ret*);
        Fields fields;
    } cases[] = {
        {"StorRet", StorRet, common},
        {"SarvoRet", SarvoRet, sarvo},
        {"PelmRet", PelmRet, pelm},
        {"TobreckRet", TobreckRet, {{"iReturnCode", -12}, {"iAPIReturnCode", 5}}},
        {"YUBRet", YUBRet, common},
        {"FentaRet", FentaRet, common},
        {"GluntRet", GluntRet, common},
        {"GluntRet", viaGlunt, common},
    };
    for (const auto& c : cases) {
        jobject o = c.make(e, &ret);
        ASSERT_NE(nullptr, o) << c.className;
        jclass cls = e->GetObjectClass(o);
        jclass expectedClass = e->FindClass((JNI_PACKAGE + c.className).c_str());
        EXPECT_TRUE(e->IsSameObject(cls, expectedClass)) << c.className;
        // Every field the class declares holds what the table says.
        jfieldID id;
        for (const auto& f : c.fields) {
            const bool isLong = f.first[0] == 'l';
            id = e->GetFieldID(cls, f.first.c_str(), isLong ? "J" : "I");
            ASSERT_FALSE(takeException(e)) << c.className << "." << f.first;
            EXPECT_EQ(f.second, isLong ? e->GetLongField(o, id) : e->GetIntField(o, id)) << c.className << "." << f.first;
        }
        e->DeleteLocalRef(expectedClass);
        e->DeleteLocalRef(cls);
        e->DeleteLocalRef(o);
    }
}

TEST_F(JNIConversionsTest, AddressesAndCollections)
{
    Addr fromJava;
    JAddrtoCAddr(e, tAddr(1, 2, 7, 4, 5), &fromJava);
    EXPECT_EQ("{1,2,7,4,5}", text(fromJava)) << "chunk, item and phy ids stay undefined";

    // An object without the fields changes nothing and leaves no exception.
    Addr untouched(3);
    JAddrtoCAddr(e, newObject("com/zeq/sysmgt/raidmgr/dataproc/util/DeviceID"), &untouched);
    EXPECT_FALSE(takeException(e));
    EXPECT_EQ("{3,-,-,-,-}", text(untouched));

    jobject ul = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TULAddr");
    CAddrtoJAddr(e, &fromJava, ul);
    std::vector<jint> ids;
    for (const char* f : {"ulAdapter", "ulArray", "ulLogicalDrive", "ulPhysChan", "ulPhysId"})
        ids.push_back(intField(ul, f));
    EXPECT_EQ((std::vector<jint>{1, 2, 7, 4, 5}), ids);

    // A collection goes to Java and back.
    AddrCollection addrs;
    addrs.addAddr(fromJava);
    addrs.addAddr(Addr(0, STORID_UNDEFINED, 3, STORID_UNDEFINED, STORID_UNDEFINED, BLOCK_UNDEFINED,
                       STORID_UNDEFINED, STORID_UNDEFINED));
    jobject javaAddrs = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TAddrCollection");
    CAddrCollectiontoJAddrCollection(e, &addrs, javaAddrs);
    AddrCollection back;
    JAddrCollectiontoCAddrCollection(e, javaAddrs, &back);
    EXPECT_EQ("[{1,2,7,4,5},{0,-,3,-,-}]", text(back));
    EXPECT_FALSE(takeException(e));
}

TEST_F(JNIConversionsTest, ProgressBufferSectorsAndProductData)
{
    Progress task(TASK_VERIFY, 4, TASK_STATE_COMPLETE, 100);
    jobject progress = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TProgress");
    CProgresstoJProgress(e, &task, progress);
    EXPECT_EQ((std::vector<jint>{TASK_VERIFY, 4, TASK_STATE_COMPLETE, 100}),
              (std::vector<jint>{intField(progress, "type"), intField(progress, "logicalDrive"),
                                 intField(progress, "status"), intField(progress, "percent")}));

    const unsigned char bytes[] = {0x00, 0x7F, 0x80, 0xFF};
    Buffer buffer(sizeof bytes, bytes);
    jobject javaBuffer = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TBuffer");
    CBuffertoJBuffer(e, &buffer, javaBuffer);
    EXPECT_EQ(4, intField(javaBuffer, "ulbufSize"));
    jclass bufferClass = e->GetObjectClass(javaBuffer);
    auto array = static_cast<jbyteArray>(
        e->CallObjectMethod(javaBuffer, e->GetMethodID(bufferClass, "getBytes", "()[B")));
    ASSERT_FALSE(takeException(e));
    ASSERT_EQ(4, e->GetArrayLength(array));
    jbyte got[4];
    e->GetByteArrayRegion(array, 0, 4, got);
    EXPECT_EQ(0, std::memcmp(got, bytes, 4));

    SectorCollection sectors;
    sectors.addSectorRange(SectorRange(1, 0xFFFFFFFFu, 2, 100));
    sectors.addSectorRange(SectorRange(3, 0, 0, 0x80000000u));
    jobject javaSectors = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TSectorCollection");
    CSectorCollectiontoJSectorCollection(e, &sectors, javaSectors);
    jclass sectorsClass = e->GetObjectClass(javaSectors);
    jmethodID get = e->GetMethodID(sectorsClass, "getSectorRange", "(I)Lcom/zeq/sysmgt/raidmgr/dataproc/jni/TSectorRange;");
    jmethodID count = e->GetMethodID(sectorsClass, "getSectorRangeCount", "()I");
    EXPECT_EQ(2, e->CallIntMethod(javaSectors, count));
    ASSERT_FALSE(takeException(e));
    jobject second = e->CallObjectMethod(javaSectors, get, 1);
    ASSERT_FALSE(takeException(e));
    EXPECT_EQ(3, intField(second, "ulLogicalDrive"));
    EXPECT_EQ(INT64_C(0x80000000), longField(second, "ulCount"));
    jobject first = e->CallObjectMethod(javaSectors, get, 0);
    ASSERT_FALSE(takeException(e));
    EXPECT_EQ(INT64_C(0xFFFFFFFF), longField(first, "ulStartLow"));
    EXPECT_EQ(2, longField(first, "ulStartHigh"));

    VPDData vpd(0x1F, 0x7, 0x83, 0x12, 0x44, "\xFFvendor");
    vpd.setPageLength(0x48);
    jobject javaVpd = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TVPDData");
    CVPDDatatoJVPDData(e, &vpd, javaVpd);
    jclass vpdClass = e->GetObjectClass(javaVpd);
    EXPECT_EQ(0x1F, e->GetByteField(javaVpd, e->GetFieldID(vpdClass, "bDeviceType", "B")));
    EXPECT_EQ(static_cast<jbyte>(0x83), e->GetByteField(javaVpd, e->GetFieldID(vpdClass, "bPageCode", "B")));
    EXPECT_EQ(0x48, e->GetByteField(javaVpd, e->GetFieldID(vpdClass, "bPageLength", "B")));
    auto chars = static_cast<jcharArray>(e->GetObjectField(javaVpd, e->GetFieldID(vpdClass, "caVendorSpecific", "[C")));
    ASSERT_FALSE(takeException(e));
    ASSERT_EQ(68, e->GetArrayLength(chars));
    jchar vendor[68];
    e->GetCharArrayRegion(chars, 0, 68, vendor);
    EXPECT_EQ(0xFF, vendor[0]) << "one byte per char, zero-extended";
    EXPECT_EQ('v', vendor[1]);
    EXPECT_EQ(0, vendor[67]);
}

TEST_F(JNIConversionsTest, StringsAndValues)
{
    const std::string forty(40, 'x');
    const struct {
        const char* text;
        int limit;
        std::string expected;
    } copies[] = {
        {"0123456789012345678901234567890123456789", 32, "0123456789012345678901234567890"},
        {"abc", 32, "abc"},
        {"abc", 1, ""},
        {nullptr, 8, ""},
    };
    for (const auto& c : copies) {
        char buffer[40];
        std::memset(buffer, '#', sizeof buffer);
        JStringToCString(e, c.text ? javaString(c.text) : nullptr, buffer, c.limit);
        EXPECT_EQ(c.expected, std::string(buffer)) << c.limit;
        for (int i = static_cast<int>(c.expected.size()); i < c.limit; ++i)
            EXPECT_EQ('\0', buffer[i]) << "padded to the limit";
        EXPECT_EQ('#', buffer[c.limit]) << "nothing written beyond the limit";
    }

    setJavaStringBuffer(e, proc, "xmlLogBuffer", "<a/>");
    EXPECT_EQ("<a/>", stringField(proc, "xmlLogBuffer"));
    setJavaStringBuffer(e, proc, "xmlLogBuffer", nullptr);
    EXPECT_EQ("<null>", stringField(proc, "xmlLogBuffer"));
    setJavaStringBuffer(e, proc, "noSuchField", "<a/>");
    EXPECT_FALSE(takeException(e));

    jobject holder = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TInteger");
    setJavaInteger(e, holder, -5);
    EXPECT_EQ(-5, intField(holder, "value"));
}

} // namespace
