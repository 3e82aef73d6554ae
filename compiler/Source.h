// Program lines and the files they come from.
#pragma once

#include "LanguageNames.h"
#include "Scanner.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// One program line. The scanner works on it through GetSymbol.
struct CLine {
    std::string m_text; // leading white space removed; macro expansion edits it in place
    bool m_directive = false; // "#word" scans as a directive while set
    int m_fileIndex = 0; // index of the line's file in CFileList
    int m_lineNumber = 0; // 1-based physical line number in that file

    // Scans the next symbol into `scan` (Scanner.cpp). start >= 0 restarts
    // at that index of m_text; start < 0 continues at scan.m_pos.
    TSYMBOL GetSymbol(ScanState &scan, int start);
};

// Why a source file could not be read.
enum class SourceError {
    kNone,
    kCantOpen, // missing, unreadable, a folder
    kNotRegularFile, // a device, a FIFO, a socket: never read, it may not end
    kTooLarge, // above kMaxSourceBytes (Messages.h)
};

// An ordered, owning list of program lines plus the name of the file read.
//
// Passes that drop or splice in lines (the directive pass, the label pass)
// must stay linear in the number of lines: they walk the source once with a
// CSource::Walker instead of removing lines one by one from the middle.
class CSource {
public:
    class Walker;

    // Reads a regular file of at most kMaxSourceBytes; false when it cannot
    // be read, with the reason in Error(). UTF-8 files with non-ASCII
    // characters are transcoded to Windows-1252, anything else is taken as is.
    bool Read(const std::string &path);
    // Takes the text of a file from elsewhere (an editor's buffer), as Read
    // takes it from the file: transcoded the same way, named `path`.
    void SetContents(const std::string &path, std::string contents);
    SourceError Error() const
    {
        return m_error;
    }

    int Count() const
    {
        return static_cast<int>(m_lines.size());
    }
    CLine &operator[](int index)
    {
        return *m_lines[index];
    }
    const CLine &operator[](int index) const
    {
        return *m_lines[index];
    }
    const std::string &Name() const
    {
        return m_name;
    }
    void SetName(const std::string &name)
    {
        m_name = name;
    }

    void Add(std::unique_ptr<CLine> line)
    {
        m_lines.push_back(std::move(line));
    }
    void Add(const std::string &text, int lineNumber);
    void RemoveAt(int index); // destroys the line
    void InsertAll(int index, CSource &other); // moves other's lines, other ends empty
    void RemoveAll()
    {
        m_lines.clear();
    }

    // Splits file contents into lines as Read does (exposed for tests and tools).
    void SetText(const std::string &contents);

private:
    std::vector<std::unique_ptr<CLine>> m_lines;
    std::string m_name;
    SourceError m_error = SourceError::kNone;
};

// One forward pass over a CSource that keeps, drops or splices lines at the
// cursor. Kept lines are collected in order; Done() makes them the source.
// Every operation is O(1) (splicing is O(lines spliced)).
//
// A pass over an included file keeps its lines straight into the including
// pass's output (the second constructor), so every line of a program is
// moved once, however deep the includes nest.
class CSource::Walker {
public:
    explicit Walker(CSource &source);
    Walker(CSource &input, Walker &output);
    ~Walker()
    {
        Done();
    }

    bool AtEnd() const
    {
        return m_next >= m_input.size();
    }
    CLine &Current()
    {
        return *m_input[m_next];
    }
    int KeptCount() const
    {
        return static_cast<int>(m_output.size());
    }

    void Keep(); // the line at the cursor stays; cursor moves on
    void Drop(); // the line at the cursor is destroyed; cursor moves on
    void Splice(CSource &other); // other's lines are kept here, before the cursor's line
    void Done(); // drops nothing: lines not yet visited are kept

private:
    std::vector<std::unique_ptr<CLine>> &m_output;
    std::vector<std::unique_ptr<CLine>> m_input;
    size_t m_next = 0;
    bool m_done = false;
};

// The names (full paths) of the source files in order of first use; a file's
// position is its file index, so the main source file has index 0.
class CFileList {
public:
    int Find(const std::string &name) const; // case-insensitive; -1 if absent
    int FindOrAdd(const std::string &name);
    const std::string &Name(int index) const; // "" for an index not in the list
    int Count() const
    {
        return static_cast<int>(m_names.size());
    }

private:
    std::vector<std::string> m_names;
    std::unordered_map<std::string, int> m_index; // upper-case name -> index
};
