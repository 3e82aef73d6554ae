#pragma once

#include "SourceBreakpoint.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;

// Edits one breakpoint: a condition on the program's variables and the hit
// from which it stops. A refusal the debugger gave for it is shown above.
class TBreakpointDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxHitCount = 1000000;

    // place: where the breakpoint stands ("prog.bas, line 6").
    TBreakpointDialog(const QString &place, const TSourceBreakpoint &breakpoint, const QString &refusal,
                      QWidget *parent = nullptr);

    TSourceBreakpoint Result() const;
    QLineEdit *ConditionEdit() const
    {
        return m_condition;
    }
    QSpinBox *HitCountBox() const
    {
        return m_hitCount;
    }

private:
    int m_line;
    QLineEdit *m_condition;
    QSpinBox *m_hitCount;
};
