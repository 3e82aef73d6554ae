#pragma once

#include <QColor>
#include <QString>

// A line of the Build or Find list that names a place in a source file:
// file name, "(", line number, "):", as the compiler writes its messages.
struct TJumpTarget {
    enum Kind {
        NoLocation, // no "(" or no "):" in the line
        BadNumber, // the text between them is not an integer
        Location, // fileName and line are set
    };
    Kind kind = NoLocation;
    QString fileName;
    QString lineText; // the text between the first "(" and the first "):"
    int line = 0;
};

// Takes the file name before the first "(" and the line number between that
// "(" and the first "):".
TJumpTarget ParseJumpTarget(const QString &line);

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
