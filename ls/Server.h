// The server's message loop without its input and output: bytes come in
// through Receive, answers and notifications leave through the sender.
// Messages wait in a queue until ProcessNext handles them, so a
// $/cancelRequest that arrives before its request is handled cancels it,
// and a burst of edits is checked once (in Idle, when the queue is empty).
#pragma once

#include "MessageReader.h"
#include "Protocol.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace velmo::ls {

class CServer {
public:
    using Sender = std::function<void(const std::string &body)>;
    explicit CServer(Sender send);

    void Receive(std::string_view bytes);
    // One message body, without its header.
    void ReceiveBody(const std::string &body);
    bool HasPending() const
    {
        return !m_queue.empty();
    }
    void ProcessNext();
    // Publishes the messages of every document once the documents changed.
    void Idle();
    // Handles everything received so far, then Idle: what a test calls.
    void ProcessAll();

    bool Finished() const
    {
        return m_exited;
    }
    int ExitCode() const
    {
        return m_shutDown ? 0 : 1;
    }

private:
    using Request = Json (CServer::*)(const Json &params);
    using Feature = Json (*)(CWorkspace &workspace, const Json &params);
    using Notification = void (CServer::*)(const Json &params);
    // A request is answered by the server itself or by one of the features.
    struct RequestRow {
        const char *method;
        Request handler;
        Feature feature;
    };
    struct NotificationRow {
        const char *method;
        Notification handler;
    };
    static const RequestRow kRequests[];
    static const NotificationRow kNotifications[];

    void Dispatch(const Json &message);
    void Answer(const Json &message, const RequestRow *row);
    void Respond(const Json &id, const Json &result);
    void RespondError(const Json &id, int code, const std::string &message);
    void Send(const Json &message);
    bool Cancel(const Json &params);

    Json Initialize(const Json &params);
    Json Shutdown(const Json &params);
    void Initialized(const Json &params);
    void Exit(const Json &params);
    void DidOpen(const Json &params);
    void DidChange(const Json &params);
    void DidClose(const Json &params);
    void NoteVersion(const std::string &path, const Json &params);

    Sender m_send;
    CMessageReader m_reader;
    std::deque<Json> m_queue;
    CWorkspace m_workspace;
    std::set<std::string> m_closed; // closed since the last publishing: their messages are cleared
    // The version of each open document the editor gave last: published with
    // its messages, so that the editor can tell them from those of an older text.
    std::map<std::string, long long> m_versions;
    bool m_changed = false;
    bool m_initialized = false;
    bool m_shutDown = false;
    bool m_exited = false;
};

} // namespace velmo::ls
