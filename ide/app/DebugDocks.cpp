#include "DebugDocks.h"

#include "CaptionPanel.h"
#include "IniFile.h"
#include "MainForm.h"

#include <QDockWidget>
#include <QSplitter>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("DebugViews");
const QString kStateKey = QStringLiteral("State");
const QString kWidthKey = QStringLiteral("Width");
constexpr int kHandleWidth = 4;

bool Docked(const QDockWidget *dock)
{
    return !dock->isHidden() && !dock->isFloating();
}

} // namespace

// The output panel moves into a row of its own at its place below the
// editors; the dock host goes right of it.
TDebugDocks::TDebugDocks(TMainWindow &window)
    : QObject(&window)
    , m_window(window)
{
    QSplitter *outer = window.OutputSplitter();
    TCaptionPanel *output = window.OutputPanel();
    m_row = new QSplitter(Qt::Horizontal);
    m_row->setObjectName("OutputRowSplitter");
    m_row->setHandleWidth(kHandleWidth);
    m_row->setChildrenCollapsible(false);
    outer->insertWidget(outer->indexOf(output), m_row);
    m_row->addWidget(output);
    m_host = new QMainWindow(nullptr, Qt::Widget);
    m_host->setObjectName("DebugDockHost");
    m_host->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);
    m_host->setMinimumWidth(kHostMinWidth);
    m_row->addWidget(m_host);
    m_row->setStretchFactor(0, 1);
    m_row->setStretchFactor(1, 0);
    m_variables = MakeDock("VariablesDock", tr("Variables"));
    m_callStack = MakeDock("CallStackDock", tr("Call Stack"));
    m_host->tabifyDockWidget(m_variables, m_callStack);
    m_host->hide();
    connect(m_row, &QSplitter::splitterMoved, this, [this] { m_hostWidth = m_host->width(); });
}

void TDebugDocks::SetViews(QWidget *variables, QWidget *callStack)
{
    m_variables->setWidget(variables);
    m_callStack->setWidget(callStack);
}

QDockWidget *TDebugDocks::MakeDock(const char *name, const QString &title)
{
    auto *dock = new QDockWidget(title, m_host);
    dock->setObjectName(name);
    m_host->addDockWidget(Qt::TopDockWidgetArea, dock);
    dock->hide();
    connect(dock, &QDockWidget::visibilityChanged, this, &TDebugDocks::UpdateHost);
    connect(dock, &QDockWidget::topLevelChanged, this, &TDebugDocks::UpdateHost);
    return dock;
}

void TDebugDocks::Show()
{
    m_shown = true;
    m_window.ShowOutputPanel(true);
    m_variables->show();
    m_callStack->show();
    m_variables->raise(); // the values in front when the two share a place
    UpdateHost();
}

// The host takes its share of the row while a dock is docked in it.
void TDebugDocks::UpdateHost()
{
    const bool wanted = Docked(m_variables) || Docked(m_callStack);
    if (wanted == !m_host->isHidden())
        return;
    m_host->setVisible(wanted);
    if (!wanted)
        return;
    const int total = m_row->width() - m_row->handleWidth();
    const int host =
        m_hostWidth > 0 ? std::min(m_hostWidth, total - kHostMinWidth) : static_cast<int>(total * kDefaultShare);
    m_row->setSizes({std::max(1, total - host), std::max(kHostMinWidth, host)});
}

void TDebugDocks::Restore(const TIniFile &ini)
{
    m_hostWidth = std::max(0, ini.ReadInteger(kSection, kWidthKey, 0));
    const QByteArray state = QByteArray::fromBase64(ini.ReadString(kSection, kStateKey, QString()).toLatin1());
    if (!state.isEmpty())
        m_host->restoreState(state);
    // A session shows the docks; at the start they wait hidden.
    m_variables->hide();
    m_callStack->hide();
    m_host->hide();
}

// Docks never shown keep the arrangement stored before.
void TDebugDocks::Save(TIniFile &ini) const
{
    if (!m_shown)
        return;
    const int width = m_host->isHidden() ? m_hostWidth : m_host->width();
    if (width > 0)
        ini.WriteInteger(kSection, kWidthKey, width);
    ini.WriteString(kSection, kStateKey, QString::fromLatin1(m_host->saveState().toBase64()));
}
