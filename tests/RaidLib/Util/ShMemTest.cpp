#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "RaidLib/Util/IpcTestSupport.h"
#include "RaidLib/Util/ShMem.h"
#include "support/TestUtil.h"

using namespace ipctest;
using testsupport::fileExists;
using testsupport::readFile;

namespace {

GenericRecord makeRecord(int n)
{
    GenericRecord r;
    memset(&r, 0, sizeof r);
    r.size = n;
    r.type = static_cast<int16_t>(-n);
    r.data[0] = static_cast<uint8_t>(n);
    r.data[511] = 0xA5;
    return r;
}

bool allZero(const GenericRecord& r)
{
    static const GenericRecord zero = {};
    return memcmp(&r, &zero, sizeof r) == 0;
}

void writeRecords(const std::string& path, int first, int count, size_t extraBytes = 0)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    for (int i = 0; i < count; ++i) {
        GenericRecord r = makeRecord(first + i);
        fwrite(&r, sizeof r, 1, f);
    }
    for (size_t i = 0; i < extraBytes; ++i)
        fputc('x', f);
    fclose(f);
}

// A queue of the test's own under "/var/lock", removed with its marker file
// and semaphore set afterwards.
class ShMemQueue : public ::testing::Test {
protected:
    ~ShMemQueue() override { unlink(path.c_str()); }

    std::string qualifier = uniqueQualifier();
    std::string path = "/var/lock/StorShMem-0" + qualifier;
    MarkerCleanup marker{markerPath(UNKNOWN_ADAPTER, qualifier.c_str())};
};

} // namespace

TEST_F(ShMemQueue, HundredAddsKeepTheNewestNinetyNine)
{
    ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
    EXPECT_TRUE(fileExists(marker.path()));
    EXPECT_FALSE(fileExists(path)); // nothing until the first add
    for (int i = 1; i <= 100; ++i) {
        GenericRecord r = makeRecord(i);
        queue.addRecord(&r);
    }

    std::string image = readFile(path);
    ASSERT_EQ(image.size(), 51480u);
    int32_t size;
    int16_t type;
    memcpy(&size, image.data(), 4);
    memcpy(&type, image.data() + 4, 2);
    EXPECT_EQ(size, 2);
    EXPECT_EQ(type, -2);
    EXPECT_EQ(static_cast<uint8_t>(image[6]), 2);
    EXPECT_EQ(static_cast<uint8_t>(image[517]), 0xA5);

    EXPECT_EQ(queue.getRecordCount(), 99);
    GenericRecord r;
    queue.getFirstRecord(&r);
    EXPECT_EQ(r.size, 2);
    queue.getLastRecord(&r);
    EXPECT_EQ(r.size, 100);
    queue.getRecord(&r, 49);
    EXPECT_EQ(r.size, 51);
}

TEST_F(ShMemQueue, ReadsWholeRecordsAndKeepsTheNewest)
{
    struct Case {
        int records;
        size_t extraBytes;
        int count;
        int firstSize;
        int lastSize;
    } cases[] = {{1, 80, 1, 1, 1}, {150, 0, 99, 52, 150}, {3, 519, 3, 1, 3}};
    for (const Case& c : cases) {
        writeRecords(path, 1, c.records, c.extraBytes);
        ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
        EXPECT_EQ(queue.getRecordCount(), c.count) << c.records << " records";
        GenericRecord r;
        queue.getFirstRecord(&r);
        EXPECT_EQ(r.size, c.firstSize);
        queue.getLastRecord(&r);
        EXPECT_EQ(r.size, c.lastSize);
    }
}

TEST_F(ShMemQueue, MissingRecordsReadAsZero)
{
    ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
    // A missing file keeps the count in memory and creates nothing.
    EXPECT_EQ(queue.getRecordCount(), 0);
    EXPECT_FALSE(fileExists(path));

    GenericRecord r;
    memset(&r, 0xFF, sizeof r);
    queue.getFirstRecord(&r);
    EXPECT_TRUE(allZero(r));
    memset(&r, 0xFF, sizeof r);
    queue.getLastRecord(&r);
    EXPECT_TRUE(allZero(r));

    GenericRecord one = makeRecord(7);
    queue.addRecord(&one);
    for (int index : {-1, 1, 1000}) {
        memset(&r, 0xFF, sizeof r);
        queue.getRecord(&r, index);
        EXPECT_TRUE(allZero(r)) << index;
    }
    queue.getRecord(&r, 0);
    EXPECT_EQ(r.size, 7);

    // With the file gone, the copy in memory stays.
    unlink(path.c_str());
    EXPECT_EQ(queue.getRecordCount(), 1);
}

TEST_F(ShMemQueue, RecordsOfOtherProcessesAppearAfterRereading)
{
    ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
    EXPECT_EQ(queue.getRecordCount(), 0);
    ASSERT_EQ(runForked([&] {
                  ShMem other(UNKNOWN_ADAPTER, qualifier.c_str());
                  GenericRecord r = makeRecord(5);
                  other.addRecord(&r);
                  return 0;
              }),
              0);
    GenericRecord r;
    queue.getRecord(&r, 0);
    EXPECT_TRUE(allZero(r)); // not read yet
    EXPECT_EQ(queue.getRecordCount(), 1);
    queue.getRecord(&r, 0);
    EXPECT_EQ(r.size, 5);
}

TEST_F(ShMemQueue, ConcurrentAddsLoseNothing)
{
    const int perProcess = 45;
    std::vector<pid_t> children;
    for (int p = 0; p < 2; ++p) {
        children.push_back(startForked([&, p] {
            ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
            for (int i = 0; i < perProcess; ++i) {
                GenericRecord r = makeRecord(p * 1000 + i);
                queue.addRecord(&r);
            }
            return 0;
        }));
    }
    for (pid_t child : children)
        EXPECT_EQ(waitForChild(child), 0);

    ShMem queue(UNKNOWN_ADAPTER, qualifier.c_str());
    EXPECT_EQ(queue.getRecordCount(), 2 * perProcess);
}

TEST(ShMemPath, QueueAtAGivenPath)
{
    // The path form locks with the PELM locker ("/StorLock512"): a namespace of
    // its own keeps the test off any real set of that name.
    FixedMarkerLock markerLock;
    const std::string pelmMarker = markerPath(PELM, nullptr);
    bool markerExisted = fileExists(pelmMarker);
    int result = runInFreshIpcNamespace([] {
        ShMem queue("queue.bin");
        GenericRecord r = makeRecord(1);
        queue.addRecord(&r);
        queue.addRecord(&r);
        ShMem tooLong(std::string(ShMem::PATH_SIZE, 'q').c_str());
        tooLong.addRecord(&r);
        return queue.getRecordCount() == 2 && tooLong.getRecordCount() == 1 ? 0 : 1;
    });
    if (!markerExisted)
        unlink(pelmMarker.c_str());
    if (result == NO_NAMESPACE)
        GTEST_SKIP() << "no IPC namespace of its own for the test (unshare needs privileges here)";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile("queue.bin").size(), 1040u);
}
