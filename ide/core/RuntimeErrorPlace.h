#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Where a runtime error the module reports lies in the user's sources. The
// module ends a program with one line on the serial line, "Error: Division
// by zero in line 5.", naming the line of the program image; the line map
// velc writes beside the image (<name>.map) turns that into a source file and
// line, include files too.

struct TSourcePlace {
    QString file; // absolute
    int line = 0; // 1-based
};

// The image line a runtime error line names, 0 when the text is none.
int RuntimeErrorImageLine(QString text);

// The source place of an image line through the map beside the image;
// nothing when the map is missing, unreadable or has no such line.
std::optional<TSourcePlace> SourcePlaceOf(const QString &imagePath, int imageLine);

// Assembles the text the module sends into lines and picks the runtime error
// lines out of them.
class TRuntimeErrorWatch {
public:
    static constexpr qsizetype kMaxLine = 256; // longer lines are no error lines

    // The image lines of the error lines this text completes.
    QList<int> Feed(const QByteArray &text);

private:
    QByteArray m_line;
    bool m_overlong = false;
};
