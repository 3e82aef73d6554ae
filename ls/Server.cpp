#include "Server.h"

#include "Features.h"

namespace velmo::ls {

namespace {

constexpr int kFullSync = 1;

const Json *Find(const Json &object, const char *name)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

// Replaces a range of the text by `replacement` (an edit of an incremental change).
void ApplyEdit(std::string &text, const Json &range, const std::string &replacement)
{
    auto offset = [&text](const Json &position) {
        const long long line = position.at("line").get<long long>();
        const long long character = position.at("character").get<long long>();
        size_t start = 0;
        for (long long i = 0; i < line && start != std::string::npos; ++i) {
            start = text.find('\n', start);
            start = start == std::string::npos ? text.size() : start + 1;
        }
        const size_t end = text.find('\n', start);
        const std::string_view lineText =
            std::string_view(text).substr(start, end == std::string::npos ? std::string::npos : end - start);
        return start +
            ByteIndex(lineText,
                      static_cast<int>(character < 0             ? 0
                                           : character > 1 << 24 ? 1 << 24
                                                                 : character));
    };
    const size_t from = offset(range.at("start"));
    const size_t to = offset(range.at("end"));
    if (from <= to && to <= text.size())
        text.replace(from, to - from, replacement);
}

} // namespace

const CServer::RequestRow CServer::kRequests[] = {
    {"initialize", &CServer::Initialize, nullptr},
    {"shutdown", &CServer::Shutdown, nullptr},
    {"textDocument/completion", nullptr, &Completion},
    {"textDocument/hover", nullptr, &Hover},
    {"textDocument/signatureHelp", nullptr, &SignatureHelp},
    {"textDocument/definition", nullptr, &Definition},
    {"textDocument/references", nullptr, &References},
    {"textDocument/rename", nullptr, &Rename},
    {"textDocument/documentSymbol", nullptr, &DocumentSymbols},
    {"workspace/symbol", nullptr, &WorkspaceSymbols},
    {"textDocument/semanticTokens/full", nullptr, &SemanticTokens},
};

const CServer::NotificationRow CServer::kNotifications[] = {
    {"initialized", &CServer::Initialized},        {"exit", &CServer::Exit},
    {"textDocument/didOpen", &CServer::DidOpen},   {"textDocument/didChange", &CServer::DidChange},
    {"textDocument/didClose", &CServer::DidClose},
};

CServer::CServer(Sender send)
    : m_send(std::move(send))
{
}

void CServer::Receive(std::string_view bytes)
{
    m_reader.Feed(bytes);
    std::string body;
    for (;;) {
        switch (m_reader.Next(body)) {
        case CMessageReader::kNone:
            return;
        case CMessageReader::kMessage:
            ReceiveBody(body);
            break;
        case CMessageReader::kBadHeader:
            RespondError(nullptr, kParseError, "Message header without a valid Content-Length.");
            break;
        case CMessageReader::kTooLarge:
            RespondError(nullptr, kInvalidRequest, "Message too large.");
            break;
        }
    }
}

void CServer::ReceiveBody(const std::string &body)
{
    Json message = Json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        RespondError(nullptr, kParseError, "Malformed JSON.");
        return;
    }
    const Json *id = Find(message, "id");
    if (!message.is_object() || !Find(message, "method") || !(*Find(message, "method")).is_string()) {
        RespondError(id && (id->is_number_integer() || id->is_string()) ? *id : Json(), kInvalidRequest,
                     "Not a request or notification.");
        return;
    }
    if (message["method"] == "$/cancelRequest") {
        Cancel(message.value("params", Json()));
        return;
    }
    m_queue.push_back(std::move(message));
}

bool CServer::Cancel(const Json &params)
{
    const Json *id = Find(params, "id");
    if (!id)
        return false;
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it) {
        const Json *queued = Find(*it, "id");
        if (queued && *queued == *id) {
            m_queue.erase(it);
            RespondError(*id, kRequestCancelled, "Request cancelled.");
            return true;
        }
    }
    return false;
}

void CServer::ProcessNext()
{
    if (m_queue.empty())
        return;
    const Json message = std::move(m_queue.front());
    m_queue.pop_front();
    Dispatch(message);
}

void CServer::ProcessAll()
{
    while (HasPending())
        ProcessNext();
    Idle();
}

void CServer::Dispatch(const Json &message)
{
    const std::string method = message["method"].get<std::string>();
    const bool isRequest = Find(message, "id") != nullptr;
    for (const RequestRow &row : kRequests) {
        if (isRequest && method == row.method) {
            Answer(message, &row);
            return;
        }
    }
    for (const NotificationRow &row : kNotifications) {
        if (!isRequest && method == row.method && (m_initialized || method == "exit")) {
            try {
                (this->*row.handler)(message.value("params", Json()));
            } catch (const std::exception &) {
                // A malformed notification changes nothing and has no answer.
            }
            return;
        }
    }
    if (isRequest)
        Answer(message, nullptr);
}

void CServer::Answer(const Json &message, const RequestRow *row)
{
    const Json &id = message["id"];
    if (!row) {
        RespondError(id, kMethodNotFound, "Unknown method: " + message["method"].get<std::string>());
    } else if (!m_initialized && row->handler != &CServer::Initialize) {
        RespondError(id, kServerNotInitialized, "The server is not initialized.");
    } else if (m_shutDown) {
        RespondError(id, kInvalidRequest, "The server is shutting down.");
    } else {
        try {
            const Json params = message.value("params", Json());
            Respond(id, row->handler ? (this->*row->handler)(params) : row->feature(m_workspace, params));
        } catch (const RequestError &error) {
            RespondError(id, error.code, error.message);
        } catch (const nlohmann::json::exception &error) {
            RespondError(id, kInvalidParams, error.what());
        } catch (const std::exception &error) {
            RespondError(id, kInternalError, error.what());
        }
    }
}

void CServer::Respond(const Json &id, const Json &result)
{
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

void CServer::RespondError(const Json &id, int code, const std::string &message)
{
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

void CServer::Send(const Json &message)
{
    // Text from a document that is not UTF-8 is sent with U+FFFD in its place.
    m_send(message.dump(-1, ' ', false, Json::error_handler_t::replace));
}

void CServer::Idle()
{
    if (!m_changed)
        return;
    m_changed = false;
    for (const std::string &path : m_closed)
        Send({{"jsonrpc", "2.0"},
              {"method", "textDocument/publishDiagnostics"},
              {"params", {{"uri", PathToUri(path)}, {"diagnostics", Json::array()}}}});
    m_closed.clear();
    for (const std::string &path : m_workspace.Documents().Paths()) {
        Json params = PublishedDiagnostics(m_workspace, path);
        if (const auto version = m_versions.find(path); version != m_versions.end())
            params["version"] = version->second;
        Send({{"jsonrpc", "2.0"}, {"method", "textDocument/publishDiagnostics"}, {"params", params}});
    }
}

Json CServer::Initialize(const Json &)
{
    m_initialized = true;
    return {{"capabilities",
             {{"textDocumentSync", {{"openClose", true}, {"change", kFullSync}}},
              {"completionProvider", {{"triggerCharacters", {"\"", "/", " "}}}},
              {"hoverProvider", true},
              {"signatureHelpProvider", {{"triggerCharacters", {" ", ",", "("}}}},
              {"definitionProvider", true},
              {"referencesProvider", true},
              {"renameProvider", true},
              {"documentSymbolProvider", true},
              {"workspaceSymbolProvider", true},
              {"semanticTokensProvider", {{"legend", SemanticTokenLegend()}, {"full", true}}}}},
            {"serverInfo", {{"name", "velmo-ls"}, {"version", "1.0.0"}}}};
}

Json CServer::Shutdown(const Json &)
{
    m_shutDown = true;
    return nullptr;
}

void CServer::Initialized(const Json &) { }

void CServer::Exit(const Json &)
{
    m_exited = true;
}

void CServer::DidOpen(const Json &params)
{
    const std::string path = DocumentPath(params);
    if (path.empty())
        return;
    m_workspace.EditDocuments().Open(path, params.at("textDocument").at("text").get<std::string>());
    NoteVersion(path, params);
    m_closed.erase(path);
    m_changed = true;
}

void CServer::DidChange(const Json &params)
{
    const std::string path = DocumentPath(params);
    std::string text;
    if (path.empty() || !m_workspace.Documents().Contents(path, text))
        return;
    for (const Json &change : params.at("contentChanges")) {
        if (const Json *range = Find(change, "range"))
            ApplyEdit(text, *range, change.at("text").get<std::string>());
        else
            text = change.at("text").get<std::string>();
    }
    m_workspace.EditDocuments().Open(path, std::move(text));
    NoteVersion(path, params);
    m_changed = true;
}

void CServer::DidClose(const Json &params)
{
    const std::string path = DocumentPath(params);
    if (path.empty())
        return;
    m_workspace.EditDocuments().Close(path);
    m_versions.erase(path);
    m_closed.insert(path);
    m_changed = true;
}

// A document without a version (or with one that is not a number) is
// published without one.
void CServer::NoteVersion(const std::string &path, const Json &params)
{
    const Json *document = Find(params, "textDocument");
    const Json *version = document ? Find(*document, "version") : nullptr;
    if (version && version->is_number_integer())
        m_versions[path] = version->get<long long>();
    else
        m_versions.erase(path);
}

} // namespace velmo::ls
