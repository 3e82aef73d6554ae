#include "DiagnosticsController.h"

#include "AppState.h"
#include "DiagnosticMarks.h"
#include "EditorList.h"
#include "LanguageClient.h"
#include "MainForm.h"

#include <QTimer>

#include <algorithm>

namespace {

bool IsVelmoSource(const QString &path)
{
    return path.endsWith(QLatin1String(".bas"), Qt::CaseInsensitive);
}

} // namespace

TDiagnosticsController::TDiagnosticsController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
    , m_pause(new QTimer(this))
{
    m_pause->setObjectName(QStringLiteral("DiagnosticsPauseTimer"));
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &TDiagnosticsController::SendChanges);
}

TDiagnosticsController::~TDiagnosticsController()
{
    delete m_client.data(); // asks the server to end, and waits for it
}

void TDiagnosticsController::Attach(TEditorList &list)
{
    list.OnEditorCreated = [this](TSourceEditor &editor) { EditorCreated(editor); };
}

void TDiagnosticsController::SetLive(bool live)
{
    if (live == m_live)
        return;
    m_live = live;
    if (!live) {
        m_pause->stop();
        delete m_client.data();
        ClearMarks();
    }
    for (TDocument &document : m_documents) {
        document.path.clear();
        document.changed = true;
    }
    if (live)
        m_pause->start();
}

void TDiagnosticsController::EditorCreated(TSourceEditor &editor)
{
    m_documents.insert(&editor, TDocument{&editor, QString(), true});
    connect(&editor, &QsciScintilla::textChanged, this,
            [this, object = static_cast<QObject *>(&editor)] { EditorChanged(object); });
    connect(&editor, &QObject::destroyed, this, &TDiagnosticsController::EditorGone);
    if (m_live)
        m_pause->start();
}

void TDiagnosticsController::EditorChanged(QObject *editor)
{
    const auto document = m_documents.find(editor);
    if (document == m_documents.end() || !m_live)
        return;
    document->changed = true;
    m_pause->start();
}

void TDiagnosticsController::EditorGone(QObject *editor)
{
    const TDocument document = m_documents.take(editor);
    if (m_client && !document.path.isEmpty())
        m_client->Close(document.path);
}

void TDiagnosticsController::SendChanges()
{
    const bool anySource = std::any_of(m_documents.cbegin(), m_documents.cend(), [](const TDocument &document) {
        return document.editor && IsVelmoSource(document.editor->GetFileName());
    });
    if (!m_live || (!m_client && !anySource) || !EnsureServer())
        return;
    for (TDocument &document : m_documents)
        Send(document);
}

// A document renamed (Save As) is closed under its old name; one that is no
// Velmo source (any more) is not sent.
void TDiagnosticsController::Send(TDocument &document)
{
    if (!document.editor)
        return;
    const QString path = DocumentPath(document.editor->GetFileName());
    if (path != document.path && !document.path.isEmpty()) {
        m_client->Close(document.path);
        document.path.clear();
    }
    if (!IsVelmoSource(path) || (!document.changed && !document.path.isEmpty()))
        return;
    if (!TDiagnosticMarks::Of(document.editor))
        new TDiagnosticMarks(document.editor);
    m_client->Change(path, document.editor->AllText());
    document.path = path;
    document.changed = false;
}

bool TDiagnosticsController::EnsureServer()
{
    if (m_client)
        return true;
    auto *client = new TLanguageClient(this);
    client->setObjectName(QStringLiteral("LanguageClient"));
    QString error;
    if (!client->Start(TLanguageClient::ProgramPath(m_app.Paths().ProgramDir()), {}, &error)) {
        delete client; // no server: the workbench works as it does without one
        m_live = false;
        return false;
    }
    connect(client, &TLanguageClient::DiagnosticsChanged, this, &TDiagnosticsController::Published);
    connect(client, &TLanguageClient::Ended, this, &TDiagnosticsController::ServerEnded);
    m_client = client;
    return true;
}

void TDiagnosticsController::Published(const QString &path, const TSourceDiagnostics &diagnostics)
{
    for (const TDocument &document : std::as_const(m_documents)) {
        if (document.editor && document.path == path) {
            if (TDiagnosticMarks *marks = TDiagnosticMarks::Of(document.editor))
                marks->Show(diagnostics);
        }
    }
}

void TDiagnosticsController::ServerEnded(const QString &reason)
{
    m_live = false;
    m_pause->stop();
    m_client->deleteLater();
    m_client = nullptr;
    ClearMarks();
    m_window.SetStatusText(kStatusPanel, tr("%1 Live checking is off; Compile still checks the program.").arg(reason));
}

void TDiagnosticsController::ClearMarks()
{
    for (const TDocument &document : std::as_const(m_documents)) {
        if (TDiagnosticMarks *marks = TDiagnosticMarks::Of(document.editor))
            marks->Show({});
    }
}
