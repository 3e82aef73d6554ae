// Restoring and saving the main window's layout: placement, the
// working-directory panel's width and the toolbar arrangement.

#include "MainForm.h"

#include "AppState.h"
#include "CaptionPanel.h"
#include "DebugController.h"
#include "Layout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>
#include <algorithm>

namespace {

// A stored rectangle is used only when it has a size and lies at least
// partly on a screen, so a window is never restored out of reach; it is made
// no larger than that screen.
constexpr int kMinWindowSize = 100;
// The editor keeps at least this width beside the working-directory panel.
constexpr int kEditorMinWidth = 100;

std::optional<QRect> UsableRect(const QRect &rect)
{
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    return Layout::FitWindow(rect, screens, kMinWindowSize);
}

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
}

} // namespace

void TMainWindow::RestoreLayout()
{
    const TIniFile ini(m_app.Paths().LayoutFileName());
    const TWindowPlacement p = Layout::ReadPlacement(ini);
    m_debug->RestoreLayout(ini);
    CentreOnScreen(this);
    QRect rect = geometry();
    if (p.left)
        rect.moveLeft(*p.left);
    if (p.top)
        rect.moveTop(*p.top);
    if (p.right)
        rect.setRight(*p.right - 1);
    if (p.bottom)
        rect.setBottom(*p.bottom - 1);
    if (const std::optional<QRect> usable = UsableRect(rect))
        setGeometry(*usable);
    if (p.maximized.value_or(false))
        setWindowState(windowState() | Qt::WindowMaximized);

    const int total = std::max(m_workDirSplitter->width(), width());
    if (const std::optional<int> panelWidth =
            Layout::FitPanelWidth(Layout::ReadPanel(ini).width, m_workDirPanel->minimumWidth(), total, kEditorMinWidth))
        m_workDirSplitter->setSizes({*panelWidth, std::max(1, total - *panelWidth)});

    TToolBarArrangement bars = Layout::ReadToolBars(ini);
    std::stable_sort(bars.bars.begin(), bars.bars.end(), [](const TToolBarPlacement &a, const TToolBarPlacement &b) {
        return a.row != b.row ? a.row < b.row : a.left < b.left;
    });
    QList<QPair<QToolBar *, const TToolBarPlacement *>> order;
    for (const TToolBarPlacement &bar : std::as_const(bars.bars))
        if (auto *toolbar = findChild<QToolBar *>(bar.name); toolbar && toolBarArea(toolbar) == Qt::TopToolBarArea)
            order.append({toolbar, &bar});
    if (order.size() != 2)
        return; // only a complete arrangement of both toolbars is restored
    for (const auto &entry : order) {
        removeToolBarBreak(entry.first);
        removeToolBar(entry.first);
    }
    int row = order.first().second->row;
    for (const auto &entry : order) {
        if (entry.second->row != row)
            addToolBarBreak(Qt::TopToolBarArea);
        row = entry.second->row;
        addToolBar(Qt::TopToolBarArea, entry.first);
        entry.first->setVisible(entry.second->visible);
    }
}

void TMainWindow::SaveLayout()
{
    if (!m_shown)
        return; // a window never shown has no layout of its own
    TIniFile ini(m_app.Paths().LayoutFileName());
    if (m_app.SettingsNotice().Unreadable(ini))
        return;
    ini.HoldSaves(); // one save for the whole layout
    // The panel, the window and the toolbar host, in the order their
    // controls go away.
    TPanelGeometry panel;
    panel.top = m_workDirPanel->y();
    panel.left = m_workDirPanel->x();
    panel.height = panel.fullHeight = m_workDirPanel->height();
    panel.width = m_workDirPanel->width();
    Layout::WritePanel(ini, panel);

    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    TWindowPlacement p;
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    p.maximized = isMaximized();
    Layout::WritePlacement(ini, p);
    m_debug->SaveLayout(ini);

    TToolBarArrangement bars;
    QList<QToolBar *> toolbars = {m_editToolBar, m_controllerToolBar};
    std::stable_sort(toolbars.begin(), toolbars.end(),
                     [](QToolBar *a, QToolBar *b) { return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x(); });
    int row = -1;
    int lastTop = -1;
    for (QToolBar *bar : toolbars) {
        if (row < 0 || bar->y() != lastTop)
            ++row;
        lastTop = bar->y();
        bars.bars << TToolBarPlacement{bar->objectName(),     row, bar->x(), bar->y(), bar->width(), bar->height(),
                                       bar->isVisibleTo(this)};
    }
    bars.rowCount = row + 1;
    Layout::WriteToolBars(ini, bars);
    ini.SaveHeld();
}
