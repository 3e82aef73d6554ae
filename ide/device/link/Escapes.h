#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The escape notation of macros and command texts: "#" followed by up to
// three decimal digits stands for the byte of that value (modulo 256); any
// other character stands for itself (characters beyond Latin-1 become "?").
QByteArray DecodeEscapes(const QString &Text);

// A decoded macro as it is sent: each step sends its bytes and then waits
// its delay. ESC "T" and up to five digits in the macro are a delay in
// milliseconds (0 without digits).
struct TMacroStep {
    QByteArray text;
    int delayMs = 0;
    bool operator==(const TMacroStep &) const = default;
};
QList<TMacroStep> SplitMacro(QByteArray decoded);
