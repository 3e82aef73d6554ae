// The plain-text search engine that all editors share. It finds a text in a
// range of an editor's document; what to search for and how comes from the
// find dialog through Options.
#pragma once

#include <QString>

#include <functional>

class QsciScintilla;

struct TSearchOptions {
    QString text;
    QString replacement;
    bool matchCase = false;
    bool wholeWords = false;
    bool selectedOnly = false;
};

struct TSearchMatch {
    long start = -1; // byte positions in the document; start < 0: none
    long end = -1;
    bool Found() const
    {
        return start >= 0;
    }
};

class TSearchEngine {
public:
    // The first occurrence between from and to; searching backwards, from
    // lies behind to and the occurrence nearest to from is found.
    TSearchMatch Find(QsciScintilla &editor, const TSearchOptions &options, long from, long to) const;

    // The settings of the find dialog in force; without it nothing is found.
    std::function<TSearchOptions()> Options;
};
