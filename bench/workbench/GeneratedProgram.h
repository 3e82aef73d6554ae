// The large Velmo source the workbench benchmarks open: a comment, a FOR
// line, a PRINT and a NEXT, over and over.
#pragma once

#include <QByteArray>

inline QByteArray GeneratedProgram(int lines)
{
    QByteArray text;
    text.reserve(lines * 40);
    for (int i = 0; i < lines; ++i) {
        switch (i % 4) {
        case 0:
            text += "' loop " + QByteArray::number(i) + "\r\n";
            break;
        case 1:
            text += "FOR i = 1 TO " + QByteArray::number(i) + "\r\n";
            break;
        case 2:
            text += "  PRINT \"value\", i * $1F + %101\r\n";
            break;
        default:
            text += "NEXT\r\n";
            break;
        }
    }
    return text;
}
