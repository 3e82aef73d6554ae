// The protocol's shapes (positions, ranges, locations) built from and read
// into the server's own (path, line, byte offset).
#pragma once

#include "Workspace.h"

#include <nlohmann/json.hpp>

#include <string>

namespace velmo::ls {

using Json = nlohmann::json;

// The error codes of JSON-RPC and of the protocol.
enum ErrorCode {
    kParseError = -32700,
    kInvalidRequest = -32600,
    kMethodNotFound = -32601,
    kInvalidParams = -32602,
    kInternalError = -32603,
    kServerNotInitialized = -32002,
    kRequestFailed = -32803,
    kRequestCancelled = -32800,
};

// A request the server refuses with a message for the user.
struct RequestError {
    int code;
    std::string message;
};

// The full path of params.textDocument.uri ("" when absent or not a file).
std::string DocumentPath(const Json &params);
// params.textDocument + params.position; false when either is missing or malformed.
bool ReadPlace(const Json &params, const CWorkspace &workspace, TextPlace &place);

// The word a request's textDocument and position point at (an open document only).
bool PointedAt(const Json &params, const CWorkspace &workspace, PointedWord &word);

Json MakeRange(const std::string &lineText, int line, int startByte, int endByte);
Json MakeLocation(const std::string &path, const std::string &lineText, int line, int startByte, int endByte);

// The byte range of `name` (any case, as a whole word) in a line, or the
// text of the line without its leading blanks when the name is not there.
std::pair<int, int> NameRange(const std::string &lineText, const std::string &name);

// The kinds of symbols in the protocol's numbering.
int ProtocolSymbolKind(SymbolKind kind);

} // namespace velmo::ls
