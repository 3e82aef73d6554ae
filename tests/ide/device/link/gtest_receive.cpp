// The receive dispatcher's state machine: text and samples split out of the
// byte stream, samples split across chunks, malformed samples, number
// conversion, every byte value, and the dispatcher on a real port.

#include "../../support/PtyPeer.h"
#include "Receive.h"
#include "Serial.h"

#include <gtest/gtest.h>

namespace {

// Events as text: T(...) for a text event with its bytes in hex, S<ch>=<value>
// for a sample.
struct TRecorder {
    QStringList events;

    void Attach(TMcuComRecv &recv)
    {
        recv.OnText = [this](TMcuComRecv *, const QByteArray &text) { events << "T(" + text.toHex(' ') + ")"; };
        recv.OnValue = [this](TMcuComRecv *, quint8 channel, float value) {
            events << QString("S%1=%2").arg(channel).arg(double(value));
        };
    }
};

struct TDispatchCase {
    const char *name;
    QList<QByteArray> chunks;
    QStringList events;
};

class DispatchTest : public ::testing::TestWithParam<TDispatchCase> { };

TEST_P(DispatchTest, SplitsTextAndSamples)
{
    TMcuComRecv recv;
    TRecorder recorder;
    recorder.Attach(recv);
    for (const QByteArray &chunk : GetParam().chunks)
        recv.Dispatch(chunk);
    EXPECT_EQ(recorder.events, GetParam().events) << recorder.events.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DispatchTest,
    ::testing::Values(
        TDispatchCase{
            "text_then_sample", {QByteArray::fromHex("61626323303132330d0a")}, {"S0=123", "T(61 62 63 0d 0a)"}},
        TDispatchCase{"negative_fraction", {QByteArray::fromHex("23312d31322e350d")}, {"S1=-12.5", "T(0d)"}},
        TDispatchCase{"split_after_hash", {"ab#", "2-7\r"}, {"T(61 62)", "S2=-7", "T(0d)"}},
        TDispatchCase{"split_after_channel", {"#2", "15 x"}, {"S2=15", "T(20 78)"}},
        TDispatchCase{"split_in_number", {"#31", "2.", "25;"}, {"S3=12.25", "T(3b)"}},
        TDispatchCase{"hash_and_other_digit", {"#5 ok"}, {"T(23 35 20 6f 6b)"}},
        TDispatchCase{"hash_hash", {"##1x"}, {"T(23 23 31 78)"}},
        TDispatchCase{"hash_at_chunk_end_then_text", {"#", "z"}, {"T(23 7a)"}},
        TDispatchCase{"empty_number", {"#3\r"}, {"T(0d)"}}, TDispatchCase{"lone_point", {"#1.\n"}, {"S1=0", "T(0a)"}},
        TDispatchCase{"minus_point", {"#1-.\n"}, {"S1=0", "T(0a)"}}, TDispatchCase{"lone_minus", {"#1-\n"}, {"T(0a)"}},
        TDispatchCase{"minus_inside", {"#11-2\n"}, {"T(0a)"}}, TDispatchCase{"two_points", {"#11.2.3\n"}, {"T(0a)"}},
        TDispatchCase{
            "next_hash_ends_sample", {QByteArray::fromHex("2331313223323133") + "\n"}, {"S1=12", "S2=13", "T(0a)"}},
        TDispatchCase{"sample_without_end_waits", {"#0 5", "#17"}, {"T(20 35)"}},
        TDispatchCase{"samples_before_text_of_chunk", {"a#01 b#12 c"}, {"S0=1", "S1=2", "T(61 20 62 20 63)"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReceiveDispatcher, ANumberKeepsItsFirstHundredCharacters)
{
    TMcuComRecv recv;
    QList<float> values;
    recv.OnValue = [&](TMcuComRecv *, quint8, float value) { values << value; };
    recv.Dispatch("#0" + QByteArray(100, '1') + QByteArray(50, '9') + "\n");
    recv.Dispatch("#0." + QByteArray(99, '0') + "5\n"); // the 5 is the 101st character
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0], float(std::stold(std::string(100, '1'))));
    EXPECT_EQ(values[1], 0.0f);
}

TEST(ReceiveDispatcher, EveryByteValueThatIsNoSampleReachesTheText)
{
    TMcuComRecv recv;
    QByteArray text;
    recv.OnText = [&](TMcuComRecv *, const QByteArray &chunk) { text += chunk; };
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        if (i != '#')
            all.append(char(i));
    recv.Dispatch(all.left(100));
    recv.Dispatch(all.mid(100));
    EXPECT_EQ(text, all);
}

TEST(ReceiveDispatcher, NumberConversionIsIndependentOfTheLocale)
{
    EXPECT_EQ(TMcuComRecv::ParseNumber("3.75"), 3.75f);
    EXPECT_EQ(TMcuComRecv::ParseNumber("-0.5"), -0.5f);
    EXPECT_EQ(TMcuComRecv::ParseNumber("42"), 42.0f);
    EXPECT_EQ(TMcuComRecv::ParseNumber(".5"), 0.5f);
    EXPECT_EQ(TMcuComRecv::ParseNumber("0.1"), 0.1f);
    EXPECT_FALSE(TMcuComRecv::ParseNumber("").has_value());
    EXPECT_FALSE(TMcuComRecv::ParseNumber("1.2.3").has_value());
}

TEST(ReceiveDispatcher, ReadsWhatThePortReportsAndLetsGoOfTheOldPort)
{
    EnsureCoreApplication();
    TPtyPeer peer;
    TMcuComPort port;
    port.SetComPort(peer.Path());
    TMcuComRecv recv;
    QByteArray text;
    QList<float> samples;
    recv.OnText = [&](TMcuComRecv *, const QByteArray &chunk) { text += chunk; };
    recv.OnValue = [&](TMcuComRecv *, quint8 channel, float value) { samples << channel * 1000 + value; };
    recv.SetPort(&port);
    ASSERT_TRUE(port.OpenPort(false));
    peer.Write("hi #27\n");
    ASSERT_TRUE(WaitFor([&] { return text.endsWith('\n'); }));
    EXPECT_EQ(text, "hi \n");
    EXPECT_EQ(samples, QList<float>({2007.0f}));

    TMcuComPort other;
    recv.SetPort(&other);
    EXPECT_FALSE(port.OnReceive);
    EXPECT_TRUE(other.OnReceive);
    recv.SetPort(nullptr);
    EXPECT_FALSE(other.OnReceive);
}

} // namespace
