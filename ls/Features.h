// The requests the server answers about a program, each a function of the
// workspace and the request's parameters. A request that points nowhere
// (an unknown document, a position outside the text) gets an empty answer;
// a refused one throws RequestError.
#pragma once

#include "Protocol.h"

namespace velmo::ls {

Json Completion(CWorkspace &workspace, const Json &params);
Json Hover(CWorkspace &workspace, const Json &params);
Json SignatureHelp(CWorkspace &workspace, const Json &params);
Json Definition(CWorkspace &workspace, const Json &params);
Json References(CWorkspace &workspace, const Json &params);
Json Rename(CWorkspace &workspace, const Json &params);
Json DocumentSymbols(CWorkspace &workspace, const Json &params);
Json WorkspaceSymbols(CWorkspace &workspace, const Json &params);
Json SemanticTokens(CWorkspace &workspace, const Json &params);
// The legend that SemanticTokens' numbers refer to.
Json SemanticTokenLegend();
// The params of a publishDiagnostics notification for one file.
Json PublishedDiagnostics(CWorkspace &workspace, const std::string &path);

} // namespace velmo::ls
