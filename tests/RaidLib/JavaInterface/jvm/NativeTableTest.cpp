#include <algorithm>
#include <string>
#include <vector>

#include "BridgeTest.h"

// The table of natives against the Java class: every row binds with its
// signature and answers without a Java exception.

using namespace bridgetest;

namespace {

// Null objects, false and zeros for the parameters of a signature.
std::vector<jvalue> defaultArguments(const std::string& signature)
{
    std::vector<jvalue> args;
    for (size_t i = 1; signature[i] != ')'; ++i) {
        while (signature[i] == '[')
            ++i;
        if (signature[i] == 'L')
            i = signature.find(';', i);
        jvalue v;
        v.j = 0;
        v.l = nullptr;
        args.push_back(v);
    }
    return args;
}

class NativeTable : public BridgeTest {};

TEST_F(NativeTable, RowsAreTheNativesOfTheJavaClass)
{
    jclass tool = e->FindClass("tarnelltest/NativeMethods");
    ASSERT_FALSE(takeException(e));
    jmethodID of = e->GetStaticMethodID(tool, "of", "(Ljava/lang/Class;)[Ljava/lang/String;");
    ASSERT_FALSE(takeException(e));
    jclass cls = e->GetObjectClass(proc);
    auto natives = static_cast<jobjectArray>(e->CallStaticObjectMethod(tool, of, cls));
    ASSERT_FALSE(takeException(e));

    std::vector<std::string> reflected;
    for (jsize i = 0; i < e->GetArrayLength(natives); ++i) {
        auto s = static_cast<jstring>(e->GetObjectArrayElement(natives, i));
        ASSERT_FALSE(takeException(e));
        const char* chars = e->GetStringUTFChars(s, nullptr);
        ASSERT_FALSE(takeException(e));
        reflected.push_back(chars);
        e->ReleaseStringUTFChars(s, chars);
        e->DeleteLocalRef(s);
    }
    std::vector<std::string> table;
    for (const NativeRow& row : nativeRows())
        table.push_back(row.name + " " + row.signature);
    std::sort(table.begin(), table.end());
    EXPECT_EQ(51u, reflected.size());
    EXPECT_EQ(reflected, table);
}

// Stubs answer -1 with zeros; storage natives refuse null arguments with -2
// before any library exists. Only getSystemConfig (no arguments) and
// constructDLL create the library; stubs leave it alone.
TEST_F(NativeTable, EveryRowBindsAndAnswers)
{
    useFactory(makeRecordingLib);
    const Result notSupported{-1, 0, 0, 0, 0, 0};
    for (const NativeRow& row : nativeRows()) {
        if (row.name == "constructDLL")
            continue;
        SCOPED_TRACE(row.name);
        const int createdBefore = CountingLib::created;
        if (row.name == "checkVersions") {
            jint answer = 0;
            callNative(proc, row.name, {i32(7)}, &answer);
            EXPECT_EQ(404, answer);
        } else {
            const Result r = callForResult(proc, row.name, defaultArguments(row.signature));
            if (row.kind == "STUB")
                EXPECT_EQ(notSupported, r);
            else if (row.kind == "STORAGE" || row.name == "getControllerCount")
                EXPECT_EQ(-2, r.code);
            else
                EXPECT_EQ(0, r.code);
        }
        EXPECT_EQ(createdBefore + (row.name == "getSystemConfig" ? 1 : 0), CountingLib::created);
    }
    EXPECT_TRUE(script.calls.empty());

    // With a library in place the stubs still answer alone.
    callForResult(proc, "destructDLL", {});
    EXPECT_EQ(Result{}, callForResult(nullptr, "constructDLL", {}));
    EXPECT_EQ(2, CountingLib::created);
    for (const NativeRow& row : nativeRows()) {
        if (row.kind == "STUB") {
            EXPECT_EQ(notSupported, callForResult(proc, row.name, defaultArguments(row.signature))) << row.name;
        }
    }
    EXPECT_EQ(2, CountingLib::created);
    EXPECT_EQ(1, CountingLib::deleted);
}

} // namespace
