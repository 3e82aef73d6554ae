#pragma once

#include "DebugSession.h"

#include <QTreeWidget>

#include <functional>

// The variables of a stopped program: name, value and type, arrays
// expandable element by element. A value is edited in place (double-click
// on its row) while the program is stopped; the answer replaces it,
// a refusal puts the old value back and is shown as the row's tip.
class TVariablesView : public QTreeWidget {
    Q_OBJECT
public:
    enum TColumn { kName, kValue, kType };
    using TVariables = QList<TDebugSession::TVariable>;
    // (ok, the new value or the reason)
    using TEditDone = std::function<void(bool ok, const QString &answer)>;

    explicit TVariablesView(QWidget *parent = nullptr);

    // The variables of the stop; empty while the program runs.
    void SetVariables(const TVariables &variables);
    // The row of a top-level variable, or none.
    QTreeWidgetItem *Find(const QString &name) const;

    // The elements of an array (its reference), delivered to the callback.
    std::function<void(int reference, std::function<void(const TVariables &)>)> FetchChildren;
    // A value typed into a row: the container's reference, the row's name.
    std::function<void(int container, const QString &name, const QString &value, TEditDone done)> EditValue;

private:
    QTreeWidgetItem *AddRow(QTreeWidgetItem *parent, const TDebugSession::TVariable &variable, int container);
    void Expanded(QTreeWidgetItem *item);
    void Changed(QTreeWidgetItem *item, int column);

    bool m_filling = false;
    int m_generation = 0;
};
