// The documents an editor has open: their unsaved text by full path. The
// compile runs read them before the disk.
#pragma once

#include "SourceProvider.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace velmo::ls {

// Documents above this size are held but never compiled: checking them on
// every keystroke would stall the server.
constexpr size_t kMaxCheckedDocumentBytes = size_t(4) << 20;

// "file:///a/b%20c.bas" -> "/a/b c.bas"; "" for any other scheme.
std::string UriToPath(std::string_view uri);
std::string PathToUri(std::string_view path);

// The text split into lines at "\n", a "\r" before it removed.
std::vector<std::string> SplitLines(std::string_view text);

class CDocuments : public CSourceProvider {
public:
    void Open(const std::string &path, std::string text);
    void Close(const std::string &path);
    bool IsOpen(const std::string &path) const;
    const std::vector<std::string> &Paths() const
    {
        return m_order;
    }
    // The text of an open document, or of the file on disk; false when neither.
    bool Text(const std::string &path, std::string &text) const;
    // Contents for the compile runs: open documents only.
    bool Contents(const std::string &fullPath, std::string &text) const override;

private:
    std::map<std::string, std::string> m_texts;
    std::vector<std::string> m_order; // open documents, in order of opening
};

} // namespace velmo::ls
