#pragma once

#include <QIcon>
#include <QStringList>
#include <QStyle>

// The style's standard pictures (folder, parent folder, file), as
// QStyle::standardIcon gives them, without reading the icon theme's index
// where that cannot change the picture: on a desktop that names no icon
// theme of its own, the theme is the bare fallback theme ("hicolor"), which
// holds programs' own icons. When none of its files (nor a loose picture in
// the icon folders) bears the name the style asks the theme for, the style's
// own picture is the one drawn, and it is taken without the theme's index
// being read (hundreds of folders looked into, at start). Otherwise the
// theme is asked as before.
QIcon StandardIcon(QStyle::StandardPixmap which);

// Whether a file the icon theme would take for iconName lies in the fallback
// theme's folders under searchPaths or loose in searchPaths or loosePaths:
// the name itself or a shorter name cut at one of its dashes ("go-up", "go").
bool FallbackThemeMayHold(const QStringList &searchPaths, const QStringList &loosePaths, const QString &iconName);
