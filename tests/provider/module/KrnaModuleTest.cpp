// libkrnacim as a CIM server sees it: loadable through CMPI alone, the module
// "KRNA_Module", and for each registered provider the factories of its kind.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cimple/Provider.h>

#include <string>

#include "Broker.h"

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
