// HEX records as they arrive on the line, the loader assembling the image
// from them, and the reset command found in any byte stream.
#include "HexRecord.h"
#include "ModuleLoader.h"
#include "ResetDetector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using velsim::CLoader;
using velsim::HexRecord;

struct RecordCase {
    const char *name;
    const char *text;
    bool wellFormed;
    int type;
    int address;
    std::vector<uint8_t> data;
    friend void PrintTo(const RecordCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class Records : public testing::TestWithParam<RecordCase> { };

TEST_P(Records, ParseByContentAndChecksum)
{
    HexRecord record;
    ASSERT_EQ(velsim::ParseHexRecord(GetParam().text, record), GetParam().wellFormed);
    if (!GetParam().wellFormed)
        return;
    EXPECT_EQ(record.type, GetParam().type);
    EXPECT_EQ(record.address, GetParam().address);
    EXPECT_EQ(record.data, GetParam().data);
}

const RecordCase kRecords[] = {
    {"Data", ":0300100001020AE0", true, 0, 0x10, {0x01, 0x02, 0x0A}},
    {"LowerCaseDigits", ":0300100001020ae0", true, 0, 0x10, {0x01, 0x02, 0x0A}},
    {"EndOfFile", ":00000001FF", true, 1, 0, {}},
    {"LinearAddress", ":020000040001F9", true, 4, 0, {0x00, 0x01}},
    {"WrongChecksum", ":0300100001020AE1", false, 0, 0, {}},
    {"LengthFieldTooLarge", ":0400100001020AE0", false, 0, 0, {}},
    {"OddNumberOfDigits", ":0300100001020AE", false, 0, 0, {}},
    {"NoColon", "0300100001020AE0", false, 0, 0, {}},
    {"UnknownType", ":0000000AF6", false, 0, 0, {}},
    {"AddressRecordOfOneByte", ":0100000400FB", false, 0, 0, {}},
    {"Empty", "", false, 0, 0, {}},
};
INSTANTIATE_TEST_SUITE_P(Texts, Records, testing::ValuesIn(kRecords),
                         [](const auto &info) { return std::string(info.param.name); });

std::vector<CLoader::Event> Feed(CLoader &loader, const std::string &bytes)
{
    std::vector<CLoader::Event> events;
    for (const char c : bytes) {
        const CLoader::Event event = loader.Take(static_cast<uint8_t>(c));
        if (event != CLoader::Event::kNone)
            events.push_back(event);
    }
    return events;
}

using Events = std::vector<CLoader::Event>;
constexpr CLoader::Event kAck = CLoader::Event::kAcknowledge;
constexpr CLoader::Event kReject = CLoader::Event::kReject;
constexpr CLoader::Event kComplete = CLoader::Event::kComplete;
constexpr CLoader::Event kRefuse = CLoader::Event::kRefuse;

TEST(Loader, RecognisesRecordsWithoutLineEndsAmongNoise)
{
    CLoader loader(64);
    const Events events = Feed(loader, "noise\r\n:0300000001020AF0:03000300030405EE\r\n\r\n:00000001FF");
    EXPECT_EQ(events, (Events{kAck, kAck, kComplete}));
    EXPECT_EQ(loader.ImageError(), "");
    EXPECT_EQ(loader.Image(), (std::vector<uint8_t>{1, 2, 10, 3, 4, 5}));
}

TEST(Loader, RejectsABrokenRecordAndTakesTheNext)
{
    CLoader loader(64);
    const Events events = Feed(loader, ":03000000010G0AF0:0300000001020AF0:0300:00000001FF");
    EXPECT_EQ(events, (Events{kReject, kAck, kReject, kComplete}));
    EXPECT_EQ(loader.Image(), (std::vector<uint8_t>{1, 2, 10}));
}

TEST(Loader, RecordsMayComeInAnyOrder)
{
    CLoader loader(64);
    Feed(loader, ":03000300030405EE:0300000001020AF0:00000001FF");
    EXPECT_EQ(loader.Image(), (std::vector<uint8_t>{1, 2, 10, 3, 4, 5}));
}

struct ImageErrorCase {
    const char *name;
    const char *records;
    const char *error;
    friend void PrintTo(const ImageErrorCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class LoaderImages : public testing::TestWithParam<ImageErrorCase> { };

TEST_P(LoaderImages, SayWhyTheyCannotBeImages)
{
    CLoader loader(16);
    ASSERT_EQ(Feed(loader, GetParam().records).back(), kComplete);
    EXPECT_EQ(loader.ImageError(), GetParam().error);
    EXPECT_TRUE(loader.Image().empty());
}

const ImageErrorCase kImageErrors[] = {
    {"Nothing", ":00000001FF", "no data"},
    {"Gap", ":0100000001FE:0100020000FD:00000001FF", "no data for address $0001"},
};
INSTANTIATE_TEST_SUITE_P(Errors, LoaderImages, testing::ValuesIn(kImageErrors),
                         [](const auto &info) { return std::string(info.param.name); });

// A download that does not fit is refused at its first record beyond the
// memory, not at its end: nothing after it is acknowledged, and the next
// download after its end record is taken afresh.
struct RefusedCase {
    const char *name;
    const char *records;
    Events events;
    friend void PrintTo(const RefusedCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class RefusedDownloads : public testing::TestWithParam<RefusedCase> { };

TEST_P(RefusedDownloads, StopAtTheFirstRecordBeyondTheMemory)
{
    CLoader loader(16);
    EXPECT_EQ(Feed(loader, GetParam().records), GetParam().events);
    EXPECT_EQ(loader.ImageError(), "too large (max. 16 bytes)");
}

const RefusedCase kRefused[] = {
    {"PastTheCapacity", ":0100000001FE:0100100001EE:0100010002FC", Events{kAck, kRefuse, kReject}},
    {"StraddlingTheEnd", ":02000F000102EC:0100000001FE", Events{kRefuse, kReject}},
    {"LinearAddressPastTheCapacity", ":020000040001F9:0100000001FE:0100010002FC", Events{kAck, kRefuse, kReject}},
};
INSTANTIATE_TEST_SUITE_P(Records, RefusedDownloads, testing::ValuesIn(kRefused),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Loader, TheEndOfARefusedDownloadMakesRoomForTheNext)
{
    CLoader loader(16);
    EXPECT_EQ(Feed(loader, ":0100100001EE:00000001FF:0100000007F8:00000001FF"),
              (Events{kRefuse, kReject, kAck, kComplete}));
    EXPECT_EQ(loader.ImageError(), "");
    EXPECT_EQ(loader.Image(), (std::vector<uint8_t>{7}));
}

TEST(Loader, StartForgetsAnEarlierDownload)
{
    CLoader loader(16);
    Feed(loader, ":0100050001F9:0300");
    loader.Start();
    Feed(loader, ":0100000001FE:00000001FF");
    EXPECT_EQ(loader.ImageError(), "");
    EXPECT_EQ(loader.Image(), (std::vector<uint8_t>{1}));
}

struct ResetCase {
    const char *name;
    std::string bytes;
    int resets;
    friend void PrintTo(const ResetCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class ResetCommand : public testing::TestWithParam<ResetCase> { };

TEST_P(ResetCommand, IsFoundInAnyStream)
{
    velsim::CResetDetector detector;
    int resets = 0;
    for (const char c : GetParam().bytes)
        resets += detector.Take(static_cast<uint8_t>(c)) ? 1 : 0;
    EXPECT_EQ(resets, GetParam().resets);
}

const ResetCase kResets[] = {
    {"Alone", "\x01\x30\x81\x1B", 1},
    {"AfterText", "abc\x01\x30\x81\x1B", 1},
    {"AfterARepeatedFirstByte", "\x01\x01\x30\x81\x1B", 1},
    {"AfterABrokenStart", std::string("\x01\x30\x01\x30\x81\x1B", 6), 1},
    {"Twice", "\x01\x30\x81\x1B\x01\x30\x81\x1B", 2},
    {"WrongLastByte", "\x01\x30\x81\x1C", 0},
    {"Interrupted", "\x01\x30x\x81\x1B", 0},
};
INSTANTIATE_TEST_SUITE_P(Streams, ResetCommand, testing::ValuesIn(kResets),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
