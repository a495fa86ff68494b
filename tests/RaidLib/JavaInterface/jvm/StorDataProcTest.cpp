#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "BridgeTest.h"

// The storage natives over a recording library: how each converts its
// arguments for the library operation, the skeleton's result codes and
// trace lines, the XML and value fields, the process-wide library's life.

using namespace bridgetest;

namespace {

class StorDataProcTest : public BridgeTest {
protected:
    void SetUp() override
    {
        BridgeTest::SetUp();
        useFactory(makeRecordingLib);
        a = tAddr(1, 2, 3, 4, 5);
        b = tAddr(6, 7, 8, 9, 10);
    }

    // The calls the native made of the library, and its result.
    std::vector<std::string> callsOf(const std::string& native, const std::vector<jvalue>& args, Result* r = nullptr)
    {
        script.calls.clear();
        const Result got = callForResult(proc, native, args);
        if (r)
            *r = got;
        return script.calls;
    }

    jobject a = nullptr;
    jobject b = nullptr;
    const std::string A = "{1,2,3,4,5}";
    const std::string B = "{6,7,8,9,10}";
};

TEST_F(StorDataProcTest, ArgumentsReachTheOperation)
{
    const std::string path600(600, 'p');
    const std::string name40 = "0123456789012345678901234567890123456789";
    const std::string xml = "<LogicalDrive><param raidLevel='5' logicalName='new'/>"
                            "<ChunkSpec channelID='0' deviceID='6' startBlock='0' numBlocks='2048' chunkType='0'/>"
                            "</LogicalDrive>";
    jobjectArray twoChunks = chunkArray(
        {chunkSpec(100, 2000, 0, 0, 1, 2), chunkSpec(0, INT64_C(0xFFFFFFFF), 2, 1, 1, 3)});
    jobjectArray noChunks = chunkArray({});
    const struct {
        std::string native;
        std::vector<jvalue> args;
        std::string call;
    } cases[] = {
        {"setControllerPhysicalDriveCache", {obj(a), i32(1), i32(0)}, "setControllerPhysicalDriveCache(" + A + ",1,0)"},
        {"testAllSpares", {obj(a)}, "testAllSpares(" + A + ")"},
        {"removeSnapshot", {obj(a)}, "removeSnapshot(" + A + ")"},
        {"createSnapshot", {obj(a), obj(b), flag(true)}, "createSnapshot(" + A + "," + B + ",true)"},
        {"createSnapshot", {obj(a), obj(b), flag(false)}, "createSnapshot(" + A + "," + B + ",false)"},
        {"setLogicalDriveState", {obj(a), i32(2)}, "setLogicalDriveState(" + A + ",2)"},
        {"flashImage", {obj(a), obj(javaString("fw.img"))}, "upgradeControllerFirmware(" + A + ",6,false)fw.img"},
        {"flashImage", {obj(a), obj(javaString(path600))},
         "upgradeControllerFirmware(" + A + ",511,false)" + path600.substr(0, 511)},
        {"startHardDriveTask", {obj(a), i32(3)}, "startHardDriveTask(" + A + ",3)"},
        {"setCopybackEnabled", {obj(a), flag(true)}, "setCopyBack(" + A + ",true)"},
        {"setCopybackEnabled", {obj(a), flag(false)}, "setCopyBack(" + A + ",false)"},
        {"setLogicalDriveCache", {obj(a), i32(4), i32(1)}, "setLogicalDriveCache(" + A + ",4,1)"},
        {"setAlarmState", {obj(a), i32(2)}, "setAlarmState(" + A + ",2)"},
        {"verify", {obj(a), i32(0)}, "synchronizeLogicalDrive(" + A + ",false)"},
        {"verify", {obj(a), i32(7)}, "synchronizeLogicalDrive(" + A + ",true)"},
        {"recalibrateBattery", {obj(a)}, "startBatteryCalibration(" + A + ")"},
        {"identifyPhysicalDrive", {obj(a), i16(-1)}, "identifyDevice(" + A + ",-1)"},
        {"identifyPhysicalDrive", {obj(a), i16(1)}, "identifyDevice(" + A + ",1)"},
        {"setHardDriveWriteCacheEnable", {obj(a), flag(true)}, "setPhysicalDriveCache(" + A + ",0)"},
        {"setHardDriveWriteCacheEnable", {obj(a), flag(false)}, "setPhysicalDriveCache(" + A + ",1)"},
        {"setWriteCacheEnable", {obj(a), flag(true)}, "setPhysicalDriveCache(" + A + ",0)"},
        {"setWriteCacheEnable", {obj(a), flag(false)}, "setPhysicalDriveCache(" + A + ",1)"},
        {"setPhysicalDeviceState", {obj(a), i32(0)}, "downHardDrive(" + A + ",false)"},
        {"setPhysicalDeviceState", {obj(a), i32(5)}, "downHardDrive(" + A + ",true)"},
        {"setDataScrubbingRateDays", {obj(a), i32(30)}, "setDataScrubRate(days)(" + A + ",30)"},
        {"setDataScrubbingRateDays", {obj(a), i32(-1)}, "setDataScrubRate(days)(" + A + ",4294967295)"},
        {"setDataScrubbing", {obj(a), flag(true)}, "setDataScrubActive(" + A + ",true)"},
        {"scanForDrives", {obj(a), flag(false)}, "syncRescan(" + A + ")"},
        {"scanForDrives", {obj(a), flag(true)}, "asyncRescan(" + A + ")"},
        {"initializeLogicalDrive", {obj(a)}, "initializeLogicalDrive(" + A + ",1,2)"},
        {"initializeHardDrive", {obj(a)}, "initializeHardDrive(" + A + ")"},
        {"clearControllerLog", {obj(a), i32(2)}, "clearControllerLog(" + A + ",2)"},
        {"deleteLogicalDrive", {obj(a)}, "deleteLogicalDrive(" + A + ")"},
        {"setStripeSize", {obj(a), i32(6)}, "setStripeSize(" + A + ",6)"},
        {"setGlobalHotSpare", {obj(a)}, "createGlobalHotSpare(" + A + ")"},
        {"deleteSpare", {obj(a)}, "deleteHotSpare(" + A + ")"},
        {"changeLogicalDriveName", {obj(a), obj(javaString(name40))},
         "setLogicalDriveName(" + A + ")'" + name40.substr(0, 31) + "'"},
        {"setTaskPriority", {obj(a), i32(7), i32(1)}, "setTaskPriority(" + A + ",7,1)"},
        {"abortTask", {obj(a), i32(-2)}, "abortTask(" + A + ",4294967294)"},
        {"modifyLogicalDrive",
         {obj(a), i32(5), i32(7), obj(javaString("name")), obj(twoChunks), i32(4), i32(1), i32(1), i32(0)},
         "modifyLogicalDrive(" + A + ")spec(5,7,'name',4,1,1,0,[-:1:2:100:2000:0:0;-:1:3:0:4294967295:1:2])"},
        {"modifyLogicalDrive", {obj(a), i32(0), i32(1), obj(nullptr), obj(noChunks), i32(2), i32(2), i32(0), i32(2)},
         "modifyLogicalDrive(" + A + ")spec(0,1,'',2,2,0,2,[])"},
        {"createAssignedHotSpare", {obj(a), obj(b)}, "createAssignedHotSpare(" + A + ")[" + B + "]"},
        {"removeAssignedHotSpare", {obj(a), obj(b)}, "deleteAssignedHotSpare(" + A + ")[" + B + "]"},
        {"createLogicalDrive", {obj(a), obj(javaString(xml))},
         "createLogicalDrive(" + A + ")spec(5,1,'new',2,2,0,2,[-:0:6:0:2048:0:0])"},
    };
    for (const auto& c : cases) {
        Result r;
        EXPECT_EQ(std::vector<std::string>{c.call}, callsOf(c.native, c.args, &r)) << c.native;
        EXPECT_EQ(Result{}, r) << c.native;
    }
}

TEST_F(StorDataProcTest, ResultComesBackWhole)
{
    traceOn();
    script.answer = Ret(Ret::OBJECT_NOT_FOUND);
    script.answer.setAPIReturn(5);
    script.answer.setIOCTLReturn(6);
    script.answer.setRetryNumber(7);
    script.answer.setUnsignedReturn(0xFFFFFFF0u);
    script.answer.setSignedReturn(-9);
    script.answer.setSenseKey(3);
    EXPECT_EQ((Result{-12, 5, 6, 7, -16, -9}), callForResult(proc, "testAllSpares", {obj(a)}));
    EXPECT_NE(std::string::npos, traceLog().find("retOUT.getReturn()=-12, retOUT.getAPIReturn()=5"));
}

TEST_F(StorDataProcTest, ExceptionGivesMinus13AndItsTraceLine)
{
    traceOn();
    script.raise = true;
    EXPECT_EQ((Result{-13, 0, 0, 0, 0, 0}), callForResult(proc, "setStripeSize", {obj(a), i32(6)}));
    const std::string trace = traceLog();
    EXPECT_NE(std::string::npos, trace.find("JNI: setStripeSize() IN"));
    EXPECT_NE(std::string::npos, trace.find("retOUT.getReturn()=-13, retOUT.getAPIReturn()=0"));
    EXPECT_NE(std::string::npos, trace.find("JNI: setStripeSize() OUT"));
    EXPECT_NE(std::string::npos, errorLog().find("*** Exception Caught ***"));

    // A malformed logical-drive document is an exception of the parse; the
    // library is not asked.
    script.raise = false;
    Result r;
    EXPECT_TRUE(callsOf("createLogicalDrive", {obj(a), obj(javaString("<param raidLevel=5/>"))}, &r).empty());
    EXPECT_EQ(-13, r.code);
}

// Null argument objects and chunks this path cannot carry give -2; the
// library is neither created nor asked.
TEST_F(StorDataProcTest, UnusableArgumentsGiveMinus2AndChangeNothing)
{
    jobject badDrive = chunkArray({chunkSpec(0, 100, 0, 0, -1, 0)});
    jobject nullElement = chunkArray({chunkSpec(0, 100, 0, 0, 1, 2), nullptr});
    const auto modify = [&](jobject chunks) {
        return std::vector<jvalue>{obj(a), i32(5), i32(1), obj(javaString("x")), obj(chunks),
                                   i32(2),  i32(2), i32(0), i32(2)};
    };
    const struct {
        std::string native;
        std::vector<jvalue> args;
    } refused[] = {
        {"createSnapshot", {obj(a), obj(nullptr), flag(true)}},
        {"flashImage", {obj(a), obj(nullptr)}},
        {"changeLogicalDriveName", {obj(a), obj(nullptr)}},
        {"getProgress", {obj(a), obj(nullptr)}},
        {"getControllerCount", {obj(nullptr)}},
        {"createLogicalDrive", {obj(a), obj(nullptr)}},
        {"createAssignedHotSpare", {obj(a), obj(nullptr)}},
        {"removeAssignedHotSpare", {obj(nullptr), obj(b)}},
        {"modifyLogicalDrive", modify(nullptr)},
    };
    for (const auto& c : refused) {
        Result r;
        EXPECT_TRUE(callsOf(c.native, c.args, &r).empty()) << c.native;
        EXPECT_EQ(-2, r.code) << c.native;
    }
    EXPECT_EQ(0, CountingLib::created);

    const std::vector<jvalue> unconvertible[] = {
        modify(chunkArray({chunkSpec(INT64_C(0x100000000), 100, 0, 0, 1, 2)})),
        modify(chunkArray({chunkSpec(0, INT64_C(0x100000000), 0, 0, 1, 2)})),
        modify(chunkArray({chunkSpec(0, 100, 0, 0, 1, 2), chunkSpec(-1, 100, 0, 0, 1, 3)})),
        modify(badDrive),
        modify(nullElement),
    };
    for (const auto& args : unconvertible) {
        Result r;
        EXPECT_TRUE(callsOf("modifyLogicalDrive", args, &r).empty());
        EXPECT_EQ(-2, r.code);
    }
}

TEST_F(StorDataProcTest, DocumentsGoIntoTheStringFields)
{
    // Events: asked from number 0 with an empty holder; no text leaves null.
    EXPECT_EQ(std::vector<std::string>{"getEvents(" + A + ",0,true)"}, callsOf("getEvents", {obj(a)}));
    EXPECT_EQ("<null>", stringField(proc, "eventsBuffer"));
    script.eventsText = true;
    callsOf("getEvents", {obj(a)});
    EXPECT_EQ("<events/>", stringField(proc, "eventsBuffer"));

    // The controller log: a zeroed buffer of 2 MiB + 512 bytes, its text
    // ends inside it, controller bytes arrive one char each.
    EXPECT_EQ(std::vector<std::string>{"getControllerLog(" + A + ",3,2097664,0)"},
              callsOf("getControllerLog", {obj(a), i32(3)}));
    EXPECT_EQ("", stringField(proc, "xmlLogBuffer"));
    script.logText = "<eventlog/>";
    callsOf("getControllerLog", {obj(a), i32(1)});
    EXPECT_EQ("<eventlog/>", stringField(proc, "xmlLogBuffer"));
    script.logText = "<log vendor='\xC9T\xC9'/>";
    callsOf("getControllerLog", {obj(a), i32(1)});
    EXPECT_EQ(u"<log vendor='\u00C9T\u00C9'/>", charsOfStringField(proc, "xmlLogBuffer"));
    script.logText = "<log vendor='\xC3\x89T'/>"; // valid UTF-8 stays text
    callsOf("getControllerLog", {obj(a), i32(1)});
    EXPECT_EQ(u"<log vendor='\u00C9T'/>", charsOfStringField(proc, "xmlLogBuffer"));
    script.logFillsBuffer = true;
    callsOf("getControllerLog", {obj(a), i32(1)});
    EXPECT_EQ(std::string(2097663, 'L'), stringField(proc, "xmlLogBuffer"));

    // A failed operation still writes its field; an exception leaves it.
    script.eventsText = false;
    script.raise = true;
    callsOf("getEvents", {obj(a)});
    EXPECT_EQ("<events/>", stringField(proc, "eventsBuffer"));
    script.raise = false;
    script.answer = Ret(Ret::BAD_PARAM);
    callsOf("getEvents", {obj(a)});
    EXPECT_EQ("<null>", stringField(proc, "eventsBuffer"));

    // The configuration: a failed build leaves no document.
    EXPECT_EQ(0, callForResult(proc, "getSystemConfig", {}).code);
    EXPECT_EQ(0u, stringField(proc, "xmlConfigBuffer").find("<System "));
    script.noSystem = true;
    EXPECT_EQ(-3, callForResult(proc, "getSystemConfig", {}).code);
    EXPECT_EQ("<null>", stringField(proc, "xmlConfigBuffer"));
}

TEST_F(StorDataProcTest, ProgressOfTheAddressedAdapter)
{
    Addr onAdapter1(1, 0x7FFFFFFF, 3, 0x7FFFFFFF, 0x7FFFFFFF, BLOCK_UNDEFINED, 0x7FFFFFFF, 0x7FFFFFFF);
    Addr onAdapter0(0, 0x7FFFFFFF, 2, 1, 4, BLOCK_UNDEFINED, 0x7FFFFFFF, 0x7FFFFFFF);
    Progress first(TASK_VERIFY, onAdapter1, TASK_STATE_IN_PROGRESS, 10);
    Progress second(TASK_REBUILD, onAdapter0, TASK_STATE_IN_PROGRESS, 35);
    second.setTaskID(9);
    second.setPriority(TASK_PRIORITY_MEDIUM);
    script.tasks.add(first);
    script.tasks.add(second);

    jobject progress = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TProgress");
    setIntField(progress, "percent", 77);
    Result r;
    EXPECT_EQ(std::vector<std::string>{"getTasks({0,0,2,1,4})"},
              callsOf("getProgress", {obj(tAddr(0, 0, 2, 1, 4)), obj(progress)}, &r));
    EXPECT_EQ(0, r.code);
    const char* fields[] = {"type", "status", "adapter", "logicalDrive", "channel",
                            "device", "percent", "taskID", "taskPriority"};
    std::vector<jint> values;
    for (const char* f : fields)
        values.push_back(intField(progress, f));
    EXPECT_EQ((std::vector<jint>{TASK_REBUILD, TASK_STATE_IN_PROGRESS, 0, 2, 1, 4, 35, 9, TASK_PRIORITY_MEDIUM}),
              values);

    // No task on the adapter: the object stays as it was, the code is the
    // operation's.
    jobject untouched = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TProgress");
    setIntField(untouched, "percent", 77);
    script.answer = Ret(Ret::BAD_PARAM);
    callsOf("getProgress", {obj(tAddr(5, 0, 0, 0, 0)), obj(untouched)}, &r);
    EXPECT_EQ(-2, r.code);
    EXPECT_EQ(77, intField(untouched, "percent"));
    EXPECT_EQ(0, intField(untouched, "type"));
}

// getSystemConfig and getControllerCount create the library without the
// extra build; every other native builds a new library's configuration
// once; after destructDLL the next native starts again.
TEST_F(StorDataProcTest, TheLibraryIsCreatedWhenFirstNeeded)
{
    traceOn();
    jobject count = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TInteger");
    setIntField(count, "value", 99);
    EXPECT_EQ(-2, callForResult(proc, "getControllerCount", {obj(count)}).code);
    EXPECT_EQ(0, intField(count, "value")) << "written also when the count fails";
    EXPECT_NE(std::string::npos, traceLog().find("Controller count = 0"));
    EXPECT_EQ(1, CountingLib::created);
    EXPECT_EQ(0, CountingLib::builds);

    EXPECT_EQ(0, callForResult(proc, "getSystemConfig", {}).code);
    EXPECT_EQ(1, CountingLib::builds);
    EXPECT_EQ(0, callForResult(proc, "getControllerCount", {obj(count)}).code);
    EXPECT_EQ(2, intField(count, "value"));

    const struct {
        std::string native;
        int builds;
    } first[] = {{"getSystemConfig", 1}, {"getControllerCount", 0}, {"testAllSpares", 1}, {"getEvents", 1}};
    for (const auto& c : first) {
        callForResult(proc, "destructDLL", {});
        const int before = CountingLib::builds;
        if (c.native == "getControllerCount")
            callForResult(proc, c.native, {obj(count)});
        else if (c.native == "getSystemConfig")
            callForResult(proc, c.native, {});
        else
            callForResult(proc, c.native, {obj(a)});
        EXPECT_EQ(c.builds, CountingLib::builds - before) << c.native;
    }
    EXPECT_EQ(5, CountingLib::created);
    EXPECT_EQ(4, CountingLib::deleted);
}

TEST_F(StorDataProcTest, NoLibraryGivesMinus11AndIsTriedAgain)
{
    traceOn();
    useFactory(makeNoLib);
    EXPECT_EQ(-11, callForResult(proc, "testAllSpares", {obj(a)}).code);
    EXPECT_EQ(-11, callForResult(nullptr, "constructDLL", {}).code);
    EXPECT_NE(std::string::npos, errorLog().find("*** Resource Error: pGlobalStorLib==NULL ***"));
    EXPECT_EQ(std::string::npos, traceLog().find("retOUT.getReturn()=-11")) << "no result trace";
    EXPECT_EQ(nullptr, GetTarnellCore("host"));
    EXPECT_NE(std::string::npos, errorLog().find("*** Resource Error: pGlobalStorLib = new SL_LIB; ***"));

    useFactory(makeRecordingLib);
    EXPECT_EQ(std::vector<std::string>{"testAllSpares(" + A + ")"}, callsOf("testAllSpares", {obj(a)}));
}

// Trace lines show the application name: "JNI" until a host names itself
// through GetTarnellCore (its first 8 characters, "DYNAMIC" for none).
TEST_F(StorDataProcTest, HostsNameThemselvesInTheTraceLines)
{
    traceOn();
    jint answer = 0;
    const auto checkVersionsLine = [&](const std::string& name) {
        callNative(proc, "checkVersions", {i32(1)}, &answer);
        return traceLog().find(name + ": JNI: checkVersions() IN") != std::string::npos;
    };
    EXPECT_TRUE(checkVersionsLine("     JNI"));
    EXPECT_EQ(0, CountingLib::created);

    StorLib* lib = GetTarnellCore("TwelveChars!");
    ASSERT_NE(nullptr, lib);
    EXPECT_EQ(0, CountingLib::builds) << "the host's library is not built";
    EXPECT_TRUE(checkVersionsLine("TwelveCh"));
    ReleaseTarnellCore();
    EXPECT_NE(std::string::npos, traceLog().find("ReleaseStorLib() IN"));
    EXPECT_EQ(lib, GetTarnellCore(nullptr));
    EXPECT_TRUE(checkVersionsLine(" DYNAMIC"));
    EXPECT_NE(std::string::npos, traceLog().find("GetStorLib() IN"));
    EXPECT_EQ(1, CountingLib::created);
    EXPECT_EQ(404, answer);
}

// Natives on several Java threads while one of them deletes the library
// again and again: every call finds a whole library (creating it when it is
// gone) and every library is deleted once.
TEST_F(StorDataProcTest, NativesOnSeveralThreadsWithDestructDLL)
{
    useFactory(makeCountingLib);
    jobject shared = e->NewGlobalRef(proc);
    std::atomic<int> failures{0};
    const auto worker = [&](int id) {
        JNIEnv* te = nullptr;
        if (vm()->AttachCurrentThread(reinterpret_cast<void**>(&te), nullptr) != JNI_OK) {
            ++failures;
            return;
        }
        te->PushLocalFrame(64);
        jobject addr = tAddr(0, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF); // the first controller
        jobject count = newObject("com/zeq/sysmgt/raidmgr/dataproc/jni/TInteger");
        for (int i = 0; i < 25; ++i) {
            Result r;
            if (id == 0)
                r = callForResult(shared, "destructDLL", {});
            else if (id == 1)
                r = callForResult(shared, "getControllerCount", {obj(count)});
            else
                r = callForResult(shared, "setCopybackEnabled", {obj(addr), flag(i % 2 == 0)});
            if (r.code != 0 && r.code != -2)
                ++failures;
        }
        te->PopLocalFrame(nullptr);
        vm()->DetachCurrentThread();
    };
    std::vector<std::thread> threads;
    for (int id = 0; id < 4; ++id)
        threads.emplace_back(worker, id);
    for (std::thread& t : threads)
        t.join();
    e->DeleteGlobalRef(shared);
    EXPECT_EQ(0, failures.load());
    callForResult(proc, "destructDLL", {});
    EXPECT_GT(CountingLib::created, 0);
    EXPECT_EQ(CountingLib::created, CountingLib::deleted);
}

} // namespace
