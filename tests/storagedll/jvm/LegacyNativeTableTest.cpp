#include <algorithm>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"
#include "storagedll/jdllhandles.h"

// The table of StorageDLL natives against the Java class, and every row's
// answer without an interface object and when its C-API call fails.

using namespace legacytest;

namespace {

// Arguments for a row: every object a new marked one (its class from the
// signature), every scalar a value that is no default. A byte block gets
// marked bytes and lengths that the natives can hand to the C API.
struct Arguments {
    std::vector<jvalue> values;
    std::vector<jobject> objects;   // per parameter; null for scalars
};

Arguments markedArguments(const NativeRow& row)
{
    Arguments a;
    int seed = 1;
    for (const std::string& type : row.parameters()) {
        jvalue v;
        v.j = 0;
        jobject o = nullptr;
        if (type == "Ljava/lang/String;") {
            o = javaString("libtarnellapi.so");
        } else if (type[0] == 'L') {
            o = apiObject(type.substr(1, type.size() - 2).c_str());
            mark(o, seed);
            if (type == LEGACY_API_SIG("ByteBlk")) {
                std::vector<int64_t> bytes(32);
                for (size_t i = 0; i < bytes.size(); ++i)
                    bytes[i] = int64_t(seed + i) & 0x7F;
                setElements(o, "byteArray", "[B", bytes);
                setIntField(o, "iBlockLength", 8);
                setIntField(o, "iBytesXferLen", 24);
            }
            seed += 1000;
        } else if (type == "Z") {
            v.z = JNI_TRUE;
        } else {
            v.j = 0x5A5A;
        }
        if (o)
            v.l = o;
        a.values.push_back(v);
        a.objects.push_back(o);
    }
    return a;
}

std::vector<std::string> descriptions(const Arguments& a)
{
    std::vector<std::string> out;
    for (jobject o : a.objects)
        out.push_back(o ? describe(o) : "");
    return out;
}

Result storRetOf(const NativeRow& row, const Arguments& a)
{
    const size_t at = row.roles.find('r');
    return at == std::string::npos ? Result{-99, 0, 0, 0, 0, 0} : result(a.objects[at]);
}

// A local frame of the JVM for the references that one row makes.
struct RowFrame {
    explicit RowFrame(JNIEnv* env) : e(env) { EXPECT_EQ(0, e->PushLocalFrame(64)); }
    ~RowFrame() { e->PopLocalFrame(nullptr); }
    JNIEnv* e;
};

class LegacyNativeTable : public LegacyTest {
protected:
    // Calls every row but constructDllObject on the object and checks the
    // answer it gives without an interface object.
    void walkWithoutInterface(jobject dll)
    {
        const jint index = dllIndex(dll);
        for (const NativeRow& row : nativeRows()) {
            if (row.name == "constructDllObject")
                continue;
            SCOPED_TRACE(row.exportName);
            RowFrame frame(e);
            Arguments args = markedArguments(row);
            const std::vector<std::string> before = descriptions(args);
            const jlong answer = callNative(dll, row, args.values);

            if (row.kind == "CINT" || row.kind == "NOTAVAIL")
                EXPECT_EQ(-3, answer);
            else if (row.kind == "SRET")
                EXPECT_EQ((Result{-3, 0, 0, 0, 0, 0}), storRetOf(row, args));
            else if (row.kind == "FIXED")
                EXPECT_EQ(Result{}, storRetOf(row, args));
            else
                EXPECT_EQ(0, answer);   // destructDllObject 0, cConstructorOK false

            const std::vector<std::string> after = descriptions(args);
            for (size_t i = 0; i < row.roles.size(); ++i) {
                const bool written = row.roles[i] == 'r' || (row.kind == "FIXED" && row.roles[i] == 'o');
                if (!written) {
                    EXPECT_EQ(before[i], after[i]) << "argument " << i;
                }
            }
            if (row.name == "destructDllObject")
                setDllIndex(dll, index);   // it writes 0; the walk goes on with the same index
        }
    }
};

TEST_F(LegacyNativeTable, RowsAreTheNativesOfTheJavaClass)
{
    jclass tool = e->FindClass("tarnelltest/NativeMethods");
    ASSERT_FALSE(takeException(e));
    jmethodID of = e->GetStaticMethodID(tool, "of", "(Ljava/lang/Class;)[Ljava/lang/String;");
    ASSERT_FALSE(takeException(e));
    jobject dll = storageDll();
    jclass cls = e->GetObjectClass(dll);
    auto natives = static_cast<jobjectArray>(e->CallStaticObjectMethod(tool, of, cls));
    ASSERT_FALSE(takeException(e));

    std::vector<std::string> reflected;
    for (jsize i = 0; i < e->GetArrayLength(natives); ++i) {
        auto s = static_cast<jstring>(e->GetObjectArrayElement(natives, i));
        const char* chars = e->GetStringUTFChars(s, nullptr);
        reflected.push_back(chars);
        e->ReleaseStringUTFChars(s, chars);
        e->DeleteLocalRef(s);
    }
    std::vector<std::string> table;
    for (const NativeRow& row : nativeRows()) {
        table.push_back(row.name + " " + row.signature);
        EXPECT_EQ(row.parameters().size(), row.roles.size()) << row.exportName;
        // An overloaded method's export name carries its parameter list.
        const bool overloaded = std::count_if(nativeRows().begin(), nativeRows().end(),
                                              [&](const NativeRow& r) { return r.name == row.name; }) > 1;
        EXPECT_EQ(overloaded, row.exportName != row.name) << row.exportName;
    }
    std::sort(table.begin(), table.end());
    EXPECT_EQ(reflected, table);
    EXPECT_EQ(0, intField(dll, "iCppDllPtr"));
}

TEST_F(LegacyNativeTable, WithoutInterfaceObjectEveryRowAnswersAlone)
{
    tarnellsim::clearCalls();
    {
        SCOPED_TRACE("field 0");
        walkWithoutInterface(storageDll());
    }
    {
        SCOPED_TRACE("stale index");
        jobject gone = open();
        const jint index = dllIndex(gone);
        ASSERT_NE(0, index);
        EXPECT_EQ(0, callNative(gone, "destructDllObject", {}));
        EXPECT_EQ(0, dllIndex(gone));
        jobject stale = storageDll();
        setDllIndex(stale, index);
        walkWithoutInterface(stale);
    }
    {
        SCOPED_TRACE("unknown index");
        jobject unknown = storageDll();
        setDllIndex(unknown, 0x7FFF0000);
        walkWithoutInterface(unknown);
    }
    // Nothing reached the C API but the opening of the stale object's library.
    for (const tarnellsim::Call& call : tarnellsim::calls())
        EXPECT_TRUE(call.name == "DlInit") << call.name;
}

// A C-API call that fails leaves the outputs as they were; the code reaches
// Java unchanged.
TEST_F(LegacyNativeTable, EveryRowReachesItsOperationAndAFailureWritesNoOutput)
{
    jobject dll = open();
    for (const NativeRow& row : nativeRows()) {
        if (row.kind != "CINT" && row.kind != "SRET")
            continue;
        SCOPED_TRACE(row.exportName);
        RowFrame frame(e);
        tarnellsim::clearCalls();
        tarnellsim::injectFailure(row.op, tarnellsim::RC_BUSY, tarnellsim::ANY_ADAPTER, true);
        Arguments args = markedArguments(row);
        const std::vector<std::string> before = descriptions(args);
        const jlong answer = callNative(dll, row, args.values);
        tarnellsim::clearFailures();

        if (row.kind == "CINT")
            EXPECT_EQ(tarnellsim::RC_BUSY, answer);
        else
            EXPECT_EQ((Result{tarnellsim::RC_BUSY, 0, 0, 0, 0, 0}), storRetOf(row, args));
        EXPECT_EQ(row.operationCalls(), tarnellsim::calls(row.op).size());
        const bool outputsOnZeroOnly = row.when.compare(0, 7, "ON_ZERO") == 0;
        const std::vector<std::string> after = descriptions(args);
        for (size_t i = 0; i < row.roles.size(); ++i) {
            if (row.roles[i] == 'i' || (row.roles[i] == 'o' && outputsOnZeroOnly)) {
                EXPECT_EQ(before[i], after[i]) << "argument " << i;
            }
        }
    }
}

} // namespace
