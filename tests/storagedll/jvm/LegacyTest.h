#ifndef TESTS_STORAGEDLL_LEGACYTEST_H
#define TESTS_STORAGEDLL_LEGACYTEST_H

// Support of the legacy Java controller bridge tests: the rows of the
// natives table, calls of the natives as Java methods of StorageDLL objects,
// the Java value objects of com.zeq.sysmgt.storage.api and their fields, and
// the marks that tell whether a native touched an object. The process runs
// one JVM (support/jvm) and links the simulated controller C API, so the
// natives' "libtarnellapi.so" is the simulator the tests drive.

#include <gtest/gtest.h>
#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

#include "storagedll/convtables.h"
#include "storagedll/storrec.h"
#include "support/jvm/JvmTest.h"

namespace legacytest {

using namespace jvmtest;

// Class paths and field signatures of the value classes.
#define API_CLASS(name) LEGACY_API_PACKAGE name

// One row of the natives table, every column as text.
struct NativeRow {
    std::string kind, name, exportName, signature, roles, op, inputs, when;
    // How often the native calls its operation: a list native that goes on
    // after a failed first call makes both calls.
    unsigned operationCalls() const { return inputs.find("GO_ON") != std::string::npos ? 2 : 1; }
    // The Java parameter types of the signature ("I", "Lcom/...;", ...).
    std::vector<std::string> parameters() const;
    char resultType() const { return signature.back(); }
};
const std::vector<NativeRow>& nativeRows();
// The row of the Java method; with a signature, of that overload.
const NativeRow& nativeRow(const std::string& name, const std::string& signature = "");

// A new object of the value class (API_CLASS path) or of any class.
jobject apiObject(const char* className);
// A new StorageDLL object, its "iCppDllPtr" 0.
jobject storageDll();

// Calls the native on the StorageDLL object and checks that it bound and
// raised nothing; an int or boolean result comes back (0 for void).
jlong callNative(jobject dll, const NativeRow& row, const std::vector<jvalue>& args);
jlong callNative(jobject dll, const std::string& name, const std::vector<jvalue>& args,
                 const std::string& signature = "");

// Fields of any type, by name and JNI signature: scalars widened, array
// elements widened, objects as local references.
int64_t scalar(jobject obj, const char* name, const char* sig);
void setScalar(jobject obj, const char* name, const char* sig, int64_t value);
std::vector<int64_t> elements(jobject obj, const char* name, const char* sig);
void setElements(jobject obj, const char* name, const char* sig, const std::vector<int64_t>& values);
jobject objectField(jobject obj, const char* name, const char* sig);

// The Java object holds what the table's rules give for the C record.
void expectFields(jobject o, const legacyconv::RecordTable& table, const uint8_t* rec);
template <class Record>
void expectRecord(jobject o, const legacyconv::RecordTable& table, const Record& rec)
{
    expectFields(o, table, reinterpret_cast<const uint8_t*>(&rec));
}

// A StorAddr of these C-API ids, every other field 0.
jobject storAddr(int adapter, int channel = 0, int device = 0, int virtDev = 0, int array = 0);
// The C-API address of the same ids.
_STORAGE_ADDRESS_ID cAddress(int adapter, int channel = 0, int device = 0);
// A ByteBlk of the block length, with these bytes as its array and this
// transfer length.
jobject byteBlk(jint blockLength, const std::vector<int64_t>& bytes, jint transfer);
// The bytes of a ByteBlk's array, and its "iBytesXferLen".
std::vector<int64_t> blockBytes(jobject blk);
jint transferOf(jobject blk);

// An AddrList holding addresses of these (channel, device) of the controller.
jobject deviceList(int adapter, const std::vector<std::pair<int, int>>& devices);
// An AddrList's "getAddressCount", and its address i ("getAddress").
jint addressCount(jobject list);
jobject listAddress(jobject list, int i);

// The "iCppDllPtr" of a StorageDLL object.
jint dllIndex(jobject dll);
void setDllIndex(jobject dll, jint index);

// Marks: every field of the object (deeply) a non-default value of its own;
// describe gives all of them as text.
void mark(jobject obj, int seed);
std::string describe(jobject obj);

// A local frame of its own for the references made inside a scope.
struct LocalFrame {
    explicit LocalFrame(jint capacity = 256) { EXPECT_EQ(0, env()->PushLocalFrame(capacity)); }
    ~LocalFrame() { env()->PopLocalFrame(nullptr); }
    LocalFrame(const LocalFrame&) = delete;
    LocalFrame& operator=(const LocalFrame&) = delete;
};

// The fixture: the simulator in its default scenario, a local frame of the
// test's own; StorageDLL objects made by open() are destructed afterwards.
class LegacyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A StorageDLL object constructed over the library (0 from
    // constructDllObject expected).
    jobject open(const char* library = "libtarnellapi.so");

    JNIEnv* e = nullptr;

private:
    std::vector<jobject> opened;
};

// The fixture of the natives' tests: a StorageDLL object over the simulator.
class LegacyNativeTest : public LegacyTest {
protected:
    void SetUp() override;

    // A new marked StorRet.
    jobject storRet();
    // Calls a StorRet native of dll (of that overload, with a signature)
    // with a new StorRet before the arguments; what the StorRet received.
    Result call(const std::string& native, std::vector<jvalue> args, const std::string& signature = "");

    jobject dll = nullptr;
};

} // namespace legacytest

#endif
