// The download handshake against velsim on a pseudo-terminal, byte for byte:
// "OK" after the reset command, "." for every record but the end-of-file
// record, nothing for a bad record, one reply line for a bad image, and the
// reset reaching the loader whatever the program does.
#include "VelsimProcess.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

using simtest::Peer;
using simtest::VelsimProcess;

const std::string kReset = "\x01\x30\x81\x1B";

std::string Record(int type, int address, const std::vector<uint8_t> &data)
{
    char text[16];
    std::snprintf(text, sizeof text, ":%02X%04X%02X", static_cast<unsigned>(data.size()), address, type);
    std::string record = text;
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    for (uint8_t b : data) {
        std::snprintf(text, sizeof text, "%02X", b);
        record += text;
        sum += b;
    }
    std::snprintf(text, sizeof text, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return record + text;
}

// The records of an image, 16 bytes each, and the end-of-file record.
std::vector<std::string> Records(const std::vector<uint8_t> &image)
{
    std::vector<std::string> records;
    for (size_t at = 0; at < image.size(); at += 16) {
        const size_t end = std::min(image.size(), at + 16);
        records.push_back(
            Record(0, static_cast<int>(at), std::vector<uint8_t>(image.begin() + at, image.begin() + end)));
    }
    records.push_back(":00000001FF");
    return records;
}

// Sends every record, checking the "." after each but the last.
void Download(Peer &peer, const std::vector<std::string> &records)
{
    for (size_t i = 0; i < records.size(); ++i) {
        peer.Send(records[i]);
        if (i + 1 < records.size()) {
            ASSERT_EQ(peer.Receive(1), ".") << "record " << i;
        }
    }
}

void Reset(Peer &peer)
{
    peer.Send(kReset);
    ASSERT_EQ(peer.Receive(2), "OK");
}

class LoaderProtocol : public testing::Test {
protected:
    LoaderProtocol()
        : m_velsim({"--pty"})
        , m_path(m_velsim.ReadLine())
        , m_peer(m_path)
    {
    }

    std::vector<std::string> Compiled(const std::string &source)
    {
        return Records(simtest::CompileImage(m_dir, source));
    }

    static constexpr char kHello[] = "BYTE i\nFOR i = 1 TO 3\nPRINT \"Hello \", i\nNEXT";
    static constexpr char kHelloOutput[] = "Hello 1\r\nHello 2\r\nHello 3\r\n";

    simtest::ScratchDir m_dir;
    VelsimProcess m_velsim;
    std::string m_path;
    Peer m_peer;
};

TEST_F(LoaderProtocol, PrintsTheDevicePath)
{
    EXPECT_EQ(m_path.rfind("/dev/pts/", 0), 0u) << m_path;
    EXPECT_TRUE(m_peer.IsOpen());
}

TEST_F(LoaderProtocol, ResetIsAnsweredWithOkThenEachRecordWithAPoint)
{
    const std::vector<std::string> records = Compiled(kHello);
    Reset(m_peer);
    Download(m_peer, records);
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), kHelloOutput);
}

TEST_F(LoaderProtocol, AFreshModuleWaitsInItsLoader)
{
    Download(m_peer, Compiled(kHello));
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), kHelloOutput);
}

TEST_F(LoaderProtocol, RecordsArriveInAnyPieces)
{
    const std::vector<std::string> records = Compiled(kHello);
    Reset(m_peer);
    const std::string &first = records[0];
    m_peer.Send(first.substr(0, 7));
    m_peer.Send(first.substr(7));
    ASSERT_EQ(m_peer.Receive(1), ".");
    std::string rest;
    for (size_t i = 1; i < records.size(); ++i)
        rest += records[i] + "\r\n";
    m_peer.Send(rest);
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), std::string(records.size() - 2, '.') + kHelloOutput);
}

// A bad record gets no ".": the next reply after it is the reset's "OK".
struct BadRecordCase {
    const char *name;
    const char *record;
    friend void PrintTo(const BadRecordCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class BadRecords : public LoaderProtocol, public testing::WithParamInterface<BadRecordCase> { };

TEST_P(BadRecords, GetNoAcknowledgement)
{
    Reset(m_peer);
    m_peer.Send(GetParam().record);
    m_peer.Send(kReset);
    EXPECT_EQ(m_peer.Receive(2), "OK");
}

const BadRecordCase kBadRecords[] = {
    {"WrongChecksum", ":0300000001020300"},          {"NotAHexDigit", ":03000000010G03F9"},
    {"CutShortByTheNextRecord", ":030000000102:"},   {"UnknownType", ":0000000AF6"},
    {"AddressRecordOfWrongLength", ":0100000400FB"},
};
INSTANTIATE_TEST_SUITE_P(Records, BadRecords, testing::ValuesIn(kBadRecords), simtest::CaseName<BadRecordCase>);

// An image that cannot run gets one line; the loader then takes the next
// download.
struct BadImageCase {
    const char *name;
    std::vector<std::string> records;
    const char *reply;
    friend void PrintTo(const BadImageCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class BadImages : public LoaderProtocol, public testing::WithParamInterface<BadImageCase> { };

TEST_P(BadImages, GetOneReplyLine)
{
    Reset(m_peer);
    Download(m_peer, GetParam().records);
    EXPECT_EQ(m_peer.ReceiveUntil("\r\n"), GetParam().reply);
    Download(m_peer, Compiled(kHello));
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), kHelloOutput);
}

const BadImageCase kBadImages[] = {
    {"NoEndRecord", Records({0x00, 0x01, 0x03, 0x9A, 0x0A}),
     "Bad program image: no end record (image ends at $0005).\r\n"},
    {"UnknownByte", Records({0x00, 0x01, 0x03, 0xFF, 0x0A, 0x00, 0x02, 0x02, 0x03}),
     "Bad program image: line 1 cannot be decoded.\r\n"},
    {"NextWithoutFor", Records({0x00, 0x01, 0x03, 0x88, 0x0A, 0x00, 0x02, 0x02, 0x03}),
     "Bad program image: blocks do not nest in line 1.\r\n"},
    {"AGapInTheRecords",
     {Record(0, 0, std::vector<uint8_t>(16, 0)), Record(0, 0x20, {0x00}), ":00000001FF"},
     "Bad program image: no data for address $0010.\r\n"},
    {"NothingAtAll", {":00000001FF"}, "Bad program image: no data.\r\n"},
};
INSTANTIATE_TEST_SUITE_P(Images, BadImages, testing::ValuesIn(kBadImages), simtest::CaseName<BadImageCase>);

// A download too large for the memory is refused at its first record beyond
// it, with the reason at once instead of an acknowledgement; its end record
// gets no answer, and the next download is taken.
TEST_F(LoaderProtocol, ARecordBeyondTheMemoryIsRefusedAtOnce)
{
    Reset(m_peer);
    Download(m_peer, {Record(0, 0, {0x00}), Record(0, 0x4000, {0x00})});
    EXPECT_EQ(m_peer.ReceiveUntil("\r\n"), "Bad program image: too large (max. 16353 bytes).\r\n");
    m_peer.Send(Record(0, 1, {0x00}));
    m_peer.Send(":00000001FF");
    Download(m_peer, Compiled(kHello));
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), kHelloOutput);
}

// Whatever the program does, the reset command reaches the loader.
struct BusyCase {
    const char *name;
    const char *source;
    friend void PrintTo(const BusyCase &c, std::ostream *os)
    {
        *os << c.name;
    }
};

class ResetWhileBusy : public LoaderProtocol, public testing::WithParamInterface<BusyCase> { };

TEST_P(ResetWhileBusy, StopsTheProgramAndEntersTheLoader)
{
    Reset(m_peer);
    Download(m_peer, Compiled(GetParam().source));
    m_peer.Send(kReset);
    const std::string reply = m_peer.ReceiveUntil("OK");
    EXPECT_EQ(reply.substr(reply.size() - std::min<size_t>(2, reply.size())), "OK") << reply;
    Download(m_peer, Compiled(kHello));
    EXPECT_EQ(m_peer.ReceiveUntil("Hello 3\r\n"), kHelloOutput);
}

const BusyCase kBusy[] = {
    {"LoopingForever", "DO\nLOOP"},    {"WaitingForInput", "BYTE a\nINPUT a"},           {"Pausing", "PAUSE 100000"},
    {"WaitingOnACondition", "WAIT 0"}, {"FloodingTheLine", "DO\nPRINT \"flood\"\nLOOP"}, {"Ended", "END"},
};
INSTANTIATE_TEST_SUITE_P(Programs, ResetWhileBusy, testing::ValuesIn(kBusy), simtest::CaseName<BusyCase>);

TEST_F(LoaderProtocol, ResetArrivesAtTheUsersLineSettings)
{
    m_peer.SetLine(B115200, CS7, PARENB);
    m_peer.Send(kReset);
    m_peer.SetLine(B9600, CS8);
    EXPECT_EQ(m_peer.Receive(2), "OK");
}

TEST_F(LoaderProtocol, ProgramReadsWhatIsTyped)
{
    Reset(m_peer);
    Download(m_peer, Compiled("CHAR s[10]\nINPUT \"? \", s\nPRINT \"[\", s, \"]\""));
    EXPECT_EQ(m_peer.Receive(2), "? ");
    m_peer.Send("hi\r");
    EXPECT_EQ(m_peer.ReceiveUntil("]\r\n"), "hi\r\n[hi]\r\n");
}

TEST(PtyMode, OnceEndsWhenTheOtherSideCloses)
{
    VelsimProcess velsim({"--pty", "--once"});
    Peer peer(velsim.ReadLine());
    ASSERT_TRUE(peer.IsOpen());
    peer.Close();
    EXPECT_EQ(velsim.WaitExit(), 0);
}

TEST(PtyMode, StopSignalEndsCleanlyAndRemovesTheLink)
{
    simtest::ScratchDir dir;
    const std::string link = (dir / "module").string();
    VelsimProcess velsim({"--pty", "--link", link});
    const std::string device = velsim.ReadLine();
    char target[256] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(device, target);
    velsim.Signal(SIGTERM);
    EXPECT_EQ(velsim.WaitExit(), 0);
    EXPECT_FALSE(simtest::fs::exists(simtest::fs::symlink_status(link)));
}

TEST(PtyMode, LinkNeverReplacesAFile)
{
    simtest::ScratchDir dir;
    const simtest::fs::path file = dir / "notes.txt";
    simtest::WriteAll(file, "mine");
    VelsimProcess velsim({"--pty", "--link", file.string()});
    EXPECT_EQ(velsim.WaitExit(), 2);
    EXPECT_EQ(simtest::ReadAll(file), "mine");
}

} // namespace
