#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// What Find All looks for.
struct TFileSearchOptions {
    QString text;
    bool caseSensitive = false;
    bool wholeWords = false;
    QString filter; // the file filter text, e.g. "*.bas, *.inc, *.txt, *.log"
};

// The file's extension with its dot, in lower case, must occur in the filter
// text; a file without extension never passes.
bool ExtensionPasses(const QString &fileName, const QString &filter);

// Whether a line (already padded with two blanks each side) holds the search
// text. With whole words only ASCII letters and digits are word characters,
// and a line whose first whole-word occurrence touches an underscore is
// rejected as a whole.
bool LineMatches(const QString &padded, const TFileSearchOptions &options);

// Searches texts line by line and hands each result line, in the form
// file name, "(", line number, "): ", padded line, to the sink.
class TFileSearch {
public:
    using Sink = std::function<void(const QString &)>;

    TFileSearch(TFileSearchOptions options, Sink sink);

    void SearchFile(const QString &fileName, const QStringList &lines);
    void AddResult(const QString &fileName, int line, const QString &text);

    // Searches every ordinary file directly in dir (no hidden files, no
    // subfolders) that the filter lets through, in the order the file system
    // lists them. Returns false with
    // the error message when a file cannot be read; the search ends there.
    bool SearchDirectory(const QString &dir, QString &error);

private:
    TFileSearchOptions m_options;
    Sink m_sink;
};
