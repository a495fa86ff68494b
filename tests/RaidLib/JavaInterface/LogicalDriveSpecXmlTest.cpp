#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RaidLib/JavaInterface/StorDataProc.h"
#include "RaidLib/Util/SimpleXmlParser.h"

// The logical-drive document of the Java console read into a
// LogicalDriveSpec.

namespace {

std::string id(STORID_T v) { return v == STORID_UNDEFINED ? "-" : std::to_string(v); }

// level,stripe,'name',read,write,init,priority then the chunks as
// logical:channel:device:start:count:group:type.
std::string describe(const LogicalDriveSpec& s)
{
    std::string t = std::to_string(s.raidLevel) + "," + std::to_string(s.stripeSize) + ",'" + s.getName() + "'," +
                    std::to_string(s.readCacheSetting) + "," + std::to_string(s.writeCacheSetting) + "," +
                    std::to_string(s.initMethod) + "," + std::to_string(s.taskPriority);
    for (const ChunkSpec& c : s.chunks)
        t += " " + id(c.getLogicalDriveID()) + ":" + id(c.getChannelID()) + ":" + id(c.getDeviceID()) + ":" +
             std::to_string(c.getStartBlock()) + ":" + std::to_string(c.getNumBlocks()) + ":" +
             std::to_string(c.getGroupNum()) + ":" + std::to_string(c.getChunkType());
    return t;
}

std::string read(std::string xml)
{
    LogicalDriveSpec spec;
    std::vector<char> text(xml.begin(), xml.end()); // no terminator: reads stay inside
    GetLogicalDriveSpecFromXml(spec, text.empty() ? nullptr : text.data(), text.size());
    return describe(spec);
}

const std::string DEFAULTS = "2147483647,1,'',2,2,0,2";

TEST(LogicalDriveSpecXml, ReadsParametersAndChunks)
{
    const std::string name40(40, 'n');
    const struct {
        std::string xml, expected;
    } cases[] = {
        {"", DEFAULTS},
        {"<LogicalDrive/>", DEFAULTS},
        {"<param raidLevel='0x5' stripeSize=\"7\" readCache='4' writeCache='1' initMethod='2' taskPriority='0' "
         "logicalName='data'/>",
         "5,7,'data',4,1,2,0"},
        {"<param logicalName='" + name40 + "'/>", "2147483647,1,'" + name40.substr(0, 31) + "',2,2,0,2"},
        {"<param raidLevel='-1' logicalName/>", "-1,1,'',2,2,0,2"},
        // The chunk being filled is never reset: the second inherits channel,
        // start and count.
        {"<d><ChunkSpec channelID='1' deviceID='2' startBlock='0' numBlocks='1000' chunkType='0'/>"
         "<ChunkSpec deviceID='3' chunkType='0'/></d>",
         DEFAULTS + " -:1:2:0:1000:0:0 -:1:3:0:1000:0:0"},
        {"<ChunkSpec channelID='1' deviceID='2'/>", DEFAULTS},
        // Attributes after chunkType change the next chunk only.
        {"<ChunkSpec deviceID='4' chunkType='1' groupNum='6'/><ChunkSpec chunkType='0'/>",
         DEFAULTS + " -:-:4:0:0:0:1 -:-:4:0:0:6:0"},
        {"<ChunkSpec startBlock='0xFFFFFFFF' numBlocks='4294967295' groupNum='2' chunkType='3'/>",
         DEFAULTS + " -:-:-:4294967295:4294967295:2:3"},
        {"<ChunkSpec channelID='1' deviceID='2' logicalDriveID='9' chunkType='0'/>", DEFAULTS + " 9:-:-:0:0:0:0"},
        // Names are compared exactly, and only on their own element.
        {"<param channelID='1' RaidLevel='3'/><ChunkSpec raidLevel='5' chunktype='0'/><Param raidLevel='6'/>",
         DEFAULTS},
        {"<param raidLevel='10'><ChunkSpec deviceID='5' chunkType='0'/></param>",
         "10,1,'',2,2,0,2 -:-:5:0:0:0:0"},
        {"<a><b><param stripeSize='9'/></b></a>", "2147483647,9,'',2,2,0,2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, read(c.xml)) << c.xml;
}

TEST(LogicalDriveSpecXml, ParsesExactlyTheGivenLength)
{
    std::string xml = "<param raidLevel='1'/><param stripeSize='8'/>";
    LogicalDriveSpec spec;
    GetLogicalDriveSpecFromXml(spec, &xml[0], xml.find("<param stripe"));
    EXPECT_EQ("1,1,'',2,2,0,2", describe(spec));
}

TEST(LogicalDriveSpecXml, MalformedDocumentThrowsAndKeepsWhatWasRead)
{
    std::string xml = "<param raidLevel='1'/><ChunkSpec deviceID='2' chunkType='0'/><param stripeSize=8/>";
    LogicalDriveSpec spec;
    EXPECT_THROW(GetLogicalDriveSpecFromXml(spec, &xml[0], xml.size()), SimpleXmlException);
    EXPECT_EQ("1,1,'',2,2,0,2 -:-:2:0:0:0:0", describe(spec));
}

} // namespace
