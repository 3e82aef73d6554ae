// Drives a language server object in-process: messages go in framed as a
// client frames them, everything the server sends is collected.
#pragma once

#include "Documents.h"
#include "Server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velmo::ls::test {

inline std::string DataPath(const std::string &relative)
{
    return std::filesystem::path(std::string(VELMO_TEST_DATA) + "/" + relative).lexically_normal().string();
}

inline std::string DataUri(const std::string &relative)
{
    return PathToUri(DataPath(relative));
}

inline Json At(const std::string &relative, int line, int character)
{
    return {{"textDocument", {{"uri", DataUri(relative)}}}, {"position", {{"line", line}, {"character", character}}}};
}

class LsSession {
public:
    LsSession()
        : m_server([this](const std::string &body) { m_sent.push_back(Json::parse(body)); })
    {
    }

    void SendRaw(const std::string &bytes)
    {
        m_server.Receive(bytes);
        m_server.ProcessAll();
    }
    void Queue(const Json &message)
    {
        m_server.Receive(FrameMessage(message.dump()));
    }
    void Process()
    {
        m_server.ProcessAll();
    }
    void Notify(const std::string &method, const Json &params)
    {
        Queue({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
        Process();
    }
    // The whole answer (result or error) to a new request.
    Json Call(const std::string &method, const Json &params)
    {
        const int id = ++m_lastId;
        Queue({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        Process();
        return AnswerTo(id);
    }
    Json Result(const std::string &method, const Json &params)
    {
        const Json answer = Call(method, params);
        EXPECT_FALSE(answer.contains("error")) << answer.dump();
        return answer.value("result", Json());
    }
    Json AnswerTo(const Json &id) const
    {
        for (const Json &message : m_sent) {
            if (message.contains("id") && message["id"] == id && !message.contains("method"))
                return message;
        }
        return nullptr;
    }
    void Initialize()
    {
        Result("initialize", {{"capabilities", Json::object()}});
        Notify("initialized", Json::object());
    }
    void Open(const std::string &relative, const std::string &text)
    {
        Notify(
            "textDocument/didOpen",
            {{"textDocument", {{"uri", DataUri(relative)}, {"languageId", "velmo"}, {"version", 1}, {"text", text}}}});
    }
    void Change(const std::string &relative, const std::string &text)
    {
        const Json document = {{"uri", DataUri(relative)}, {"version", 2}};
        const Json changes = Json::array({{{"text", text}}});
        Notify("textDocument/didChange", {{"textDocument", document}, {"contentChanges", changes}});
    }
    // The diagnostics last published for a document.
    Json Diagnostics(const std::string &uri) const
    {
        Json last;
        for (const Json &message : m_sent) {
            if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == uri)
                last = message["params"]["diagnostics"];
        }
        return last;
    }
    int ErrorCodeOf(const Json &answer) const
    {
        return answer.is_object() && answer.contains("error") ? answer["error"]["code"].get<int>() : 0;
    }
    const std::vector<Json> &Sent() const
    {
        return m_sent;
    }
    CServer &Server()
    {
        return m_server;
    }

private:
    std::vector<Json> m_sent;
    CServer m_server;
    int m_lastId = 0;
};

// The text of a file of the test data.
inline std::string DataText(const std::string &relative)
{
    CDocuments none;
    std::string text;
    none.Text(DataPath(relative), text);
    return text;
}

} // namespace velmo::ls::test
