#pragma once

// The console's screen of a main window as one string: each line trimmed,
// lines joined by "|", without the blank lines at the screen's end.

#include "DeviceController.h"
#include "MainForm.h"
#include "Terminal.h"

#include <QStringList>

inline QString ConsoleText(const TMainWindow &w)
{
    QStringList lines;
    for (const QByteArray &line : w.DeviceControl().Console()->Screen().ScreenLines())
        lines << QString::fromLatin1(line).trimmed();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join('|');
}
