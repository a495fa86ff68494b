#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "RaidLib/Util/TfiReader.h"
#include "support/EnclosureTestFiles.h"

using namespace testsupport;

namespace {

TfiSpec threeImages()
{
    TfiSpec s;
    s.images = {{0x1010, 0, bytesOf(300, 1)}, {0x1011, 1, bytesOf(700, 2)}, {0x1011, 2, bytesOf(5, 3)}};
    return s;
}


} // namespace

TEST(TfiReader, AcceptsAValidFileAndFindsItsImages)
{
    TfiSpec spec = threeImages();
    writeBytes("fw.tfi", buildTfi(spec));
    TfiReader r("fw.tfi");
    ASSERT_TRUE(r.isChecksumValid());
    ASSERT_NE(nullptr, r.getImage());
    EXPECT_EQ(3u, r.getImageCount());
    EXPECT_EQ(0u, r.getImageIndex(0x1010));
    EXPECT_EQ(1u, r.getImageIndex(0x1011)) << "the first of two entries of a type";
    EXPECT_EQ(TfiReader::NO_IMAGE, r.getImageIndex(0x1012));
    EXPECT_EQ(700u, r.getImageLength(1));
    EXPECT_EQ(1u, r.getImageRule(1));
    EXPECT_EQ(0, std::memcmp(r.getImage(1), spec.images[1].data.data(), 700));
    EXPECT_EQ(0, std::memcmp(r.getImage(2), spec.images[2].data.data(), 5));
    EXPECT_EQ(nullptr, r.getImage(3)) << "not one of the directory's entries";
    EXPECT_EQ(0, std::strncmp(r.getVendorID(), "ACME", 4));
    EXPECT_EQ(0u, r.getImageLength(32));
}

TEST(TfiReader, ChecksOfSignatureLengthAndSum)
{
    struct Case {
        const char* what;
        void (*damage)(Bytes&);
        bool accepted;
    } const cases[] = {
        {"intact", [](Bytes&) {}, true},
        {"signature byte", [](Bytes& b) { b[8] = 'x'; }, false},
        {"signature terminator", [](Bytes& b) { b[26] = 'x'; }, false},
        {"one byte longer", [](Bytes& b) { b.push_back(0); }, false},
        {"one byte shorter", [](Bytes& b) { b.pop_back(); }, false},
        {"head only", [](Bytes& b) { b.resize(6000); }, false},
        {"data byte", [](Bytes& b) { b.back() ^= 1; }, false},
    };
    for (const Case& c : cases) {
        Bytes b = buildTfi(threeImages());
        c.damage(b);
        writeBytes("fw.tfi", b);
        TfiReader r("fw.tfi");
        EXPECT_EQ(c.accepted, r.isChecksumValid()) << c.what;
        EXPECT_EQ(c.accepted, r.getImage() != nullptr) << c.what;
        EXPECT_EQ(c.accepted, r.getImage(0) != nullptr) << c.what;
    }
    TfiSpec spec = threeImages();
    spec.signatureTail = "abcde";
    writeBytes("fw.tfi", buildTfi(spec));
    EXPECT_TRUE(TfiReader("fw.tfi").isChecksumValid()) << "the signature field's last 5 bytes are free";
    TfiReader missing("no-such-file.tfi");
    EXPECT_FALSE(missing.isChecksumValid());
}

TEST(TfiReader, AcceptsTheComplementOfTheSumInTheAntidote)
{
    TfiSpec spec = threeImages();
    spec.useAntidote = true;
    Bytes b = buildTfi(spec);
    writeBytes("fw.tfi", b);
    TfiReader r("fw.tfi");
    EXPECT_TRUE(r.isChecksumValid());
    EXPECT_EQ(0u, r.getHeaderChecksum());
    EXPECT_EQ(0xFFFF0000u, r.getHeaderAntidote() & 0xFFFF0000u);
    EXPECT_EQ(byteSum(b), static_cast<uint16_t>(~r.getHeaderAntidote()));
}

TEST(TfiReader, RefusesHostileLengthsBeforeUsingThem)
{
    typedef void (*Tweak)(tfi_file_header_t&, directory_t&);
    struct Case {
        const char* what;
        Tweak tweak;
    } const cases[] = {
        {"huge file length", [](tfi_file_header_t& h, directory_t&) { h.FH_FileLength = 0xFFFFFFFFu; }},
        {"file length below the head", [](tfi_file_header_t& h, directory_t&) { h.FH_FileLength = 100; }},
        {"33 directory entries", [](tfi_file_header_t&, directory_t& d) { d.header.DH_Entries = 33; }},
        {"image offset past the data",
         [](tfi_file_header_t&, directory_t& d) { d.entries[1].DE_Offset = 0xFFFFFF00u; }},
        {"image size past the data", [](tfi_file_header_t&, directory_t& d) { d.entries[2].DE_Size = 6; }},
        {"offset and size that wrap",
         [](tfi_file_header_t&, directory_t& d) {
             d.entries[0].DE_Offset = 16;
             d.entries[0].DE_Size = 0xFFFFFFF0u;
         }},
        {"too many chunks", [](tfi_file_header_t& h, directory_t&) { h.FH_TotalChunks = 1000; }},
        {"chunks that are not there", [](tfi_file_header_t& h, directory_t&) { h.FH_TotalChunks = 3; }},
    };
    for (const Case& c : cases) {
        TfiSpec spec = threeImages();
        spec.tweak = c.tweak;
        writeBytes("fw.tfi", buildTfi(spec));
        TfiReader r("fw.tfi");
        EXPECT_FALSE(r.isChecksumValid()) << c.what;
        EXPECT_EQ(nullptr, r.getImage(0)) << c.what;
    }
    // An entry past the directory's count is not checked and not used.
    TfiSpec spec = threeImages();
    spec.tweak = [](tfi_file_header_t&, directory_t& d) { d.entries[5].DE_Offset = 0xFFFFFF00u; };
    writeBytes("fw.tfi", buildTfi(spec));
    TfiReader r("fw.tfi");
    EXPECT_TRUE(r.isChecksumValid());
    EXPECT_EQ(nullptr, r.getImage(5));
}

TEST(TfiReader, EmptyDirectoryHasNoImage)
{
    TfiSpec spec;
    spec.trailer = bytesOf(4, 0);
    writeBytes("fw.tfi", buildTfi(spec));
    TfiReader r("fw.tfi");
    EXPECT_TRUE(r.isChecksumValid());
    EXPECT_EQ(0u, r.getImageCount());
    EXPECT_EQ(TfiReader::NO_IMAGE, r.getImageIndex(0x1010));
    EXPECT_EQ(nullptr, r.getImage(0));
}

TEST(TfiReader, ChunkNames)
{
    char out[64];
    const struct {
        const char* path;
        unsigned k;
        const char* name;
    } cases[] = {
        {"base01.ext", 1, "base01.ext"},  {"base01.ext", 9, "base09.ext"},
        {"base01.ext", 10, "base10.ext"}, {"base01.ext", 12, "base12.ext"},
        {"a.b01.ext", 2, "a.b02.ext"},    {"d.x/f01.bin", 11, "d.x/f11.bin"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TfiReader::chunkName(c.path, c.k, out, sizeof(out))) << c.path;
        EXPECT_STREQ(c.name, out);
    }
    EXPECT_FALSE(TfiReader::chunkName("nopoint", 1, out, sizeof(out)));
    EXPECT_FALSE(TfiReader::chunkName("1.ext", 10, out, sizeof(out))) << "no room for two digits";
    EXPECT_FALSE(TfiReader::chunkName("base01.ext", 100, out, sizeof(out)));
    EXPECT_FALSE(TfiReader::chunkName("base01.ext", 1, out, 5)) << "output too small";
}

TEST(TfiReader, AssemblesChunkFilesWithoutLookingAtTheirHeads)
{
    TfiSpec spec;
    spec.totalChunks = 12;
    spec.images = {{0x1012, 0, bytesOf(5000, 9)}, {0x1011, 0, bytesOf(2100, 4)}};
    Bytes whole = buildTfi(spec);
    writeTfiChunks(whole, 12, true);
    TfiReader r("base01.ext");
    ASSERT_TRUE(r.isChecksumValid());
    EXPECT_EQ(0, std::memcmp(r.getImage(), whole.data(), whole.size()));
    EXPECT_EQ(0, std::memcmp(r.getImage(1), spec.images[1].data.data(), 2100));

    // A chunk that grew or shrank changes the assembled length: refused.
    Bytes longer = testsupport::Bytes(whole);
    longer.push_back(0);
    writeTfiChunks(longer, 12, false);
    EXPECT_FALSE(TfiReader("base01.ext").isChecksumValid());
    std::remove("base07.ext");
    writeTfiChunks(whole, 6, false);
    EXPECT_FALSE(TfiReader("base01.ext").isChecksumValid()) << "chunks 7-12 missing";
}
