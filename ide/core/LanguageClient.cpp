#include "LanguageClient.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QUrl>

namespace {

constexpr const char *kLanguageId = "velmo";

QString UriOf(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

int Coordinate(const QJsonObject &position, const char *name)
{
    return qMax(0, position.value(QLatin1String(name)).toInt());
}

TSourceDiagnostic::TSeverity SeverityOf(int severity)
{
    switch (severity) {
    case 2:
        return TSourceDiagnostic::TSeverity::Warning;
    case 3:
    case 4:
        return TSourceDiagnostic::TSeverity::Information;
    default: // 1, or none given
        return TSourceDiagnostic::TSeverity::Error;
    }
}

TSourceDiagnostic DiagnosticOf(const QJsonObject &item)
{
    const QJsonObject range = item.value(QLatin1String("range")).toObject();
    const QJsonObject start = range.value(QLatin1String("start")).toObject();
    const QJsonObject end = range.value(QLatin1String("end")).toObject();
    TSourceDiagnostic diagnostic;
    diagnostic.startLine = Coordinate(start, "line");
    diagnostic.startCharacter = Coordinate(start, "character");
    diagnostic.endLine = qMax(diagnostic.startLine, Coordinate(end, "line"));
    diagnostic.endCharacter = Coordinate(end, "character");
    diagnostic.severity = SeverityOf(item.value(QLatin1String("severity")).toInt());
    diagnostic.message = item.value(QLatin1String("message")).toString();
    return diagnostic;
}

} // namespace

QString DocumentPath(const QString &fileName)
{
    return QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
}

TLanguageClient::TLanguageClient(QObject *parent)
    : QObject(parent)
{
    connect(&m_peer, &TPeerProcess::MessageReceived, this, &TLanguageClient::Received);
    connect(&m_peer, &TPeerProcess::Ended, this, &TLanguageClient::PeerEnded);
}

TLanguageClient::~TLanguageClient()
{
    Stop();
}

QString TLanguageClient::ProgramPath(const QString &programDir)
{
    return QDir(programDir).filePath(QString::fromLatin1(kProgramName));
}

bool TLanguageClient::Start(const QString &program, const QStringList &args, QString *error)
{
    Stop();
    if (!m_peer.Start(program, args, error))
        return false;
    m_initializeId = ++m_lastId;
    const QJsonObject params{{"processId", int(QCoreApplication::applicationPid())},
                             {"rootUri", QJsonValue::Null},
                             {"capabilities", QJsonObject{}}};
    m_peer.Send(QJsonObject{{"jsonrpc", "2.0"}, {"id", m_initializeId}, {"method", "initialize"}, {"params", params}});
    return true;
}

bool TLanguageClient::Running() const
{
    return m_peer.Running();
}

void TLanguageClient::Stop()
{
    if (m_peer.Running() && m_ready) {
        Request(QStringLiteral("shutdown"), {});
        Notify(QStringLiteral("exit"), {});
    }
    m_peer.Stop();
    m_versions.clear();
    m_queued.clear();
    m_ready = false;
}

void TLanguageClient::Open(const QString &fileName, const QString &text)
{
    const QString path = DocumentPath(fileName);
    if (m_versions.contains(path)) {
        Change(path, text);
        return;
    }
    m_versions.insert(path, 1);
    const QJsonObject document{{"uri", UriOf(path)}, {"languageId", kLanguageId}, {"version", 1}, {"text", text}};
    Notify(QStringLiteral("textDocument/didOpen"), {{"textDocument", document}});
}

void TLanguageClient::Change(const QString &fileName, const QString &text)
{
    const QString path = DocumentPath(fileName);
    if (!m_versions.contains(path)) {
        Open(path, text);
        return;
    }
    ++m_versions[path];
    const QJsonArray changes{QJsonObject{{"text", text}}};
    Notify(QStringLiteral("textDocument/didChange"), {{"textDocument", DocumentId(path)}, {"contentChanges", changes}});
}

void TLanguageClient::Close(const QString &fileName)
{
    const QString path = DocumentPath(fileName);
    if (m_versions.remove(path) == 0)
        return;
    Notify(QStringLiteral("textDocument/didClose"), {{"textDocument", QJsonObject{{"uri", UriOf(path)}}}});
}

bool TLanguageClient::IsOpen(const QString &fileName) const
{
    return m_versions.contains(DocumentPath(fileName));
}

QJsonObject TLanguageClient::DocumentId(const QString &path) const
{
    return {{"uri", UriOf(path)}, {"version", m_versions.value(path)}};
}

void TLanguageClient::Notify(const QString &method, const QJsonObject &params)
{
    Post({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}

void TLanguageClient::Request(const QString &method, const QJsonObject &params)
{
    Post({{"jsonrpc", "2.0"}, {"id", ++m_lastId}, {"method", method}, {"params", params}});
}

void TLanguageClient::Post(const QJsonObject &message)
{
    if (m_ready)
        m_peer.Send(message);
    else if (m_peer.Running())
        m_queued.append(message);
}

void TLanguageClient::Received(const QJsonObject &message)
{
    const QString method = message.value(QLatin1String("method")).toString();
    if (method == QLatin1String("textDocument/publishDiagnostics")) {
        Published(message.value(QLatin1String("params")).toObject());
        return;
    }
    if (m_ready || message.value(QLatin1String("id")).toInt() != m_initializeId || method.size() > 0)
        return;
    // The handshake is answered: what waited goes out behind "initialized".
    m_ready = true;
    Notify(QStringLiteral("initialized"), {});
    const QList<QJsonObject> queued = std::exchange(m_queued, {});
    for (const QJsonObject &waiting : queued)
        m_peer.Send(waiting);
}

void TLanguageClient::Published(const QJsonObject &params)
{
    const QString path = DocumentPath(QUrl(params.value(QLatin1String("uri")).toString()).toLocalFile());
    const auto version = m_versions.constFind(path);
    if (version == m_versions.cend())
        return; // closed since
    const QJsonValue published = params.value(QLatin1String("version"));
    if (published.isDouble() && published.toInt() != *version)
        return; // found in an older text
    TSourceDiagnostics diagnostics;
    for (const QJsonValue &item : params.value(QLatin1String("diagnostics")).toArray())
        diagnostics.append(DiagnosticOf(item.toObject()));
    emit DiagnosticsChanged(path, diagnostics);
}

void TLanguageClient::PeerEnded(const QString &reason)
{
    m_versions.clear();
    m_queued.clear();
    m_ready = false;
    emit Ended(reason);
}
