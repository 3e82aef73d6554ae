#pragma once

#include "PeerProcess.h"
#include "SourceDiagnostic.h"

#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>

// The workbench's side of the language server (velmo-ls, run as a child
// program): it opens, changes and closes the documents the editors hold, so
// that the server checks the unsaved texts and resolves include files from
// them, and passes on the messages the server publishes for each document.
// Documents are named by their full path. Nothing here waits for the server:
// what is sent before the server has answered the handshake waits in a queue,
// and messages found in an older text than the one last sent are dropped.
class TLanguageClient : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kProgramName = "velmo-ls";

    explicit TLanguageClient(QObject *parent = nullptr);
    ~TLanguageClient() override; // stops the server

    // The server beside the workbench's programs in programDir.
    static QString ProgramPath(const QString &programDir);

    // Starts the server and sends the handshake; false with the reason when
    // the program cannot run.
    bool Start(const QString &program, const QStringList &args, QString *error);
    bool Running() const;
    // Asks the server to shut down, then ends it.
    void Stop();

    void Open(const QString &fileName, const QString &text);
    void Change(const QString &fileName, const QString &text);
    void Close(const QString &fileName);
    bool IsOpen(const QString &fileName) const;

signals:
    // The messages of an open document, all of them each time.
    void DiagnosticsChanged(const QString &fileName, const TSourceDiagnostics &diagnostics);
    // The server ended on its own or broke the protocol; reported once.
    void Ended(const QString &reason);

private:
    void Notify(const QString &method, const QJsonObject &params);
    void Request(const QString &method, const QJsonObject &params);
    void Post(const QJsonObject &message);
    void Received(const QJsonObject &message);
    void Published(const QJsonObject &params);
    void PeerEnded(const QString &reason);
    QJsonObject DocumentId(const QString &fileName) const;

    TPeerProcess m_peer;
    QHash<QString, int> m_versions; // open documents: the version last sent
    QList<QJsonObject> m_queued; // sent before the handshake was answered
    int m_lastId = 0;
    int m_initializeId = 0;
    bool m_ready = false;
};

// The full, clean path of a file, as documents are named.
QString DocumentPath(const QString &fileName);
