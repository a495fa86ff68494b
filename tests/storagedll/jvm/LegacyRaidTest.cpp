#include "LegacyRaidTest.h"

namespace legacytest {

void LegacyRaidTest::SetUp()
{
    LegacyTest::SetUp();
    dll = open();
}

jobject LegacyRaidTest::address(int adapter, int channel, int device, int virtDev, int array)
{
    jobject a = apiObject(API_CLASS("StorAddr"));
    setIntField(a, "iAdapterID", adapter);
    setIntField(a, "iChannelID", channel);
    setIntField(a, "iPhysDevID", device);
    setIntField(a, "iVirtDevID", virtDev);
    setIntField(a, "iArrayID", array);
    return a;
}

Result LegacyRaidTest::call(const std::string& name, const std::vector<jvalue>& args, const std::string& signature)
{
    jobject ret = apiObject(API_CLASS("StorRet"));
    setIntField(ret, "iReturnCode", 0x5A);
    std::vector<jvalue> all{obj(ret)};
    all.insert(all.end(), args.begin(), args.end());
    callNative(dll, name, all, signature);
    return result(ret);
}

void LegacyRaidTest::resetWith(int adapter, const std::function<void(tarnellsim::Controller&)>& edit)
{
    tarnellsim::Scenario scenario = tarnellsim::defaultScenario();
    for (tarnellsim::Controller& c : scenario.controllers) {
        if (c.number == adapter)
            edit(c);
    }
    tarnellsim::reset(scenario);
}

std::vector<std::string> LegacyRaidTest::callNames()
{
    std::vector<std::string> names;
    for (const tarnellsim::Call& c : tarnellsim::calls())
        names.push_back(c.name);
    return names;
}

std::vector<long long> LegacyRaidTest::argsOf(const std::string& entry)
{
    const std::vector<tarnellsim::Call> calls = tarnellsim::calls(entry);
    EXPECT_FALSE(calls.empty()) << entry;
    return calls.empty() ? std::vector<long long>{} : calls.back().args;
}

jobject LegacyRaidTest::deviceList(int adapter, const std::vector<std::pair<int, int>>& devices)
{
    JNIEnv* e = env();
    jobject list = apiObject(API_CLASS("AddrList"));
    jclass cls = e->GetObjectClass(list);
    jmethodID add = e->GetMethodID(cls, "addAddress", "(" LEGACY_API_SIG("StorAddr") ")V");
    for (const auto& d : devices) {
        jobject a = address(adapter, d.first, d.second);
        e->CallVoidMethod(list, add, a);
        expectNoException(e, "addAddress");
        e->DeleteLocalRef(a);
    }
    e->DeleteLocalRef(cls);
    return list;
}

} // namespace legacytest
