#pragma once

#include "IniFile.h"

#include <QList>
#include <QRect>
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

// What the layout file may hold: a number beyond these is cut to them, so no
// stored value can make start-up loop for long or a sum overflow.
constexpr int kMaxCoordinate = 1 << 20; // far beyond any screen
constexpr int kMaxToolBars = 16; // far more than the window has

TWindowPlacement ReadPlacement(const TIniFile &ini);
void WritePlacement(TIniFile &ini, const TWindowPlacement &placement);

TPanelGeometry ReadPanel(const TIniFile &ini);
void WritePanel(TIniFile &ini, const TPanelGeometry &panel);

// Nothing is restored unless "ToolBarCount" is above 0.
TToolBarArrangement ReadToolBars(const TIniFile &ini);
void WriteToolBars(TIniFile &ini, const TToolBarArrangement &arrangement);

// The stored window rectangle as the screens can hold it: none when it is
// smaller than minSize either way or lies on no screen; otherwise no larger
// than the screen it lies on most.
std::optional<QRect> FitWindow(const QRect &stored, const QList<QRect> &screens, int minSize);

// The stored width of the working-directory panel as the window can hold
// it: none below the panel's minimum; at most the window's width less what
// the editor keeps.
std::optional<int> FitPanelWidth(std::optional<int> stored, int minimum, int windowWidth, int editorMinimum);

} // namespace Layout
