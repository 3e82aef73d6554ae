// The compiler's messages on a document, as a publishDiagnostics notification.
#include "Features.h"

namespace velmo::ls {

namespace {

constexpr int kError = 1;
constexpr int kInformation = 3;
// A check stops reporting long before this; the list stays readable.
constexpr size_t kMaxDiagnostics = 200;

Json LineDiagnostic(const std::vector<std::string> &lines, int line, const std::string &message, int severity)
{
    const std::string text = line < static_cast<int>(lines.size()) ? lines[line] : std::string();
    const size_t first = text.find_first_not_of(" \t");
    const int start = first == std::string::npos ? 0 : static_cast<int>(first);
    return {{"range", MakeRange(text, line, start, static_cast<int>(text.size()))},
            {"severity", severity},
            {"source", "velmo"},
            {"message", message}};
}

} // namespace

Json PublishedDiagnostics(CWorkspace &workspace, const std::string &path)
{
    Json list = Json::array();
    const std::vector<std::string> lines = workspace.Lines(path);
    std::string text;
    if (workspace.Documents().Contents(path, text) && text.size() > kMaxCheckedDocumentBytes) {
        list.push_back(
            LineDiagnostic(lines, 0, "Too large to check while typing; build the program to check it.", kInformation));
    } else if (const CProgramIndex *program = workspace.ProgramOf(path)) {
        for (const Diagnostic &diagnostic : program->DiagnosticsFor(path)) {
            if (list.size() < kMaxDiagnostics)
                list.push_back(LineDiagnostic(lines, diagnostic.line, diagnostic.message, kError));
        }
    }
    return {{"uri", PathToUri(path)}, {"diagnostics", list}};
}

} // namespace velmo::ls
