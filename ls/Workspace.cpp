#include "Workspace.h"

#include <algorithm>

namespace velmo::ls {

using namespace velmo::lang;

const std::vector<CProgramIndex> &CWorkspace::Programs()
{
    if (m_stale)
        Refresh();
    return m_programs;
}

void CWorkspace::Refresh()
{
    m_stale = false;
    m_programs.clear();
    std::string text;
    for (const std::string &path : m_documents.Paths()) {
        const bool included = std::any_of(m_programs.begin(), m_programs.end(),
                                          [&](const CProgramIndex &program) { return program.Contains(path); });
        if (included || !m_documents.Contents(path, text) || text.size() > kMaxCheckedDocumentBytes)
            continue;
        CProgramIndex program;
        program.Build(path, m_documents);
        // Programs checked before that this one includes are part of it.
        std::erase_if(m_programs, [&](const CProgramIndex &other) { return program.Contains(other.MainPath()); });
        m_programs.push_back(std::move(program));
    }
}

const CProgramIndex *CWorkspace::ProgramOf(const std::string &path)
{
    for (const CProgramIndex &program : Programs()) {
        if (program.Contains(path))
            return &program;
    }
    return nullptr;
}

std::vector<std::string> CWorkspace::Lines(const std::string &path) const
{
    std::string text;
    if (!m_documents.Text(path, text))
        return {};
    return SplitLines(text);
}

bool CWorkspace::Point(const TextPlace &place, PointedWord &word) const
{
    std::string text;
    if (place.line < 0 || place.byte < 0 || !m_documents.Contents(place.path, text) ||
        text.size() > kMaxCheckedDocumentBytes)
        return false;
    const std::vector<std::string> lines = SplitLines(text);
    if (place.line >= static_cast<int>(lines.size()) || place.byte > static_cast<int>(lines[place.line].size()))
        return false;
    word.place = place;
    word.lineText = lines[place.line];
    word.tokens = ScanLine(word.lineText);
    word.token = TokenAt(word.tokens, place.byte);
    return true;
}

std::vector<const SymbolDef *> CWorkspace::Resolve(const PointedWord &word)
{
    const CProgramIndex *program = ProgramOf(word.place.path);
    if (!program || !word.token || word.token->symbol != symIdent)
        return {};
    std::vector<const SymbolDef *> found = program->Find(word.token->text);
    const size_t index = static_cast<size_t>(word.token - word.tokens.data());
    const SymbolKind preferred = IsLabelPlace(word.tokens, index) ? SymbolKind::kLabel : SymbolKind::kVariable;
    std::stable_sort(found.begin(), found.end(), [&](const SymbolDef *a, const SymbolDef *b) {
        auto rank = [&](const SymbolDef *s) {
            return s->kind == SymbolKind::kMacro ? 0 : s->kind == preferred ? 1 : 2;
        };
        return rank(a) < rank(b);
    });
    return found;
}

bool IsLabelPlace(const std::vector<LineToken> &tokens, size_t index)
{
    if (index == 0)
        return tokens.size() > 1 && tokens[1].symbol == symColon;
    for (size_t i = index; i-- > 0;) {
        const TSYMBOL symbol = tokens[i].symbol;
        if (symbol == symGOTO || symbol == symGOSUB || symbol == symRESTORE)
            return true;
        if (symbol != symComma && symbol != symIdent)
            return false;
    }
    return false;
}

} // namespace velmo::ls
