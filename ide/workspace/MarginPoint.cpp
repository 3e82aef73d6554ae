#include "MarginPoint.h"

#include <Qsci/qsciscintilla.h>

int MarginLeft(const QsciScintilla &editor, int margin)
{
    int left = 0;
    for (int before = 0; before < margin; ++before)
        left += editor.marginWidth(before);
    return left;
}

int NearestLine(const QsciScintilla &editor, QPoint point)
{
    const long position = editor.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINT,
                                               static_cast<unsigned long>(point.x()), static_cast<long>(point.y()));
    return static_cast<int>(editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, position));
}
