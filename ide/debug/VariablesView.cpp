#include "VariablesView.h"

#include <QHeaderView>
#include <QMenu>
#include <QPointer>

namespace {

// Data of a row: its container's reference, its own (arrays), whether its
// elements were fetched, and the value before an edit.
constexpr int kContainerRole = Qt::UserRole;
constexpr int kReferenceRole = Qt::UserRole + 1;
constexpr int kFetchedRole = Qt::UserRole + 2;
constexpr int kShownValueRole = Qt::UserRole + 3;
constexpr int kGroupRole = Qt::UserRole + 4; // the hardware's group row

} // namespace

TVariablesView::TVariablesView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName("VariablesView");
    setColumnCount(3);
    setHeaderLabels({tr("Name"), tr("Value"), tr("Type")});
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemExpanded, this, &TVariablesView::Expanded);
    connect(this, &QTreeWidget::itemChanged, this, &TVariablesView::Changed);
    // Only the value column is edited.
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item, int) {
        if (item->flags() & Qt::ItemIsEditable)
            editItem(item, kValue);
    });
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &point) {
        QMenu menu(this);
        FillMenu(menu, itemAt(point));
        if (!menu.isEmpty())
            menu.exec(viewport()->mapToGlobal(point));
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (item == HardwareGroup())
            m_hardwareOpen = false;
    });
}

void TVariablesView::SetVariables(const TVariables &variables, const TVariables &hardware)
{
    m_filling = true;
    ++m_generation; // answers to edits of the rows before are dropped
    clear();
    for (const TDebugSession::TVariable &variable : variables)
        AddRow(nullptr, variable, TDebugSession::kVariablesScope);
    AddHardware(hardware);
    ShowWatched();
    m_filling = false;
    resizeColumnToContents(kName);
}

void TVariablesView::AddHardware(const TVariables &hardware)
{
    if (hardware.isEmpty())
        return;
    auto *group = new QTreeWidgetItem(this);
    group->setText(kName, tr("Hardware"));
    group->setText(kType, tr("ports, display, timers"));
    group->setData(kName, kGroupRole, true);
    for (const TDebugSession::TVariable &item : hardware) {
        QTreeWidgetItem *row = AddRow(group, item, TDebugSession::kHardwareScope);
        row->setFlags(row->flags() & ~Qt::ItemIsEditable);
    }
    group->setExpanded(m_hardwareOpen);
}

QTreeWidgetItem *TVariablesView::HardwareGroup() const
{
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->data(kName, kGroupRole).toBool())
            return topLevelItem(i);
    return nullptr;
}

void TVariablesView::SetWatched(const QStringList &names)
{
    m_watched = names;
    ShowWatched();
}

void TVariablesView::ShowWatched()
{
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = topLevelItem(i);
        if (row->data(kName, kGroupRole).toBool())
            continue;
        const bool watched = m_watched.contains(row->text(kName));
        QFont font = row->font(kName);
        font.setBold(watched);
        row->setFont(kName, font);
        row->setToolTip(kName, watched ? tr("The program stops when %1 changes.").arg(row->text(kName)) : QString());
    }
}

// A watchpoint is on a whole variable: its top-level row.
void TVariablesView::FillMenu(QMenu &menu, QTreeWidgetItem *item)
{
    if (!item || item->parent() || item->data(kName, kGroupRole).toBool() || !WatchValue)
        return;
    const QString name = item->text(kName);
    QAction *watch = menu.addAction(tr("Break When Value Changes"));
    watch->setObjectName("WatchAction");
    watch->setCheckable(true);
    watch->setChecked(m_watched.contains(name));
    connect(watch, &QAction::triggered, this, [this, name](bool on) { WatchValue(name, on); });
}

QTreeWidgetItem *TVariablesView::AddRow(QTreeWidgetItem *parent, const TDebugSession::TVariable &variable,
                                        int container)
{
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(kName, variable.name);
    item->setText(kValue, variable.value);
    item->setText(kType, variable.type);
    item->setData(kName, kContainerRole, container);
    item->setData(kName, kReferenceRole, variable.children);
    item->setData(kName, kShownValueRole, variable.value);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    if (variable.children > 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

QTreeWidgetItem *TVariablesView::Find(const QString &name) const
{
    for (QTreeWidgetItem *item : findItems(name, Qt::MatchExactly, kName))
        if (!item->data(kName, kGroupRole).toBool())
            return item;
    return nullptr;
}

void TVariablesView::Expanded(QTreeWidgetItem *item)
{
    if (item->data(kName, kGroupRole).toBool())
        m_hardwareOpen = true;
    const int reference = item->data(kName, kReferenceRole).toInt();
    if (reference <= 0 || item->data(kName, kFetchedRole).toBool() || !FetchChildren)
        return;
    item->setData(kName, kFetchedRole, true);
    QPointer<TVariablesView> self(this);
    const QString name = item->text(kName);
    FetchChildren(reference, [self, name, reference](const TVariables &elements) {
        QTreeWidgetItem *row = self ? self->Find(name) : nullptr;
        if (!row || row->data(kName, kReferenceRole).toInt() != reference)
            return; // another stop meanwhile
        self->m_filling = true;
        for (const TDebugSession::TVariable &element : elements)
            self->AddRow(row, element, reference);
        self->m_filling = false;
    });
}

void TVariablesView::Changed(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != kValue)
        return;
    const QString typed = item->text(kValue);
    const QString shown = item->data(kName, kShownValueRole).toString();
    if (typed == shown || !EditValue)
        return;
    QPointer<TVariablesView> self(this);
    const int container = item->data(kName, kContainerRole).toInt();
    const int generation = m_generation;
    EditValue(container, item->text(kName), typed, [self, item, shown, generation](bool ok, const QString &answer) {
        if (!self || self->m_generation != generation)
            return;
        self->m_filling = true;
        item->setText(kValue, ok ? answer : shown);
        item->setData(kName, kShownValueRole, ok ? answer : shown);
        item->setToolTip(kValue, ok ? QString() : answer);
        self->m_filling = false;
    });
}
