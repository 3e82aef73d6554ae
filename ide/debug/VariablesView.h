#pragma once

#include "DebugSession.h"

#include <QTreeWidget>

class QMenu;

#include <functional>

// The variables of a stopped program: name, value and type, arrays
// expandable element by element. A value is edited in place (double-click
// on its row) while the program is stopped; the answer replaces it,
// a refusal puts the old value back and is shown as the row's tip. The
// simulated module's hardware (ports, display, timers) follows as a
// read-only group of its own. A variable's context menu sets a watchpoint
// ("Break When Value Changes"); watched variables are shown in bold.
class TVariablesView : public QTreeWidget {
    Q_OBJECT
public:
    enum TColumn { kName, kValue, kType };
    using TVariables = QList<TDebugSession::TVariable>;
    // (ok, the new value or the reason)
    using TEditDone = std::function<void(bool ok, const QString &answer)>;

    explicit TVariablesView(QWidget *parent = nullptr);

    // The variables and the hardware of the stop; empty while the program runs.
    void SetVariables(const TVariables &variables, const TVariables &hardware = {});
    // The row of a top-level variable, or none.
    QTreeWidgetItem *Find(const QString &name) const;
    // The hardware's group row, or none.
    QTreeWidgetItem *HardwareGroup() const;
    // The variables the program stops for when they change.
    void SetWatched(const QStringList &names);
    // The context menu's items for a row.
    void FillMenu(QMenu &menu, QTreeWidgetItem *item);

    // The elements of an array (its reference), delivered to the callback.
    std::function<void(int reference, std::function<void(const TVariables &)>)> FetchChildren;
    // A value typed into a row: the container's reference, the row's name.
    std::function<void(int container, const QString &name, const QString &value, TEditDone done)> EditValue;
    // "Break When Value Changes" turned on or off for a variable.
    std::function<void(const QString &name, bool on)> WatchValue;

private:
    QTreeWidgetItem *AddRow(QTreeWidgetItem *parent, const TDebugSession::TVariable &variable, int container);
    void Expanded(QTreeWidgetItem *item);
    void Changed(QTreeWidgetItem *item, int column);
    void AddHardware(const TVariables &hardware);
    void ShowWatched();

    bool m_filling = false;
    int m_generation = 0;
    bool m_hardwareOpen = false; // the group stays open from stop to stop
    QStringList m_watched;
};
