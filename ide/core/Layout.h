#pragma once

#include "IniFile.h"

#include <QList>
#include <QString>
#include <optional>

// The window layout kept in the layout file: the main window's placement, the
// working-directory panel's geometry and the arrangement of the toolbars. A
// value missing from the file stays unset so the window keeps its own.

struct TWindowPlacement {
    std::optional<int> left, top, right, bottom; // the normal (not maximised) rectangle
    std::optional<bool> maximized;
};

struct TPanelGeometry {
    std::optional<int> top, left, height, fullHeight, width;
    bool collapsed = false;
};

struct TToolBarPlacement {
    QString name;
    int row = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool visible = true;
};

struct TToolBarArrangement {
    int rowCount = 0;
    QList<TToolBarPlacement> bars; // in row order; empty when nothing is stored
};

namespace Layout {

TWindowPlacement ReadPlacement(const TIniFile &ini);
void WritePlacement(TIniFile &ini, const TWindowPlacement &placement);

TPanelGeometry ReadPanel(const TIniFile &ini);
void WritePanel(TIniFile &ini, const TPanelGeometry &panel);

// Nothing is restored unless "ToolBarCount" is above 0.
TToolBarArrangement ReadToolBars(const TIniFile &ini);
void WriteToolBars(TIniFile &ini, const TToolBarArrangement &arrangement);

} // namespace Layout
