#include "SearchEngine.h"

#include <Qsci/qsciscintilla.h>

TSearchMatch TSearchEngine::Find(QsciScintilla &editor, const TSearchOptions &options, long from, long to) const
{
    TSearchMatch match;
    if (options.text.isEmpty())
        return match;
    const QByteArray text = options.text.toUtf8();
    int flags = 0;
    if (options.matchCase)
        flags |= QsciScintillaBase::SCFIND_MATCHCASE;
    if (options.wholeWords)
        flags |= QsciScintillaBase::SCFIND_WHOLEWORD;
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS, flags);
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, from);
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, to);
    const long at = editor.SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET,
                                         static_cast<unsigned long>(text.size()), text.constData());
    if (at < 0)
        return match;
    match.start = at;
    match.end = editor.SendScintilla(QsciScintillaBase::SCI_GETTARGETEND);
    return match;
}
