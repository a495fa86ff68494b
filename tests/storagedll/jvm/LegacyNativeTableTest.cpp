#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "LegacyTest.h"
#include "TarnellSim.h"
#include "storagedll/jdllhandles.h"

// The table of StorageDLL natives against the Java class, and every row's
// answer without an interface object and when its C-API call fails.

using namespace legacytest;

namespace {

// Every native method of StorageDLL.
const size_t NATIVE_COUNT = 170;

// Arguments for a row: every object a new marked one (its class from the
// signature), every scalar 1. The objects are then made usable where the
// native reads them: addresses name controller 2 (so that a native reaches
// its operation after the calls it makes first), each address list holds one
// address (the count 1 of the scalars), and byte blocks hold marked bytes
// and lengths that the natives can hand to the C API.
struct Arguments {
    std::vector<jvalue> values;
    std::vector<jobject> objects;   // per parameter; null for scalars
};

const char* const STORADDR_CLASS = API_CLASS("StorAddr");
const char* const ADDRLIST_CLASS = API_CLASS("AddrList");
const char* const BYTEBLK_CLASS = API_CLASS("ByteBlk");

jobject controllerTwo(int seed)
{
    jobject addr = apiObject(STORADDR_CLASS);
    mark(addr, seed);
    setIntField(addr, "iAdapterID", 2);
    return addr;
}

Arguments markedArguments(const NativeRow& row)
{
    JNIEnv* e = env();
    Arguments a;
    int seed = 1;
    for (const std::string& type : row.parameters()) {
        jvalue v;
        v.j = 1;
        jobject o = nullptr;
        if (type == "Ljava/lang/String;") {
            o = javaString("libtarnellapi.so");
        } else if (type[0] == 'L') {
            const std::string cls = type.substr(1, type.size() - 2);
            if (cls == STORADDR_CLASS) {
                o = controllerTwo(seed);
            } else {
                o = apiObject(cls.c_str());
                mark(o, seed);
            }
            if (cls == ADDRLIST_CLASS) {
                jclass listClass = e->GetObjectClass(o);
                jmethodID add = e->GetMethodID(listClass, "addAddress", "(" LEGACY_API_SIG("StorAddr") ")V");
                e->CallVoidMethod(o, add, controllerTwo(seed + 500));
                expectNoException(e, "addAddress");
                e->DeleteLocalRef(listClass);
            } else if (cls == BYTEBLK_CLASS) {
                std::vector<int64_t> bytes(32);
                for (size_t i = 0; i < bytes.size(); ++i)
                    bytes[i] = int64_t(seed + i) & 0x7F;
                setElements(o, "byteArray", "[B", bytes);
                setIntField(o, "iBlockLength", 8);
                setIntField(o, "iBytesXferLen", 24);
            }
            seed += 1000;
        }
        if (o)
            v.l = o;
        a.values.push_back(v);
        a.objects.push_back(o);
    }
    return a;
}

// The export name of a native when its method is overloaded: the name, "__"
// and the parameter types mangled as JNI mangles them.
std::string longExportName(const NativeRow& row)
{
    std::string out = row.name + "__";
    for (const std::string& type : row.parameters()) {
        for (char c : type) {
            if (std::isalnum(static_cast<unsigned char>(c)))
                out += c;
            else if (c == '/')
                out += '_';
            else if (c == '_')
                out += "_1";
            else if (c == ';')
                out += "_2";
            else if (c == '[')
                out += "_3";
        }
    }
    return out;
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

class LegacyNativeTable : public LegacyTest {
protected:
    // Calls every row but constructDllObject on the object and checks the
    // answer it gives without an interface object.
    void walkWithoutInterface(jobject dll)
    {
        const jint index = dllIndex(dll);
        size_t walked = 0;
        for (const NativeRow& row : nativeRows()) {
            if (row.name == "constructDllObject")
                continue;
            ++walked;
            SCOPED_TRACE(row.exportName);
            LocalFrame frame(128);
            Arguments args = markedArguments(row);
            const std::vector<std::string> before = descriptions(args);
            const jlong answer = callNative(dll, row, args.values);

            if (row.kind == "CINT" || row.kind == "NOTAVAIL")
                EXPECT_EQ(-3, answer);
            else if (row.kind == "FIXED")
                EXPECT_EQ(Result{}, storRetOf(row, args));
            else if (row.roles.find('r') != std::string::npos)
                EXPECT_EQ((Result{-3, 0, 0, 0, 0, 0}), storRetOf(row, args));
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
        EXPECT_EQ(NATIVE_COUNT - 1, walked);
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
        // An overloaded method's export name carries its parameter list;
        // another's may (the console declares methods of the same name
        // that are not natives).
        const bool overloaded = std::count_if(nativeRows().begin(), nativeRows().end(),
                                              [&](const NativeRow& r) { return r.name == row.name; }) > 1;
        if (overloaded || row.exportName != row.name) {
            EXPECT_EQ(longExportName(row), row.exportName);
        }
    }
    std::sort(table.begin(), table.end());
    EXPECT_EQ(reflected, table);
    EXPECT_EQ(NATIVE_COUNT, reflected.size());
    // One row per native: no export name twice.
    std::vector<std::string> exports;
    for (const NativeRow& row : nativeRows())
        exports.push_back(row.exportName);
    std::sort(exports.begin(), exports.end());
    EXPECT_EQ(exports.end(), std::adjacent_find(exports.begin(), exports.end()));
    EXPECT_EQ(NATIVE_COUNT, exports.size());
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

// A C-API call that fails leaves the outputs as they were (but those written
// whatever the code); the code reaches Java unchanged.
TEST_F(LegacyNativeTable, EveryRowReachesItsOperationAndAFailureWritesNoOutput)
{
    jobject dll = open();
    for (const NativeRow& row : nativeRows()) {
        if (row.kind != "CINT" && row.kind != "SRET" && row.kind != "FUNC")
            continue;
        SCOPED_TRACE(row.exportName);
        LocalFrame frame(128);
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
