#pragma once

#include "LanguageClient.h"

#include <QHash>
#include <QObject>
#include <QPointer>

class QTimer;
class TAppState;
class TEditorList;
class TMainWindow;
class TSourceEditor;

// Live checking in the editors: every Velmo source open in an editor is kept
// open in the language server (velmo-ls, beside the workbench's programs),
// its text sent after a pause in typing, and the messages the server finds
// are shown in the editor of their file (TDiagnosticMarks). The server starts
// with the first such pause, never while the window is built. A server that
// cannot start leaves the workbench as it is without it; one that goes away
// is reported once in the status bar and live checking stays off. Compile
// (F9) and the Build list do not depend on any of this.
class TDiagnosticsController : public QObject {
public:
    static constexpr int kPauseMs = 300; // typing pause before the text goes out
    static constexpr int kStatusPanel = 6;

    TDiagnosticsController(TMainWindow &window, TAppState &app);
    ~TDiagnosticsController() override;

    // Follows the editors the list creates from now on.
    void Attach(TEditorList &list);
    // Whether live checking is on: it is until switched off or until the
    // server goes away.
    bool Live() const
    {
        return m_live;
    }
    void SetLive(bool live);
    // The server, once started and while it runs.
    TLanguageClient *Client() const
    {
        return m_client;
    }

private:
    struct TDocument {
        QPointer<TSourceEditor> editor;
        QString path; // as last sent; empty before
        bool changed = true; // since last sent
    };

    void EditorCreated(TSourceEditor &editor);
    void EditorChanged(QObject *editor);
    void EditorGone(QObject *editor);
    void SendChanges();
    void Send(TDocument &document);
    bool EnsureServer();
    void Published(const QString &path, const TSourceDiagnostics &diagnostics);
    void ServerEnded(const QString &reason);
    void ClearMarks();

    TMainWindow &m_window;
    TAppState &m_app;
    QHash<QObject *, TDocument> m_documents;
    QTimer *m_pause = nullptr;
    QPointer<TLanguageClient> m_client;
    bool m_live = true;
};
