// cim_enum: the instances a provider module gives for one CIM class, as a
// CIM server would get them through CMPI, printed as MOF-like text; or the
// invocation of an extrinsic method on an instance.
//
//   cim_enum [--module FILE] [--namespace NS] CLASS
//   cim_enum [--module FILE] [--namespace NS] --invoke PATH METHOD [NAME=VALUE]... [--list CLASS]...
//   cim_enum [--module FILE] [--namespace NS] --indications SECONDS
//
// PATH names the instance as Class.Key="value",... (a value without blanks
// or commas may stand unquoted); an argument VALUE of that form is a
// reference to the instance it names, any other VALUE a string. The method's
// return value and output arguments are printed as "Name = value;" lines,
// then the instances of each CLASS after --list, as the same process holds
// them after the call (what a method leaves behind lives in the process).
// --indications enables the module's alert indications, prints each one
// the broker receives during SECONDS (1 to 3600) as it arrives, then
// disables them and unloads the module.
// FILE defaults to libkrnacim.so in the lib folder beside this program's
// folder, NS to "root/krna". Exit status: 0 done, 1 no provider of the module
// serves CLASS, 2 bad argument, a module that cannot be loaded, output
// that could not be written or no memory left, 3 the enumeration or the
// method failed.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Broker.h"

namespace {

void usage(FILE* out = stderr)
{
    fprintf(out, "usage: cim_enum [--module FILE] [--namespace NS] CLASS\n"
                    "       cim_enum [--module FILE] [--namespace NS] --invoke PATH METHOD [NAME=VALUE]... "
                    "[--list CLASS]...\n"
                    "       cim_enum [--module FILE] [--namespace NS] --indications SECONDS\n");
}

// The error number of the first write to standard output that failed.
int outputError = 0;

// Flushes standard output; false once a write has failed.
bool outputWritten()
{
    errno = 0;
    if ((fflush(stdout) != 0 || ferror(stdout)) && outputError == 0)
        outputError = errno != 0 ? errno : EIO;
    return outputError == 0;
}

// The exit status once everything is printed: 2, with the message, when
// something was not written.
int finish(int status)
{
    if (outputWritten())
        return status;
    fprintf(stderr, "cim_enum: the output cannot be written: %s\n", strerror(outputError));
    return 2;
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

bool validName(const std::string& s) { return validClassName(s); }

// Class.Key="value",Key=value in namespace ns; false when it is not one.
bool parsePath(const std::string& text, const std::string& ns, cimbroker::Path& path)
{
    const size_t dot = text.find('.');
    path = cimbroker::Path();
    path.ns = ns;
    path.cls = text.substr(0, dot);
    if (!validClassName(path.cls))
        return false;
    if (dot == std::string::npos)
        return true;
    size_t pos = dot + 1;
    while (pos < text.size()) {
        const size_t eq = text.find('=', pos);
        if (eq == std::string::npos || !validName(text.substr(pos, eq - pos)))
            return false;
        const std::string name = text.substr(pos, eq - pos);
        std::string value;
        pos = eq + 1;
        if (pos < text.size() && text[pos] == '"') {
            for (pos++; pos < text.size() && text[pos] != '"'; pos++) {
                if (text[pos] == '\\' && pos + 1 < text.size())
                    pos++;
                value += text[pos];
            }
            if (pos >= text.size())
                return false; // no closing quotation mark
            pos++;
        } else {
            while (pos < text.size() && text[pos] != ',')
                value += text[pos++];
        }
        path.keys.push_back({name, cimbroker::Value::string(value)});
        if (pos < text.size() && text[pos++] != ',')
            return false;
        if (pos == text.size() && text.back() == ',')
            return false;
    }
    return !path.keys.empty();
}

// Whether the text has the form of an object path with keys.
bool looksLikePath(const std::string& text)
{
    const size_t dot = text.find('.');
    const size_t eq = text.find('=');
    return dot != std::string::npos && eq != std::string::npos && dot < eq && validClassName(text.substr(0, dot));
}

// Prints the instances of the class; the exit status of main.
int list(cimbroker::Broker& broker, const std::string& ns, const std::string& cls)
{
    if (!broker.hasFactory(cls, cimbroker::MIKind::Instance)) {
        fprintf(stderr, "cim_enum: no provider of the module enumerates %s\n", cls.c_str());
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

// Invokes the method, then lists the classes; the exit status of main.
int invoke(cimbroker::Broker& broker, const std::string& ns, const std::vector<std::string>& args,
           const std::vector<std::string>& listed)
{
    cimbroker::Path path;
    if (args.size() < 2 || !parsePath(args[0], ns, path) || !validName(args[1])) {
        usage();
        return 2;
    }
    cimbroker::Named in;
    for (size_t i = 2; i < args.size(); i++) {
        const size_t eq = args[i].find('=');
        if (eq == std::string::npos || !validName(args[i].substr(0, eq))) {
            usage();
            return 2;
        }
        const std::string value = args[i].substr(eq + 1);
        cimbroker::Path ref;
        if (looksLikePath(value)) {
            if (!parsePath(value, ns, ref)) {
                fprintf(stderr, "cim_enum: not an object path: %s\n", value.c_str());
                return 2;
            }
            in.push_back({args[i].substr(0, eq), cimbroker::Value::reference(ref)});
        } else {
            in.push_back({args[i].substr(0, eq), cimbroker::Value::string(value)});
        }
    }
    if (!broker.hasFactory(path.cls, cimbroker::MIKind::Method)) {
        fprintf(stderr, "cim_enum: no provider serves the methods of %s\n", path.cls.c_str());
        return 1;
    }
    cimbroker::Named out;
    cimbroker::Value ret;
    cimbroker::Status st = broker.invokeMethod(path, args[1], in, out, ret);
    if (!st.ok()) {
        fprintf(stderr, "cim_enum: %s failed: %s%s%s\n", args[1].c_str(), cimbroker::rcName(st.rc),
                st.msg.empty() ? "" : ": ", st.msg.c_str());
        printf("ReturnValue = %s;\n", cimbroker::valueText(ret).c_str());
        return 3;
    }
    printf("ReturnValue = %s;\n", cimbroker::valueText(ret).c_str());
    for (const auto& arg : out)
        printf("%s = %s;\n", arg.first.c_str(), cimbroker::valueText(arg.second).c_str());
    for (const std::string& cls : listed) {
        printf("\n");
        fflush(stdout);
        if (int status = list(broker, ns, cls))
            return status;
    }
    return 0;
}

// The class of the module's alert indications.
const char* const ALERT_CLASS = "KRNA_RaidMonitorAlertIndication";

// Enables the alert indications, prints what arrives during the time, then
// disables them; the exit status of main.
int watchIndications(cimbroker::Broker& broker, const std::string& ns, int seconds)
{
    if (!broker.hasFactory(ALERT_CLASS, cimbroker::MIKind::Indication)) {
        fprintf(stderr, "cim_enum: no provider of the module delivers %s\n", ALERT_CLASS);
        return 1;
    }
    cimbroker::Status st = broker.activateFilter(ns, ALERT_CLASS);
    if (st.ok())
        st = broker.enableIndications(ALERT_CLASS);
    if (!st.ok()) {
        fprintf(stderr, "cim_enum: enabling indications failed: %s%s%s\n", cimbroker::rcName(st.rc),
                st.msg.empty() ? "" : ": ", st.msg.c_str());
        return 3;
    }
    size_t printed = 0;
    auto print = [&] {
        const std::vector<cimbroker::Broker::Delivery> all = broker.deliveries();
        for (; printed < all.size(); printed++)
            printf("%s%s", printed ? "\n" : "", cimbroker::mofText(all[printed].indication).c_str());
    };
    // Output that cannot be written ends the watch early.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end && outputWritten()) {
        broker.waitForDeliveries(printed + 1, std::chrono::milliseconds(200));
        print();
    }
    st = broker.disableIndications(ALERT_CLASS);
    broker.deactivateFilter(ns, ALERT_CLASS);
    print();
    if (!st.ok()) {
        fprintf(stderr, "cim_enum: disabling indications failed: %s\n", cimbroker::rcName(st.rc));
        return 3;
    }
    return 0;
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
try {
    std::string module = defaultModule();
    std::string ns = "root/krna";
    std::string cls;
    bool invoking = false;
    int indicationSeconds = 0;
    std::vector<std::string> invokeArgs, listed;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (invoking && arg == "--list") {
            if (i + 1 >= argc || !validClassName(argv[i + 1])) {
                usage();
                return 2;
            }
            listed.push_back(argv[++i]);
        } else if (invoking) {
            invokeArgs.push_back(arg);
        } else if ((arg == "--module" || arg == "--namespace") && i + 1 < argc) {
            (arg == "--module" ? module : ns) = argv[++i];
        } else if (arg == "--indications" && cls.empty() && !invoking && i + 1 < argc) {
            char* rest = nullptr;
            const long seconds = strtol(argv[++i], &rest, 10);
            if (*rest != '\0' || seconds < 1 || seconds > 3600) {
                usage();
                return 2;
            }
            indicationSeconds = static_cast<int>(seconds);
        } else if (arg == "--invoke" && cls.empty() && !indicationSeconds) {
            invoking = true;
        } else if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return finish(0);
        } else if (!arg.empty() && arg[0] != '-' && cls.empty() && !indicationSeconds) {
            cls = arg;
        } else {
            usage();
            return 2;
        }
    }
    if ((!invoking && !indicationSeconds && !validClassName(cls)) || ns.empty()) {
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
    if (invoking)
        return finish(invoke(broker, ns, invokeArgs, listed));
    if (indicationSeconds)
        return finish(watchIndications(broker, ns, indicationSeconds));

    if (!broker.hasFactory(cls, cimbroker::MIKind::Instance)) {
        fprintf(stderr, "cim_enum: no provider of %s enumerates %s\n", module.c_str(), cls.c_str());
        return 1;
    }
    return finish(list(broker, ns, cls));
} catch (const std::bad_alloc&) {
    fputs("cim_enum: out of memory\n", stderr);
    return 2;
}
