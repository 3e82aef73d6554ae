// The program image's emit operations, the HEX writer and the listing.
#include "Code.h"
#include "HexFile.h"
#include "LanguageNames.h"
#include "OutputFile.h"

#include "TestNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Text(const CCode &code)
{
    return std::string(code.Bytes().begin(), code.Bytes().end());
}

std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct EmitCase {
    void (*emit)(CCode &);
    const char *written;
};

const EmitCase kEmits[] = {
    {[](CCode &c) { c.EmitNumber(32767); }, "32767"},
    {[](CCode &c) { c.EmitNumber(32768); }, "$8000"},
    {[](CCode &c) { c.EmitNumber(-5); }, "-5"},
    {[](CCode &c) { c.EmitNumber(0x7FFFFFFF); }, "$7FFFFFFF"},
    {[](CCode &c) { c.EmitFloat(2.5); }, "2.5"},
    {[](CCode &c) { c.EmitFloat(2.0); }, "2."},
    {[](CCode &c) { c.EmitFloat(3.14159265); }, "3.1415927"},
    {[](CCode &c) { c.EmitFloat(3.10); }, "3.1"},
    {[](CCode &c) { c.EmitFloat(0.0); }, "0."},
    {[](CCode &c) { c.EmitVarName(0); }, "a"},
    {[](CCode &c) { c.EmitVarName(25); }, "z"},
    {[](CCode &c) { c.EmitVarName(26); }, "aa"},
    {[](CCode &c) { c.EmitVarName(51); }, "az"},
    {[](CCode &c) { c.EmitVarName(52); }, "ba"},
    {[](CCode &c) { c.EmitToken(0xCB, 3); },
     "\xCB"
     "3"},
    {[](CCode &c) { c.EmitToken(0x88); }, "\x88"},
    // Windows-1252 e-acute and pound sign become their code page 850 bytes.
    {[](CCode &c) { c.EmitString("caf\xE9 \xA3"); }, "\"caf\x82 \x9C\""},
    {[](CCode &c) { c.EmitString("\x80"); }, "\"?\""}, // the euro sign has no OEM byte
};

class EmitTable : public testing::TestWithParam<EmitCase> { };

TEST_P(EmitTable, WritesText)
{
    CCode code;
    GetParam().emit(code);
    EXPECT_EQ(Text(code), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Emit, EmitTable, testing::ValuesIn(kEmits), [](const testing::TestParamInfo<EmitCase> &info) {
    return StableTestName(info.param.written, info.index);
});

TEST(Image, EndLineReportsLengthBeyondTheLengthByte)
{
    CCode code;
    code.BeginLine(0);
    code.EmitText(std::string(253, 'x'));
    EXPECT_EQ(code.EndLine(), 255);
    code.BeginLine(1);
    code.EmitText(std::string(254, 'x'));
    EXPECT_EQ(code.EndLine(), 256);
}

TEST(Image, LineRecordsAndEndRecord)
{
    CCode code;
    code.BeginLine(299);
    code.EmitToken(0x88);
    code.EndLine();
    code.EmitEnd(300);
    const std::vector<uint8_t> want = {0x01, 0x2C, 0x03, 0x88, 0x0A, 0x01, 0x2D, 0x02, 0x03};
    EXPECT_EQ(code.Bytes(), want);
}

// The records of the four-line worked example: BYTE i / FOR i = 1 TO 10 /
// PRINT "Hi", i / NEXT, built through the emit operations.
CCode WorkedExample()
{
    CCode code;
    code.BeginLine(0);
    code.EmitToken(0xC2);
    code.EmitVarName(0);
    code.EndLine();
    code.BeginLine(1);
    code.EmitToken(0x85);
    code.EmitVarName(0);
    code.EmitByte('=');
    code.EmitNumber(1);
    code.EmitToken(0x86);
    code.EmitNumber(10);
    code.EndLine();
    code.BeginLine(2);
    code.EmitToken(0xAA);
    code.EmitString("Hi");
    code.EmitByte(',');
    code.EmitVarName(0);
    code.EndLine();
    code.BeginLine(3);
    code.EmitToken(0x88);
    code.EndLine();
    code.EmitEnd(4);
    return code;
}

TEST(Image, WorkedExampleBytes)
{
    const std::vector<uint8_t> want = {0x00, 0x01, 0x04, 0xC2, 0x61, 0x0A, 0x00, 0x02, 0x09, 0x85, 0x61, 0x3D, 0x31,
                                       0x86, 0x31, 0x30, 0x0A, 0x00, 0x03, 0x09, 0xAA, 0x22, 0x48, 0x69, 0x22, 0x2C,
                                       0x61, 0x0A, 0x00, 0x04, 0x03, 0x88, 0x0A, 0x00, 0x05, 0x02, 0x03};
    EXPECT_EQ(WorkedExample().Bytes(), want);
}

TEST(Listing, ShowsTokensOffsetsAndSize)
{
    EXPECT_EQ(WorkedExample().ListingText(),
              "Listfile produced by Velmo-Compiler V2.4\n\n"
              "Line  Addr  Code\n"
              "----------------\n"
              "   1  0000  BYTE a\n"
              "   2  0006  FOR a=1 TO 10\n"
              "   3  0011  PRINT \"Hi\",a\n"
              "   4  001C  NEXT\n"
              "\nCode size: 37 bytes.\n");
}

TEST(Listing, BytesAbove0x7FInsideStringsAreCharacters)
{
    CCode code;
    code.BeginLine(6);
    code.EmitToken(0xAA);
    code.EmitString("\xE9\x80"); // e-acute, euro (no OEM byte: "?")
    code.EmitToken(0xF8);
    code.EndLine();
    code.EmitEnd(7);
    const std::string listing = code.ListingText();
    EXPECT_NE(listing.find("   7  0000  PRINT \"\xE9?\"CR\n"), std::string::npos) << listing;
}

TEST(Listing, RecordOffsetIsFourHexDigits)
{
    CCode code;
    for (int i = 0; i < 0x1A4 / 5; ++i) { // 84 records of 5 bytes
        code.BeginLine(i);
        code.EmitByte('x');
        code.EndLine();
    }
    code.BeginLine(6);
    code.EmitByte('y');
    code.EndLine();
    code.EmitEnd(7);
    EXPECT_NE(code.ListingText().find("\n   7  01A4  y\n"), std::string::npos);
}

class HexFileTest : public testing::Test {
protected:
    fs::path dir = fs::temp_directory_path() / ("velc-hex-" + std::to_string(::getpid()));
    void SetUp() override
    {
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        fs::remove_all(dir);
    }

    std::string HexOf(int size)
    {
        CCode code;
        for (int i = 0; i < size; ++i)
            code.EmitByte(i);
        EXPECT_TRUE(code.WriteHexFile((dir / "t.hex").string()));
        return ReadFile(dir / "t.hex");
    }
};

TEST_F(HexFileTest, EmptyProgramImage)
{
    CCode code;
    code.EmitEnd(0);
    ASSERT_TRUE(code.WriteHexFile((dir / "t.hex").string()));
    EXPECT_EQ(ReadFile(dir / "t.hex"), ":0400000000010203F6\r\n:00000001FF\r\n");
}

TEST_F(HexFileTest, NoBytesGivesOnlyTheEndOfFileRecord)
{
    EXPECT_EQ(HexOf(0), ":00000001FF\r\n");
}

TEST_F(HexFileTest, FullRecordsOnly)
{
    EXPECT_EQ(HexOf(32),
              ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
              ":10001000101112131415161718191A1B1C1D1E1F68\r\n"
              ":00000001FF\r\n");
}

TEST_F(HexFileTest, ShortLastRecord)
{
    const std::string hex = HexOf(33);
    EXPECT_NE(hex.find("\r\n:0100200020BF\r\n:00000001FF\r\n"), std::string::npos) << hex;
}

TEST_F(HexFileTest, WriteIntoMissingDirectoryFailsAndLeavesNothing)
{
    CCode code;
    code.EmitEnd(0);
    EXPECT_FALSE(code.WriteHexFile((dir / "missing" / "t.hex").string()));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST_F(HexFileTest, ReplacesOlderFileAndLeavesNoTemporaryFile)
{
    std::ofstream(dir / "t.hex") << "old contents that are much longer than the new ones\n";
    CCode code;
    code.EmitEnd(0);
    ASSERT_TRUE(code.WriteHexFile((dir / "t.hex").string()));
    EXPECT_EQ(ReadFile(dir / "t.hex"), ":0400000000010203F6\r\n:00000001FF\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(IntelHex, ChecksumMakesRecordSumToZero)
{
    CIntelHexFile hex;
    const uint8_t bytes[] = {0xFF, 0xFF, 0xFF};
    hex.WriteDataRecord(0xFFF0, bytes, 3);
    EXPECT_EQ(hex.Text(), ":03FFF000FFFFFF11\n");
}

TEST(ListingFile, WrittenAsUtf8WithCrLf)
{
    const fs::path path = fs::temp_directory_path() / ("velc-lst-" + std::to_string(::getpid()) + ".lst");
    CCode code;
    code.BeginLine(0);
    code.EmitString("\xFC"); // u-umlaut
    code.EndLine();
    code.EmitEnd(1);
    ASSERT_TRUE(code.WriteListing(path.string()));
    const std::string text = ReadFile(path);
    fs::remove(path);
    EXPECT_NE(text.find("   1  0000  \"\xC3\xBC\"\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n\n"), std::string::npos) << "every line ends in CR LF";
}

} // namespace

namespace {

// The file writers render in one pass straight into the file's bytes; they
// must give exactly what the record writer and ListingText() give, turned
// into UTF-8 with CR LF: images of every size around a record's 16 bytes,
// token bytes, strings holding any byte, and a record cut short at the end.
CCode RandomImage(unsigned seed, int records, bool cutShort)
{
    CCode code;
    unsigned state = seed;
    auto next = [&state] { return state = state * 1103515245u + 12345u, (state >> 16) & 0xFF; };
    for (int r = 0; r < records; ++r) {
        code.BeginLine(static_cast<int>(next() * 37 + r * 1000));
        for (unsigned n = next() % 24; n > 0; --n) {
            const unsigned b = next();
            if (b % 5 == 0) {
                code.EmitByte('"');
                for (unsigned k = next() % 6; k > 0; --k)
                    code.EmitByte(static_cast<int>(next() | 0x80)); // any character of the OEM page
                code.EmitByte('"');
            } else {
                code.EmitByte(b == 0x0A || b == 0x03 ? ' ' : static_cast<int>(b));
            }
        }
        code.EndLine();
    }
    if (cutShort) {
        code.BeginLine(records);
        code.EmitText("PRINT");
    } else {
        code.EmitEnd(records);
    }
    return code;
}

TEST(OutputFiles, OnePassRenderingMatchesTheRecordWriterAndTheListingText)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const CCode code = RandomImage(seed, static_cast<int>(seed % 9), seed % 4 == 0);
        CIntelHexFile hex;
        for (int address = 0; address < code.Size(); address += 16)
            hex.WriteDataRecord(address, code.Bytes().data() + address, std::min(16, code.Size() - address));
        hex.WriteEndRecord();
        EXPECT_EQ(code.HexFileText(), WithCrLf(hex.Text())) << "seed " << seed;
        EXPECT_EQ(code.ListingFileText(), WithCrLf(AnsiToUtf8(code.ListingText()))) << "seed " << seed;
    }
    CCode longRecord; // more body than a length byte can count: listed in full all the same
    longRecord.BeginLine(0);
    for (int i = 0; i < 3000; ++i)
        longRecord.EmitByte(i % 3 ? 0xAA : '"');
    longRecord.EndLine();
    longRecord.EmitEnd(1);
    EXPECT_EQ(longRecord.ListingFileText(), WithCrLf(AnsiToUtf8(longRecord.ListingText())));
}

} // namespace
