#pragma once

#include <QByteArray>
#include <compare>

class TConsoleScreen;

// A place between two characters of the console's lines: the line's number
// (history and screen counted as one, see TConsoleScreen) and the column
// from 0, so that column 0 is before the line's first character.
struct TConsolePlace {
    qint64 line = 0;
    int column = 0;

    auto operator<=>(const TConsolePlace &) const = default;
};

// The console's text as the user takes it out: each line without its
// trailing blanks, lines separated by lineEnd, the bytes as the module sent
// them.

// The text between two places, in whichever order they come. Lines the
// history no longer holds are left out.
QByteArray ConsoleText(const TConsoleScreen &screen, TConsolePlace from, TConsolePlace to, const QByteArray &lineEnd);
// The screen's lines, each ended by lineEnd, without the blank lines at its
// end.
QByteArray ConsoleScreenText(const TConsoleScreen &screen, const QByteArray &lineEnd);
// The history and the screen, each line ended by lineEnd, without the blank
// lines at the end of the screen.
QByteArray ConsoleAllText(const TConsoleScreen &screen, const QByteArray &lineEnd);
