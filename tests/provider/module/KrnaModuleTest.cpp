// libkrnacim as a CIM server sees it: loadable through CMPI alone, the module
// "KRNA_Module", for each registered provider the factories of its kind, and
// every class served as the broker's class checks want it.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cimple/Provider.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Broker.h"
#include "ModuleTestSupport.h"

namespace {

cimple::Module* krnaModule()
{
    void* handle = dlopen(KRNACIM_MODULE, RTLD_NOW | RTLD_GLOBAL);
    if (!handle)
        return nullptr;
    auto entry = reinterpret_cast<cimple::Module* (*)()>(dlsym(handle, "cimple_module"));
    return entry ? entry() : nullptr;
}

} // namespace

TEST(KrnaModule, RegistersItsProvidersWithTheirFactories)
{
    cimbroker::Broker broker;
    std::string error;
    ASSERT_TRUE(broker.loadModule(KRNACIM_MODULE, &error)) << error;
    cimple::Module* module = krnaModule();
    ASSERT_NE(module, nullptr);
    EXPECT_STREQ(module->name, "KRNA_Module");
    for (cimple::Registration* r = module->registrations; r; r = r->next) {
        std::string name = r->provider_name;
        const std::string suffix = "_Provider";
        ASSERT_GT(name.size(), suffix.size());
        ASSERT_EQ(name.substr(name.size() - suffix.size()), suffix) << name;
        std::string cls = name.substr(0, name.size() - suffix.size());
        const bool indication = r->kind == cimple::Registration::INDICATION;
        EXPECT_EQ(broker.hasFactory(cls, cimbroker::MIKind::Instance), !indication) << name;
        EXPECT_TRUE(broker.hasFactory(cls, cimbroker::MIKind::Method)) << name;
        EXPECT_EQ(broker.hasFactory(cls, cimbroker::MIKind::Association),
                  r->kind == cimple::Registration::ASSOCIATION)
            << name;
        EXPECT_EQ(broker.hasFactory(cls, cimbroker::MIKind::Indication), indication) << name;
    }
}

// Every class the module serves, enumerated and its first and last instance
// gotten by path, while the broker checks each value against the class
// table: a get answers what the enumeration listed.
class KrnaModuleClasses : public moduletest::ModuleTest {};

TEST_F(KrnaModuleClasses, EveryClassIsEnumeratedAndGottenAsTheClassTableHasIt)
{
    cimbroker::Inst host;
    host.path = {"root/zeqag", "ZEQXJP_ComputerSystem",
                 {{"CreationClassName", cimbroker::Value::string("ZEQXJP_ComputerSystem")},
                  {"Name", cimbroker::Value::string(moduletest::hostName())}}};
    host.props = host.path.keys;
    broker->setUpcallInstances("root/zeqag", "CIM_ComputerSystem", {host});
    cimple::Module* module = krnaModule();
    ASSERT_NE(module, nullptr);
    size_t served = 0, listed = 0;
    for (cimple::Registration* r = module->registrations; r; r = r->next) {
        if (r->kind == cimple::Registration::INDICATION)
            continue;
        const std::string name = r->provider_name;
        const std::string cls = name.substr(0, name.size() - std::string("_Provider").size());
        SCOPED_TRACE(cls);
        served++;
        const std::vector<cimbroker::Inst> all = enumerate(cls);
        if (all.empty())
            continue;
        listed++;
        for (const cimbroker::Inst* i : {&all.front(), &all.back()}) {
            cimbroker::Inst got;
            const cimbroker::Status st = broker->getInstance(i->path, got);
            ASSERT_TRUE(st.ok()) << i->path.text() << ": " << cimbroker::rcName(st.rc) << " " << st.msg;
            // Of instances that share their keys, the first.
            const auto first =
                std::find_if(all.begin(), all.end(), [&](const cimbroker::Inst& j) { return j.path == i->path; });
            EXPECT_EQ(cimbroker::mofText(*first), cimbroker::mofText(got));
        }
    }
    // Empty in the default scenarios: the diagnostics' job, its two records
    // and their three associations, and the power supplies' collection.
    EXPECT_EQ(served - 7, listed);
}
