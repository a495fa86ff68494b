// CmpiRequestFuzz: requests of a CIM client, through the test broker, to the
// provider framework's test module: object paths and method arguments with
// missing or mistyped keys, long strings, references to other classes. Any
// crash, leak, undefined behaviour or misuse of the broker is a finding.
//
// The input is text, one item per line:
//   get|names|enum|delete|modify|create CLASS
//   invoke CLASS METHOD
//   assoc|assocnames CLASS [ASSOC_CLASS [RESULT_CLASS [ROLE [RESULT_ROLE]]]]
//   refs|refnames CLASS [RESULT_CLASS [ROLE]]      (the first such line is the request)
//   ns NAMESPACE
//   key NAME TYPE VALUE        a key of the request's path
//   arg NAME TYPE VALUE        a method argument, or a property of the instance
// TYPE is str, bool, u8 .. u64, i8 .. i64, r32, r64, c16, dt, null, or
// ref (VALUE "CLASS|NAME=TYPE=VALUE|..."); a leading "[" makes an array whose
// VALUE lists elements separated by ",". Unknown lines are ignored.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Broker.h"

using namespace cimbroker;

namespace {

std::vector<std::string> split(const std::string& s, char sep, size_t max = 0)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        if (end == std::string::npos || (max && parts.size() + 1 == max)) {
            parts.push_back(s.substr(start));
            return parts;
        }
        parts.push_back(s.substr(start, end - start));
        start = end + 1;
    }
}

Value scalar(const std::string& type, const std::string& text, int depth);

Value reference(const std::string& text, int depth)
{
    std::vector<std::string> parts = split(text, '|');
    Path p;
    p.ns = "root/test";
    p.cls = parts[0];
    for (size_t i = 1; i < parts.size(); i++) {
        std::vector<std::string> kv = split(parts[i], '=', 3);
        if (kv.size() == 3)
            p.keys.emplace_back(kv[0], scalar(kv[1], kv[2], depth + 1));
    }
    return Value::reference(p);
}

Value scalar(const std::string& type, const std::string& text, int depth)
{
    const unsigned long long u = strtoull(text.c_str(), nullptr, 0);
    const long long i = strtoll(text.c_str(), nullptr, 0);
    if (type == "str")
        return Value::string(text);
    if (type == "bool")
        return Value::boolean(text == "true" || text == "1");
    if (type == "u8")
        return Value::uint(CMPI_uint8, u);
    if (type == "u16")
        return Value::uint(CMPI_uint16, u);
    if (type == "u32")
        return Value::uint(CMPI_uint32, u);
    if (type == "u64")
        return Value::uint(CMPI_uint64, u);
    if (type == "i8")
        return Value::sint(CMPI_sint8, i);
    if (type == "i16")
        return Value::sint(CMPI_sint16, i);
    if (type == "i32")
        return Value::sint(CMPI_sint32, i);
    if (type == "i64")
        return Value::sint(CMPI_sint64, i);
    if (type == "r32")
        return Value::real(CMPI_real32, strtod(text.c_str(), nullptr));
    if (type == "r64")
        return Value::real(CMPI_real64, strtod(text.c_str(), nullptr));
    if (type == "c16")
        return Value::char16(static_cast<unsigned short>(u));
    if (type == "dt")
        return Value::datetime(text);
    if (type == "ref" && depth < 4)
        return reference(text, depth);
    return Value::nullOf(CMPI_string);
}

Value value(const std::string& type, const std::string& text)
{
    if (type.empty() || type[0] != '[')
        return scalar(type, text, 0);
    std::vector<Value> elements;
    for (const std::string& e : split(text, ','))
        elements.push_back(scalar(type.substr(1), e, 0));
    return Value::array(scalar(type.substr(1), "", 0).type, elements);
}

const char* opt(const std::vector<std::string>& w, size_t i) { return i < w.size() ? w[i].c_str() : nullptr; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> request;
    Path path;
    path.ns = "root/test";
    Named args;
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<std::string> w = split(line, ' ', 4);
        if ((w[0] == "key" || w[0] == "arg") && w.size() == 4)
            (w[0] == "key" ? path.keys : args).emplace_back(w[1], value(w[2], w[3]));
        else if (w[0] == "ns" && w.size() == 2)
            path.ns = w[1];
        else if (request.empty() && w.size() >= 2)
            request = split(line, ' ');
    }
    if (request.size() < 2)
        return 0;
    path.cls = request[1];

    Broker broker;
    if (!broker.loadModule(CIMPLE_TEST_MODULE))
        abort();
    const std::string& op = request[0];
    std::vector<Inst> insts;
    std::vector<Path> paths;
    Inst inst;
    inst.path = path;
    inst.props = args;
    if (op == "get") {
        broker.getInstance(path, inst);
    } else if (op == "names") {
        broker.enumerateInstanceNames(path.ns, path.cls, paths);
    } else if (op == "enum") {
        broker.enumerateInstances(path.ns, path.cls, insts);
    } else if (op == "delete") {
        broker.deleteInstance(path);
    } else if (op == "modify") {
        broker.modifyInstance(inst);
    } else if (op == "create") {
        broker.createInstance(inst, path);
    } else if (op == "invoke" && request.size() >= 3) {
        Named out;
        Value ret;
        broker.invokeMethod(path, request[2], args, out, ret);
    } else if (op == "assoc" || op == "assocnames") {
        if (op == "assoc")
            broker.associators("TEST_Link", path, opt(request, 2), opt(request, 3), opt(request, 4), opt(request, 5),
                               insts);
        else
            broker.associatorNames("TEST_Link", path, opt(request, 2), opt(request, 3), opt(request, 4),
                                   opt(request, 5), paths);
    } else if (op == "refs") {
        broker.references("TEST_Link", path, opt(request, 2), opt(request, 3), insts);
    } else if (op == "refnames") {
        broker.referenceNames("TEST_Link", path, opt(request, 2), opt(request, 3), paths);
    }
    broker.cleanupAll();
    if (!broker.violations().empty())
        abort();
    return 0;
}
