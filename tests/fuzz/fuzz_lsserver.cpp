// The language server's message reader and dispatcher on any byte stream,
// after an initialize request: whatever arrives, every message the server
// sends is one JSON-RPC object, every answer carries an id, and the
// harness's own initialize request is answered once. (A stream may repeat
// another request's id; each of those requests gets its answer.)
#include "Server.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

namespace {

using velmo::ls::Json;

void Check(const std::string &body, std::set<std::string> &answered)
{
    const Json message = Json::parse(body, nullptr, false);
    if (message.is_discarded() || !message.is_object() || message.value("jsonrpc", "") != "2.0")
        std::abort();
    const bool isAnswer = message.contains("result") || message.contains("error");
    if (isAnswer && !message.contains("id"))
        std::abort();
    if (isAnswer && message["id"] == "fuzz-harness-initialize" && !answered.insert("initialize").second)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::set<std::string> answered;
    velmo::ls::CServer server([&](const std::string &body) { Check(body, answered); });
    server.Receive(velmo::ls::FrameMessage(
        R"({"jsonrpc":"2.0","id":"fuzz-harness-initialize","method":"initialize","params":{}})"));
    server.Receive(velmo::ls::FrameMessage(R"({"jsonrpc":"2.0","method":"initialized","params":{}})"));
    // The first byte chooses the chunk size, so that messages split anywhere.
    const size_t chunk = size > 0 ? 1 + data[0] % 64 : 1;
    const std::string_view stream(reinterpret_cast<const char *>(data), size);
    for (size_t at = size > 0 ? 1 : 0; at < size; at += chunk)
        server.Receive(stream.substr(at, chunk));
    server.ProcessAll();
    return 0;
}
