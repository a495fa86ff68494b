// Speed of the XML dialect's parser and writer against pugixml on the same
// configuration-like document of about 1 MB (four levels deep, thousands of
// elements with 10 to 20 attributes each).
//
//   parse: our pull parser pulling every event and attribute, against
//          pugixml's in-place parse (parse_default) of a mutable copy of the
//          same bytes;
//   write: our writer writing the tree (writeTree, each node's writeTo),
//          against pugixml building the same content and saving it to memory.
//
// After the runs, the two figures of each pair and their ratio are printed.

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RaidLib/Util/SimpleXmlParser.h"
#include "RaidModel/Interface/RaidObject.h"
#include "RaidModel/Serialization/XMLWriter.h"

namespace {

// One attribute of the generated document: a number or a text.
struct Attribute {
    enum Kind { UNSIGNED, SIGNED, U64, TEXT, BOOL } kind;
    const char* name;
    uint64_t number;
    std::string text;
};

// A model node that writes exactly its generated attributes.
class BenchNode : public RaidObject {
public:
    explicit BenchNode(const char* element) : element_(element) {}
    const char* serializedName() const override { return element_; }
    void writeTo(Writer* w) const override
    {
        for (const Attribute& a : attributes) {
            switch (a.kind) {
            case Attribute::UNSIGNED:
                w->writeULong(a.name, static_cast<unsigned long>(a.number));
                break;
            case Attribute::SIGNED:
                w->writeInt(a.name, static_cast<int>(a.number));
                break;
            case Attribute::U64:
                w->writeU64(a.name, a.number);
                break;
            case Attribute::BOOL:
                w->writeBool(a.name, a.number != 0);
                break;
            case Attribute::TEXT:
                w->writeString(a.name, a.text.c_str());
                break;
            }
        }
    }

    std::vector<Attribute> attributes;

private:
    const char* element_;
};

uint32_t nextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void addCommon(BenchNode* n, const char* typeName, uint32_t controller)
{
    n->attributes.push_back({Attribute::TEXT, "typeName", 0, typeName});
    n->attributes.push_back({Attribute::TEXT, "attachmentType", 0, "none"});
    n->attributes.push_back({Attribute::SIGNED, "storlibType", 5, ""});
    n->attributes.push_back({Attribute::UNSIGNED, "controllerID", controller, ""});
}

// System / Controller / Channel / HardDrive, with logical drives and arrays
// beside the channels.
BenchNode* buildTree()
{
    uint32_t rnd = 12345;
    BenchNode* system = new BenchNode("System");
    system->attributes.push_back({Attribute::TEXT, "typeName", 0, "TarnellSystem"});
    system->attributes.push_back({Attribute::TEXT, "attachmentType", 0, "none"});
    system->attributes.push_back({Attribute::SIGNED, "storlibType", 5, ""});
    system->attributes.push_back({Attribute::TEXT, "version", 0, "4.2.0-1187"});

    for (uint32_t c = 0; c < 8; ++c) {
        BenchNode* ctl = new BenchNode("Controller");
        addCommon(ctl, "TarnellAdapter", c);
        ctl->attributes.push_back({Attribute::TEXT, "productName", 0, "Tarnell RAID 8i & 8e"});
        ctl->attributes.push_back({Attribute::TEXT, "firmwareVersion", 0, "5.2.0-17419"});
        ctl->attributes.push_back({Attribute::TEXT, "serialNumber", 0, "TR" + std::to_string(810000 + c)});
        ctl->attributes.push_back({Attribute::UNSIGNED, "adapterType", 14, ""});
        ctl->attributes.push_back({Attribute::UNSIGNED, "cacheSize", 512, ""});
        ctl->attributes.push_back({Attribute::BOOL, "batteryPresent", 1, ""});
        ctl->attributes.push_back({Attribute::SIGNED, "temperature", 38 + c, ""});
        ctl->attributes.push_back({Attribute::UNSIGNED, "maxLogicalDrives", 64, ""});
        ctl->attributes.push_back({Attribute::UNSIGNED, "alarmState", 2, ""});
        system->addChild(ctl);

        for (uint32_t ch = 0; ch < 4; ++ch) {
            BenchNode* channel = new BenchNode("Channel");
            addCommon(channel, "SASChannel", c);
            channel->attributes.push_back({Attribute::UNSIGNED, "channelID", ch, ""});
            channel->attributes.push_back({Attribute::UNSIGNED, "transferSpeed", 6, ""});
            channel->attributes.push_back({Attribute::UNSIGNED, "channelType", 4, ""});
            channel->attributes.push_back({Attribute::UNSIGNED, "initiatorID", 7, ""});
            channel->attributes.push_back({Attribute::UNSIGNED, "portCount", 4, ""});
            ctl->addChild(channel);

            for (uint32_t d = 0; d < 96; ++d) {
                BenchNode* drive = new BenchNode("HardDrive");
                addCommon(drive, "TarnellHardDrive", c);
                drive->attributes.push_back({Attribute::UNSIGNED, "channelID", ch, ""});
                drive->attributes.push_back({Attribute::UNSIGNED, "deviceID", d, ""});
                drive->attributes.push_back({Attribute::SIGNED, "deviceType", 0, ""});
                drive->attributes.push_back({Attribute::TEXT, "vendor", 0, "ZEQ"});
                drive->attributes.push_back({Attribute::TEXT, "model", 0, "ST4000NM0023"});
                drive->attributes.push_back(
                    {Attribute::TEXT, "serialNumber", 0, "Z1Z" + std::to_string(nextRandom(rnd))});
                drive->attributes.push_back({Attribute::TEXT, "firmwareLevel", 0, "GS0F"});
                drive->attributes.push_back({Attribute::SIGNED, "state", nextRandom(rnd) % 8, ""});
                drive->attributes.push_back(
                    {Attribute::U64, "size", 7814037168ull - nextRandom(rnd) % 4096, ""});
                drive->attributes.push_back({Attribute::UNSIGNED, "wwn0", nextRandom(rnd), ""});
                drive->attributes.push_back({Attribute::UNSIGNED, "wwn1", nextRandom(rnd), ""});
                drive->attributes.push_back({Attribute::BOOL, "pfaError", 0, ""});
                channel->addChild(drive);
            }
        }
        for (uint32_t l = 0; l < 24; ++l) {
            BenchNode* ld = new BenchNode("LogicalDrive");
            addCommon(ld, "TarnellLogicalDrive", c);
            ld->attributes.push_back({Attribute::UNSIGNED, "logicalDriveID", l, ""});
            ld->attributes.push_back({Attribute::SIGNED, "state", 0, ""});
            ld->attributes.push_back({Attribute::SIGNED, "raidLevel", 5, ""});
            ld->attributes.push_back({Attribute::U64, "dataSpace", 23442111504ull, ""});
            ld->attributes.push_back({Attribute::U64, "paritySpace", 7814037168ull, ""});
            ld->attributes.push_back({Attribute::BOOL, "blockedAccess", 0, ""});
            ld->attributes.push_back({Attribute::SIGNED, "writeCacheMode", 1, ""});
            ld->attributes.push_back({Attribute::TEXT, "name", 0, "Volume " + std::to_string(l)});
            ld->attributes.push_back({Attribute::UNSIGNED, "stripeSize", 256, ""});
            ctl->addChild(ld);
        }
    }
    return system;
}

// Our writer over the tree.
std::string writeOurs(const RaidObject& root)
{
    char* doc = nullptr;
    {
        XMLWriter w(&doc);
        w.writeTree(root);
    }
    std::string text = doc ? doc : "";
    delete[] doc;
    return text;
}

// The same content built as a pugixml document.
void buildPugi(const RaidObject& node, pugi::xml_node parent)
{
    const BenchNode& n = static_cast<const BenchNode&>(node);
    pugi::xml_node e = parent.append_child(n.serializedName());
    for (const Attribute& a : n.attributes) {
        pugi::xml_attribute attr = e.append_attribute(a.name);
        switch (a.kind) {
        case Attribute::UNSIGNED:
            attr.set_value(static_cast<unsigned int>(a.number));
            break;
        case Attribute::SIGNED:
            attr.set_value(static_cast<int>(a.number));
            break;
        case Attribute::U64:
            attr.set_value(static_cast<unsigned long long>(a.number));
            break;
        case Attribute::BOOL:
            attr.set_value(a.number != 0);
            break;
        case Attribute::TEXT:
            attr.set_value(a.text.c_str());
            break;
        }
    }
    for (unsigned long i = 0; i < node.getChildCount(); ++i)
        buildPugi(*node.getChild(static_cast<int>(i)), e);
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override
    {
        text.append(static_cast<const char*>(data), size);
    }
};

std::string savePugi(const pugi::xml_document& doc)
{
    StringWriter out;
    doc.save(out, "    ", pugi::format_default | pugi::format_no_declaration);
    return out.text;
}

struct Fixture {
    BenchNode* tree;
    std::string document;
    size_t elements;
    size_t attributes;

    Fixture() : tree(buildTree()), elements(0), attributes(0)
    {
        document = writeOurs(*tree);
        std::vector<RaidObject*> all;
        tree->getChildren(all, true, false);
        elements = all.size() + 1;
        attributes = tree->attributes.size();
        for (RaidObject* o : all)
            attributes += static_cast<BenchNode*>(o)->attributes.size();
    }
    ~Fixture()
    {
        tree->deleteAllChildren();
        delete tree;
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void setCounters(benchmark::State& state)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fixture().document.size()));
    state.counters["elements"] = static_cast<double>(fixture().elements);
}

void BM_Parse_Ours(benchmark::State& state)
{
    const std::string& doc = fixture().document;
    std::vector<char> buffer(doc.size());
    size_t attributes = 0;
    for (auto _ : state) {
        memcpy(buffer.data(), doc.data(), doc.size());
        const auto start = std::chrono::steady_clock::now();
        SimpleXmlParser parser(buffer.data(), buffer.size());
        attributes = 0;
        while (parser.parseNext()) {
            benchmark::DoNotOptimize(parser.pTag);
            if (parser.pName) {
                benchmark::DoNotOptimize(parser.pValue);
                ++attributes;
            }
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    if (attributes != fixture().attributes)
        state.SkipWithError("parser did not report every attribute");
    setCounters(state);
}

void BM_Parse_Pugixml(benchmark::State& state)
{
    const std::string& doc = fixture().document;
    std::vector<char> buffer(doc.size());
    for (auto _ : state) {
        memcpy(buffer.data(), doc.data(), doc.size());
        const auto start = std::chrono::steady_clock::now();
        pugi::xml_document d;
        pugi::xml_parse_result r =
            d.load_buffer_inplace(buffer.data(), buffer.size(), pugi::parse_default);
        benchmark::DoNotOptimize(r);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        if (!r)
            state.SkipWithError("pugixml could not parse the document");
    }
    setCounters(state);
}

void BM_Write_Ours(benchmark::State& state)
{
    const RaidObject& tree = *fixture().tree;
    for (auto _ : state) {
        char* doc = nullptr;
        {
            XMLWriter w(&doc);
            w.writeTree(tree);
            benchmark::DoNotOptimize(doc);
        }
        delete[] doc;
    }
    setCounters(state);
}

void BM_Write_Pugixml(benchmark::State& state)
{
    const RaidObject& tree = *fixture().tree;
    for (auto _ : state) {
        pugi::xml_document d;
        buildPugi(tree, d);
        StringWriter out;
        d.save(out, "    ", pugi::format_default | pugi::format_no_declaration);
        benchmark::DoNotOptimize(out.text.data());
    }
    setCounters(state);
}

// Informative: pugixml's save alone, of a document built once.
void BM_Save_Pugixml(benchmark::State& state)
{
    pugi::xml_document d;
    buildPugi(*fixture().tree, d);
    for (auto _ : state) {
        StringWriter out;
        d.save(out, "    ", pugi::format_default | pugi::format_no_declaration);
        benchmark::DoNotOptimize(out.text.data());
    }
    setCounters(state);
}

BENCHMARK(BM_Parse_Ours)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse_Pugixml)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write_Pugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save_Pugixml)->Unit(benchmark::kMillisecond);

// Keeps the time per iteration of each run for the summary (the median of
// the repetitions when there are several).
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double t =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration)
                seconds[run.run_name.str()].push_back(t);
            else if (run.aggregate_name == "median")
                medians[run.run_name.str()] = t;
        }
    }

    // Seconds per iteration; negative when the benchmark did not run.
    double median(const std::string& name) const
    {
        auto m = medians.find(name);
        if (m != medians.end())
            return m->second;
        auto it = seconds.find(name);
        if (it == seconds.end() || it->second.empty())
            return -1;
        std::vector<double> v = it->second;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }

private:
    std::map<std::string, std::vector<double>> seconds;
    std::map<std::string, double> medians;
};

void printPair(const SummaryReporter& r, const char* what, const char* ours, const char* pugi)
{
    const double o = r.median(ours);
    const double p = r.median(pugi);
    if (o <= 0 || p <= 0)
        return;
    const double mb = static_cast<double>(fixture().document.size()) / 1e6;
    printf("%-6s ours %8.3f ms (%7.1f MB/s)   pugixml %8.3f ms (%7.1f MB/s)   "
           "ours/pugixml time ratio %.2f (%s)\n",
           what, o * 1e3, mb / o, p * 1e3, mb / p, o / p,
           o <= p ? "ours at least as fast" : "ours slower");
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Fixture& f = fixture();
    pugi::xml_document check;
    buildPugi(*f.tree, check);
    printf("document: %zu bytes, %zu elements, %zu attributes (pugixml's save: %zu bytes)\n",
           f.document.size(), f.elements, f.attributes, savePugi(check).size());

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    printf("\n");
    printPair(reporter, "parse", "BM_Parse_Ours/manual_time", "BM_Parse_Pugixml/manual_time");
    printPair(reporter, "write", "BM_Write_Ours", "BM_Write_Pugixml");
    return 0;
}
