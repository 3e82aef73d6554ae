// The open documents and the programs they belong to. A document that
// another open document includes is checked as part of that program; every
// other open document is the main file of a program of its own.
#pragma once

#include "Documents.h"
#include "LineTokens.h"
#include "ProgramIndex.h"

#include <string>
#include <vector>

namespace velmo::ls {

// A place in a file: line (0-based) and byte offset in that line.
struct TextPlace {
    std::string path;
    int line = 0;
    int byte = 0;
};

// What a request points at: the place, the line's text and its tokens.
struct PointedWord {
    TextPlace place;
    std::string lineText;
    std::vector<LineToken> tokens;
    const LineToken *token = nullptr; // the token at the place, or nullptr
};

class CWorkspace {
public:
    // The documents for a change; every program is checked again after it.
    CDocuments &EditDocuments()
    {
        m_stale = true;
        return m_documents;
    }
    const CDocuments &Documents() const
    {
        return m_documents;
    }
    // The checked programs; checks again after any change of the documents.
    const std::vector<CProgramIndex> &Programs();
    // The program a file belongs to, or nullptr.
    const CProgramIndex *ProgramOf(const std::string &path);
    // The lines of an open document or of a file on disk (none when neither).
    std::vector<std::string> Lines(const std::string &path) const;
    // The word at a place; false when the place is not in the text.
    bool Point(const TextPlace &place, PointedWord &word) const;
    // The symbols a word at a place names, the likeliest first.
    std::vector<const SymbolDef *> Resolve(const PointedWord &word);

private:
    void Refresh();
    CDocuments m_documents;
    std::vector<CProgramIndex> m_programs;
    bool m_stale = true;
};

// True when the token at `index` stands where a label is named: after GOTO,
// GOSUB or RESTORE, in the list of an ON ... GOTO, or as "name:" first on the line.
bool IsLabelPlace(const std::vector<LineToken> &tokens, size_t index);

} // namespace velmo::ls
