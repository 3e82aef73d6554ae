#pragma once

#include <QColor>
#include <QString>

// How one line is drawn. An invalid colour stands for the list's own
// background or text colour.
struct TLineStyle {
    QColor background;
    QColor text;
    int indent = 2;
};

// Build list: compiler messages red, file lines ("  >> ") in the normal
// colour, everything else dark blue.
TLineStyle BuildLineStyle(const QString &line, bool selected);

// Find list: result lines black and indented, scope lines dark blue.
TLineStyle FindLineStyle(const QString &line, bool selected);
