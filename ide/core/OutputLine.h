#pragma once

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

// Whether the line holds "):", the end of a place in a source file.
bool HasLocation(const QString &line);

// Takes the file name before the first "(" and the line number between that
// "(" and the first "):".
TJumpTarget ParseJumpTarget(const QString &line);
