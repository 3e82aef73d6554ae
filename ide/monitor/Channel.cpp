#include "Channel.h"

#include "Errors.h"
#include "ScopeText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

bool AcceptedInLimit(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c == QLatin1Char('-') || c == QLatin1Char('.') ||
        (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

TMcuChannelSetup::TMcuChannelSetup(int channel, TScopeRgb color, QWidget *parent)
    : QDialog(parent)
    , OnBeep([] { QApplication::beep(); })
{
    setObjectName("ChannelSetup");
    setWindowTitle(QStringLiteral(" Setup"));

    HeaderPanel = new QWidget(this);
    HeaderPanel->setObjectName("HeaderPanel");
    HeaderPanel->setAutoFillBackground(true);
    QPalette header = HeaderPanel->palette();
    header.setColor(QPalette::Window, QColor(color.r, color.g, color.b));
    HeaderPanel->setPalette(header);
    HeaderLabel = new QLabel(QStringLiteral("Channel #%1").arg(channel), HeaderPanel);
    HeaderLabel->setObjectName("HeaderLabel");
    QFont bold = HeaderLabel->font();
    bold.setBold(true);
    HeaderLabel->setFont(bold);
    auto *headerLayout = new QHBoxLayout(HeaderPanel);
    headerLayout->addWidget(HeaderLabel);

    ActiveCheck = new QCheckBox(QStringLiteral("Active"), this);
    AutoScaleBtn = new QRadioButton(QStringLiteral("Auto-Scale"), this);
    MinMaxScaleBtn = new QRadioButton(QStringLiteral("Min/Max-Scale"), this);
    auto *modes = new QButtonGroup(this);
    modes->addButton(AutoScaleBtn);
    modes->addButton(MinMaxScaleBtn);
    MinimumEdit = new QLineEdit(this);
    MaximumEdit = new QLineEdit(this);
    for (QLineEdit *edit : {MinimumEdit, MaximumEdit})
        edit->installEventFilter(this);
    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ActiveCheck, &QCheckBox::toggled, this, &TMcuChannelSetup::UpdateEnabled);
    connect(MinMaxScaleBtn, &QRadioButton::toggled, this, &TMcuChannelSetup::UpdateEnabled);

    auto *limits = new QGridLayout;
    limits->addWidget(new QLabel(QStringLiteral("Minimum"), this), 0, 0);
    limits->addWidget(MinimumEdit, 0, 1);
    limits->addWidget(new QLabel(QStringLiteral("Maximum"), this), 1, 0);
    limits->addWidget(MaximumEdit, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OkBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(HeaderPanel);
    layout->addWidget(ActiveCheck);
    layout->addWidget(AutoScaleBtn);
    layout->addWidget(MinMaxScaleBtn);
    layout->addLayout(limits);
    layout->addLayout(buttons);
    AutoScaleBtn->setChecked(true);
    UpdateEnabled();
}

void TMcuChannelSetup::Fill(const TMcuChannel &channel)
{
    ActiveCheck->setChecked(channel.Active());
    MinimumEdit->setText(ScaleValueText(channel.Min()));
    MaximumEdit->setText(ScaleValueText(channel.Max()));
    (channel.AutoScale() ? AutoScaleBtn : MinMaxScaleBtn)->setChecked(true);
    UpdateEnabled();
}

void TMcuChannelSetup::Apply(TMcuChannel &channel) const
{
    channel.SetActive(ActiveCheck->isChecked());
    channel.SetMin(LimitValue(MinimumEdit->text()));
    channel.SetMax(LimitValue(MaximumEdit->text()));
    channel.SetAutoScale(AutoScaleBtn->isChecked());
}

// The scale buttons only for an active channel; the limits only for an
// active channel with a fixed scale.
void TMcuChannelSetup::UpdateEnabled()
{
    const bool active = ActiveCheck->isChecked();
    AutoScaleBtn->setEnabled(active);
    MinMaxScaleBtn->setEnabled(active);
    MinimumEdit->setEnabled(active && MinMaxScaleBtn->isChecked());
    MaximumEdit->setEnabled(active && MinMaxScaleBtn->isChecked());
}

// The limit edits take control keys, "-", "." and digits; any other key
// sounds and is dropped.
bool TMcuChannelSetup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == MinimumEdit || watched == MaximumEdit)) {
        const QString text = static_cast<QKeyEvent *>(event)->text();
        for (const QChar c : text) {
            if (!AcceptedInLimit(c)) {
                if (OnBeep)
                    OnBeep();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

float LimitValue(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^[-+]?(\\d+(\\.\\d*)?|\\.\\d+)([eE][-+]?\\d+)?$"));
    const QString trimmed = text.trimmed();
    bool ok = number.match(trimmed).hasMatch();
    const double value = ok ? QLocale::c().toDouble(trimmed, &ok) : 0;
    if (!ok || !std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        throw EKorvidError(QStringLiteral("'%1' is not a valid floating point value.").arg(text));
    return static_cast<float>(value);
}
