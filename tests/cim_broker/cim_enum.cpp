// cim_enum: the instances a provider module gives for one CIM class, as a
// CIM server would get them through CMPI, printed as MOF-like text.
//
//   cim_enum [--module FILE] [--namespace NS] CLASS
//
// FILE defaults to libkrnacim.so in the lib folder beside this program's
// folder, NS to "root/krna". Exit status: 0 done, 1 no provider of the module
// enumerates CLASS, 2 bad argument or a module that cannot be loaded, 3 the
// enumeration failed.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Broker.h"

namespace {

void usage()
{
    fprintf(stderr, "usage: cim_enum [--module FILE] [--namespace NS] CLASS\n");
}

bool validClassName(const std::string& s)
{
    if (s.empty() || !(isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_'))
        return false;
    for (char c : s)
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    return true;
}

std::string defaultModule()
{
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return "libkrnacim.so";
    std::string dir(self, static_cast<size_t>(n));
    dir = dir.substr(0, dir.rfind('/'));
    return dir.substr(0, dir.rfind('/') + 1) + "lib/libkrnacim.so";
}

std::string hostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

} // namespace

int main(int argc, char** argv)
{
    std::string module = defaultModule();
    std::string ns = "root/krna";
    std::string cls;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if ((arg == "--module" || arg == "--namespace") && i + 1 < argc) {
            (arg == "--module" ? module : ns) = argv[++i];
        } else if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && cls.empty()) {
            cls = arg;
        } else {
            usage();
            return 2;
        }
    }
    if (!validClassName(cls) || ns.empty()) {
        usage();
        return 2;
    }

    cimbroker::Broker broker;
    std::string error;
    if (!broker.loadModule(module, &error)) {
        fprintf(stderr, "cim_enum: cannot load %s: %s\n", module.c_str(), error.c_str());
        return 2;
    }
    // The host's management agent, as a server with it installed shows it.
    cimbroker::Inst host;
    host.path = {"root/zeqag", "ZEQXJP_ComputerSystem",
                 {{"CreationClassName", cimbroker::Value::string("ZEQXJP_ComputerSystem")},
                  {"Name", cimbroker::Value::string(hostName())}}};
    host.props = host.path.keys;
    broker.setUpcallInstances("root/zeqag", "CIM_ComputerSystem", {host});

    if (!broker.hasFactory(cls, cimbroker::MIKind::Instance)) {
        fprintf(stderr, "cim_enum: no provider of %s enumerates %s\n", module.c_str(), cls.c_str());
        return 1;
    }
    std::vector<cimbroker::Inst> instances;
    cimbroker::Status st = broker.enumerateInstances(ns, cls, instances);
    if (!st.ok()) {
        fprintf(stderr, "cim_enum: enumerating %s failed: %s%s%s\n", cls.c_str(), cimbroker::rcName(st.rc),
                st.msg.empty() ? "" : ": ", st.msg.c_str());
        return 3;
    }
    for (size_t i = 0; i < instances.size(); i++)
        printf("%s%s", i ? "\n" : "", cimbroker::mofText(instances[i]).c_str());
    return 0;
}
