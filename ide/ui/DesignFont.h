#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The window design names its fonts by family: "Arial", "Arial Black" and,
// for program text, "Courier New". Many systems lack them. Asked for a family
// it does not have, the toolkit sorts every font of the system to find one,
// at each size and style, and loads more font files on the way: a tenth of
// the workbench's start and a sixth of opening a large program. The design's
// fonts are therefore taken from the system's font list here.

// The installed family to draw a design family with: the family itself when
// `installed` (the system's font list, where a family several foundries make
// appears as "Family [foundry]") has it, else the first of its stand-ins
// installed; empty when neither is installed. Arial's stand-ins are its
// metric-compatible families, in the order common font configurations
// prefer them; Arial Black and Courier New have none.
QString DesignFamily(const QString &family, const QStringList &installed);

// A font of the design's family on this system: the installed family (see
// DesignFamily), else the family the system draws its own text with, fixed
// pitch for Courier New, which is also where the toolkit's own search ends
// for such a family.
QFont DesignFont(const QString &family);
