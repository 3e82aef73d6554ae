#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The workbench's icon, taken from where the package installs it: the
// hicolor sizes of <name>.png under the icon folders (~/.icons, then
// icons/ in each data folder, the user's first). Only the files are named;
// none is read until a window system asks for a size. Reading the icon
// theme's index to find the same files would cost more than the rest of the
// window's set-up.
QIcon InstalledAppIcon(const QString &name);
// The same lookup in the given icon folders, in order of precedence.
QIcon AppIconIn(const QStringList &iconFolders, const QString &name);
