// The length-framed messages the workbench exchanges with its protocol peers:
// cutting a byte stream into messages, refusing broken streams, and a round
// trip through a real child program (cat sends every message back).

#include "../support/PtyPeer.h"
#include "MessageFraming.h"
#include "PeerProcess.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QJsonObject Message(int seq)
{
    return QJsonObject{{"seq", seq}, {"text", QStringLiteral("zäh \"quoted\"\r\n")}};
}

TEST(MessageReader, CutsMessagesWhateverTheChunks)
{
    const QByteArray stream = FrameMessage(Message(1)) + FrameMessage(Message(2)) + FrameMessage(Message(3));
    for (const int chunk : {1, 2, 7, 64, 4096}) {
        TMessageReader reader;
        QList<QJsonObject> got;
        for (qsizetype at = 0; at < stream.size(); at += chunk) {
            reader.Append(stream.mid(at, chunk));
            while (const auto message = reader.Next())
                got.append(*message);
        }
        ASSERT_EQ(got.size(), 3) << "chunk " << chunk;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(got[i], Message(i + 1)) << "chunk " << chunk;
        EXPECT_FALSE(reader.Broken());
    }
}

TEST(MessageReader, HeaderFieldsInAnyCaseAndOrder)
{
    TMessageReader reader;
    reader.Append("Content-Type: application/json\r\ncontent-LENGTH:   2\r\n\r\n{}");
    const auto message = reader.Next();
    ASSERT_TRUE(message.has_value());
    EXPECT_TRUE(message->isEmpty());
}

TEST(MessageReader, BrokenStreamsYieldNothingMore)
{
    const struct {
        const char *name;
        QByteArray bytes;
    } cases[] = {
        {"no length", "Content-Type: x\r\n\r\n{}"},
        {"negative length", "Content-Length: -5\r\n\r\n{}"},
        {"length not a number", "Content-Length: ten\r\n\r\n{}"},
        {"over the limit", "Content-Length: 99999999999\r\n\r\n{}"},
        {"body not JSON", "Content-Length: 3\r\n\r\n{x}"},
        {"body an array", "Content-Length: 2\r\n\r\n[]"},
        {"endless header", QByteArray(TMessageReader::kMaxHeader + 1, 'a')},
    };
    for (const auto &c : cases) {
        TMessageReader reader;
        reader.Append(c.bytes);
        EXPECT_FALSE(reader.Next().has_value()) << c.name;
        EXPECT_TRUE(reader.Broken()) << c.name;
        reader.Append(FrameMessage(Message(1)));
        EXPECT_FALSE(reader.Next().has_value()) << c.name << ": read on after a broken message";
    }
}

TEST(PeerProcess, MessagesMakeTheRoundTripThroughAChild)
{
    EnsureCoreApplication();
    TPeerProcess peer;
    QList<QJsonObject> got;
    QObject::connect(&peer, &TPeerProcess::MessageReceived, [&](const QJsonObject &m) { got.append(m); });
    QString error;
    ASSERT_TRUE(peer.Start(QStringLiteral("cat"), {}, &error)) << error.toStdString();
    QJsonArray big;
    for (int i = 0; i < 20000; ++i)
        big.append(i);
    peer.Send(Message(1));
    peer.Send(QJsonObject{{"big", big}});
    ASSERT_TRUE(WaitFor([&] { return got.size() == 2; }));
    EXPECT_EQ(got[0], Message(1));
    EXPECT_EQ(got[1]["big"].toArray().size(), 20000);
}

TEST(PeerProcess, SaysWhyThePeerEnded)
{
    EnsureCoreApplication();
    const struct {
        const char *script;
        const char *reason;
    } cases[] = {
        {"exit 3", "ended (exit code 3)"},
        {"kill -9 $$", "ended unexpectedly"},
        {"printf 'Content-Length: x\\r\\n\\r\\n'; sleep 5", "sent a message that cannot be read"},
    };
    for (const auto &c : cases) {
        TPeerProcess peer;
        QString reason;
        QObject::connect(&peer, &TPeerProcess::Ended, [&](const QString &r) { reason = r; });
        ASSERT_TRUE(peer.Start(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(c.script)}, nullptr));
        ASSERT_TRUE(WaitFor([&] { return !reason.isEmpty(); })) << c.script;
        EXPECT_TRUE(reason.contains(QLatin1String(c.reason))) << reason.toStdString();
        EXPECT_FALSE(peer.Running()) << c.script;
    }
}

TEST(PeerProcess, MissingProgramIsNamed)
{
    EnsureCoreApplication();
    TPeerProcess peer;
    QString error;
    EXPECT_FALSE(peer.Start(QStringLiteral("/nonexistent/velsim"), {}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("/nonexistent/velsim"))) << error.toStdString();
}

} // namespace
