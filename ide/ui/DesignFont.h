#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The family to draw a font of the window design with: the family itself
// when `installed` (the system's font list, where a family several foundries
// make appears as "Family [foundry]") has it, else the first of its
// stand-ins installed, else `defaultFamily` (the family the application's own font is drawn
// with). The design names "Arial" and "Arial Black", which many systems
// lack; asked for a family it does not have, the toolkit sorts every font of
// the system to find one, which costs a tenth of the workbench's start. The
// stand-ins are Arial's metric-compatible families, in the order common font
// configurations prefer them; "Arial Black" has none, and such a
// configuration gives the default sans-serif family for it.
QString DesignFamily(const QString &family, const QStringList &installed, const QString &defaultFamily);

// A font of the design's family (see DesignFamily) with this system's fonts.
QFont DesignFont(const QString &family);
