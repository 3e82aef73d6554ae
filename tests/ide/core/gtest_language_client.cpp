// The workbench's side of the language server: the documents it opens and
// changes are checked by the real velmo-ls, the messages reach the workbench
// for the right file; messages of an older text are dropped and a server
// that goes away is reported once. A scripted peer (sh) stands for the
// server where the order of its messages matters.

#include "../support/PtyPeer.h"
#include "LanguageClient.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using TSeverity = TSourceDiagnostic::TSeverity;

QString ServerPath()
{
    return TLanguageClient::ProgramPath(QString::fromLocal8Bit(qgetenv("VELMO_BIN_DIR")));
}

// Every publication the client passed on, in order.
struct TPublications {
    explicit TPublications(TLanguageClient &client)
    {
        QObject::connect(&client, &TLanguageClient::DiagnosticsChanged,
                         [this](const QString &file, const TSourceDiagnostics &list) {
                             all.append({file, list});
                         });
        QObject::connect(&client, &TLanguageClient::Ended, [this](const QString &reason) { ended.append(reason); });
    }
    // The messages last published for a file; none when nothing was.
    std::optional<TSourceDiagnostics> Last(const QString &file) const
    {
        for (auto it = all.crbegin(); it != all.crend(); ++it)
            if (it->first == file)
                return it->second;
        return std::nullopt;
    }
    bool Await(const QString &file, const std::function<bool(const TSourceDiagnostics &)> &wanted)
    {
        return WaitFor([&] {
            const auto last = Last(file);
            return last && wanted(*last);
        });
    }
    QList<QPair<QString, TSourceDiagnostics>> all;
    QStringList ended;
};

class LanguageClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureCoreApplication();
        ASSERT_TRUE(m_dir.isValid());
        Write("inc.bas", "BYTE shared\n");
        Write("main.bas", "#INCLUDE \"inc.bas\"\nshared = 1\n");
        QString error;
        ASSERT_TRUE(m_client.Start(ServerPath(), {}, &error)) << error.toStdString();
    }
    QString Path(const char *name) const
    {
        return DocumentPath(m_dir.filePath(QLatin1String(name)));
    }
    void Write(const char *name, const QByteArray &text)
    {
        QFile file(m_dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
    TLanguageClient m_client;
    TPublications m_published{m_client};
};

const auto kClean = [](const TSourceDiagnostics &list) { return list.isEmpty(); };
const auto kFlagged = [](const TSourceDiagnostics &list) { return !list.isEmpty(); };

TEST_F(LanguageClient, TypedErrorIsReportedOnItsLineAndFixingItClearsIt)
{
    m_client.Open(Path("main.bas"), "#INCLUDE \"inc.bas\"\nshared = 1\n");
    ASSERT_TRUE(m_published.Await(Path("main.bas"), kClean));
    m_client.Change(Path("main.bas"), "#INCLUDE \"inc.bas\"\nshared = 1\nshared = = 2\n");
    ASSERT_TRUE(m_published.Await(Path("main.bas"), kFlagged));
    const TSourceDiagnostic error = m_published.Last(Path("main.bas"))->constFirst();
    EXPECT_EQ(error.startLine, 2);
    EXPECT_EQ(error.endLine, 2);
    EXPECT_EQ(error.startCharacter, 0);
    EXPECT_EQ(error.endCharacter, 12);
    EXPECT_EQ(error.severity, TSeverity::Error);
    EXPECT_TRUE(error.message.contains(QLatin1String("expected"))) << error.message.toStdString();
    m_client.Change(Path("main.bas"), "#INCLUDE \"inc.bas\"\nshared = 1\nshared = 2\n");
    EXPECT_TRUE(m_published.Await(Path("main.bas"), kClean));
}

TEST_F(LanguageClient, UnsavedIncludeTextIsCheckedAndItsErrorShownInIt)
{
    m_client.Open(Path("main.bas"), "#INCLUDE \"inc.bas\"\nshared = 1\n");
    // The unsaved include file no longer declares the variable main.bas uses.
    m_client.Open(Path("inc.bas"), "BYTE other\n");
    ASSERT_TRUE(m_published.Await(Path("main.bas"), kFlagged));
    EXPECT_EQ(m_published.Last(Path("main.bas"))->constFirst().startLine, 1);
    m_client.Change(Path("inc.bas"), "BYTE shared\nshared = (\n");
    ASSERT_TRUE(m_published.Await(Path("inc.bas"), kFlagged));
    EXPECT_EQ(m_published.Last(Path("inc.bas"))->constFirst().startLine, 1);
    // Closed, the include file is read from the disk again.
    m_client.Close(Path("inc.bas"));
    EXPECT_TRUE(m_published.Await(Path("main.bas"), kClean));
    EXPECT_FALSE(m_client.IsOpen(Path("inc.bas")));
}

TEST_F(LanguageClient, StoppedServerIsNotReportedAsEnded)
{
    m_client.Open(Path("main.bas"), "#INCLUDE \"inc.bas\"\n");
    ASSERT_TRUE(m_published.Await(Path("main.bas"), kClean));
    m_client.Stop();
    EXPECT_FALSE(m_client.Running());
    EXPECT_FALSE(m_client.IsOpen(Path("main.bas")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_published.ended.isEmpty());
}

// --- A scripted server --------------------------------------------------

QJsonObject Published(const QString &path, QJsonValue version, const QJsonArray &diagnostics)
{
    QJsonObject params{{"uri", QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)}, {"diagnostics", diagnostics}};
    if (!version.isUndefined())
        params.insert("version", version);
    return {{"jsonrpc", "2.0"}, {"method", "textDocument/publishDiagnostics"}, {"params", params}};
}

QJsonObject Item(int severity, const char *message)
{
    const QJsonObject position{{"line", 0}, {"character", 0}};
    QJsonObject item{{"range", QJsonObject{{"start", position}, {"end", position}}}, {"message", message}};
    if (severity)
        item.insert("severity", severity);
    return item;
}

// Starts a peer that answers the handshake, sends `messages`, then runs the
// shell command `tail`.
bool StartScripted(TLanguageClient &client, const QList<QJsonObject> &messages, const char *tail)
{
    QByteArray bytes = FrameMessage({{"jsonrpc", "2.0"}, {"id", 1}, {"result", QJsonObject{}}});
    for (const QJsonObject &message : messages)
        bytes += FrameMessage(message);
    const QString script = QStringLiteral("printf '%s' \"$1\"; ") + QLatin1String(tail);
    return client.Start(QStringLiteral("sh"),
                        {QStringLiteral("-c"), script, QStringLiteral("sh"), QString::fromUtf8(bytes)}, nullptr);
}

const QString kDocument = QStringLiteral("/velmo/test/main.bas");

TEST(ScriptedServer, MessagesOfAnOlderTextAreDropped)
{
    EnsureCoreApplication();
    TLanguageClient client;
    TPublications published(client);
    ASSERT_TRUE(StartScripted(client,
                              {Published(kDocument, 1, {Item(1, "old")}), Published(kDocument, 2, {}),
                               Published(kDocument, 1, {Item(1, "late")})},
                              "exec cat >/dev/null"));
    // Both go out once the handshake is answered: the server's first
    // messages are then those of the first text.
    client.Open(kDocument, QStringLiteral("x = = 1\n"));
    client.Change(kDocument, QStringLiteral("x = 1\n"));
    ASSERT_TRUE(published.Await(kDocument, kClean));
    QCoreApplication::processEvents();
    ASSERT_EQ(published.all.size(), 1);
    EXPECT_TRUE(published.all[0].second.isEmpty());
}

TEST(ScriptedServer, SeveritiesAndDocumentsOfThePublications)
{
    const struct {
        int severity; // 0: none given
        TSeverity expected;
    } cases[] = {
        {1, TSeverity::Error},       {2, TSeverity::Warning}, {3, TSeverity::Information},
        {4, TSeverity::Information}, {0, TSeverity::Error},
    };
    QJsonArray items;
    for (const auto &c : cases)
        items.append(Item(c.severity, "message"));
    EnsureCoreApplication();
    TLanguageClient client;
    TPublications published(client);
    const QString other = QStringLiteral("/velmo/test/never opened.bas");
    ASSERT_TRUE(StartScripted(client,
                              {Published(other, QJsonValue(), items), Published(kDocument, QJsonValue(), items)},
                              "exec cat >/dev/null"));
    client.Open(kDocument, QString());
    ASSERT_TRUE(published.Await(kDocument, kFlagged));
    ASSERT_EQ(published.all.size(), 1); // nothing for the document never opened
    const TSourceDiagnostics list = published.all[0].second;
    ASSERT_EQ(list.size(), qsizetype(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(list[qsizetype(i)].severity, cases[i].expected) << "severity " << cases[i].severity;
}

TEST(ScriptedServer, ServerThatEndsIsReportedOnceAndThenLeftAlone)
{
    EnsureCoreApplication();
    TLanguageClient client;
    TPublications published(client);
    ASSERT_TRUE(StartScripted(client, {}, "exit 3"));
    client.Open(kDocument, QStringLiteral("x = 1\n"));
    ASSERT_TRUE(WaitFor([&] { return !published.ended.isEmpty(); }));
    EXPECT_TRUE(published.ended[0].contains(QLatin1String("exit code 3"))) << published.ended[0].toStdString();
    EXPECT_FALSE(client.Running());
    EXPECT_FALSE(client.IsOpen(kDocument));
    client.Change(kDocument, QStringLiteral("x = 2\n"));
    client.Stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(published.ended.size(), 1);
    EXPECT_TRUE(published.all.isEmpty());
}

TEST(ScriptedServer, MissingServerIsNamed)
{
    EnsureCoreApplication();
    TLanguageClient client;
    QString error;
    EXPECT_FALSE(client.Start(TLanguageClient::ProgramPath(QStringLiteral("/nonexistent")), {}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("/nonexistent/velmo-ls"))) << error.toStdString();
}

} // namespace
