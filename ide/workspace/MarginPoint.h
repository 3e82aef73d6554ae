#pragma once

#include <QPoint>

class QsciScintilla;

// Where a point of an editor's viewport falls among its margins.

// The left edge of `margin`; for editor.margins(), the text's left edge.
int MarginLeft(const QsciScintilla &editor, int margin);

// The line (from 0) nearest to the point, also where it lies in a margin,
// left of the text.
int NearestLine(const QsciScintilla &editor, QPoint point);
