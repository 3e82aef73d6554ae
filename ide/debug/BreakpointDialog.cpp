#include "BreakpointDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

constexpr int kTitleRoom = 120; // the title bar's buttons and margins

} // namespace

TBreakpointDialog::TBreakpointDialog(const QString &place, const TSourceBreakpoint &breakpoint, const QString &refusal,
                                     QWidget *parent)
    : QDialog(parent)
    , m_line(breakpoint.line)
    , m_condition(new QLineEdit(breakpoint.condition, this))
    , m_hitCount(new QSpinBox(this))
{
    setObjectName("BreakpointDialog");
    setWindowTitle(tr("Breakpoint at %1").arg(place));
    m_condition->setObjectName("ConditionEdit");
    m_condition->setPlaceholderText(tr("e.g. count > 10; empty: always"));
    m_hitCount->setObjectName("HitCountBox");
    m_hitCount->setRange(0, kMaxHitCount);
    m_hitCount->setSpecialValueText(tr("every hit"));
    m_hitCount->setValue(breakpoint.hitCount > 1 ? breakpoint.hitCount : 0);
    auto *layout = new QVBoxLayout(this);
    if (!refusal.isEmpty()) {
        auto *refused = new QLabel(tr("The debugger did not set it: %1").arg(refusal), this);
        refused->setObjectName("RefusalLabel");
        refused->setWordWrap(true);
        refused->setStyleSheet(QStringLiteral("color: #B00000"));
        layout->addWidget(refused);
    }
    auto *form = new QFormLayout;
    form->addRow(tr("&Condition:"), m_condition);
    form->addRow(tr("Stop from &hit:"), m_hitCount);
    layout->addLayout(form);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + kTitleRoom);
}

TSourceBreakpoint TBreakpointDialog::Result() const
{
    return TSourceBreakpoint(m_line, m_condition->text(), m_hitCount->value());
}
