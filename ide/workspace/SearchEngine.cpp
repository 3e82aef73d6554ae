#include "SearchEngine.h"

#include <Qsci/qsciscintilla.h>

#include <algorithm>

namespace {

using Sci = QsciScintillaBase;

bool IsAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

QString TextRange(QsciScintilla &editor, long begin, long end)
{
    QByteArray bytes(static_cast<int>(end - begin) + 1, '\0');
    editor.SendScintilla(Sci::SCI_GETTEXTRANGE, begin, end, bytes.data());
    bytes.chop(1);
    return QString::fromUtf8(bytes);
}

// The control compares letters beyond ASCII by their bytes only, so a text
// holding such letters is searched here when the case does not matter.
TSearchMatch FindIgnoringCase(QsciScintilla &editor, const TSearchOptions &options, long from, long to)
{
    const bool backwards = from > to;
    const long begin = std::min(from, to);
    const QString range = TextRange(editor, begin, std::max(from, to));
    const auto next = [&](qsizetype after) {
        if (!backwards)
            return range.indexOf(options.text, after + 1, Qt::CaseInsensitive);
        return after == 0 ? qsizetype(-1) : range.lastIndexOf(options.text, after - 1, Qt::CaseInsensitive);
    };
    qsizetype at = backwards ? range.lastIndexOf(options.text, -1, Qt::CaseInsensitive)
                             : range.indexOf(options.text, 0, Qt::CaseInsensitive);
    for (; at >= 0; at = next(at)) {
        const long start = begin + static_cast<long>(range.left(at).toUtf8().size());
        const long end = start + static_cast<long>(range.mid(at, options.text.size()).toUtf8().size());
        if (!options.wholeWords || editor.SendScintilla(Sci::SCI_ISRANGEWORD, start, end))
            return TSearchMatch{start, end};
    }
    return TSearchMatch{};
}

} // namespace

TSearchMatch TSearchEngine::Find(QsciScintilla &editor, const TSearchOptions &options, long from, long to) const
{
    TSearchMatch match;
    if (options.text.isEmpty())
        return match;
    if (!options.matchCase && !IsAscii(options.text))
        return FindIgnoringCase(editor, options, from, to);
    const QByteArray text = options.text.toUtf8();
    int flags = 0;
    if (options.matchCase)
        flags |= Sci::SCFIND_MATCHCASE;
    if (options.wholeWords)
        flags |= Sci::SCFIND_WHOLEWORD;
    editor.SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags);
    editor.SendScintilla(Sci::SCI_SETTARGETSTART, from);
    editor.SendScintilla(Sci::SCI_SETTARGETEND, to);
    const long at =
        editor.SendScintilla(Sci::SCI_SEARCHINTARGET, static_cast<unsigned long>(text.size()), text.constData());
    if (at < 0)
        return match;
    match.start = at;
    match.end = editor.SendScintilla(Sci::SCI_GETTARGETEND);
    return match;
}
