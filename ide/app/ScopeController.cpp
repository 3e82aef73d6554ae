#include "ScopeController.h"

#include "AppState.h"
#include "MainForm.h"
#include "Scope.h"
#include "ScopeTimeBase.h"

#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

TScopeController::TScopeController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
{
}

QComboBox *TScopeController::CreateTimeBaseBox(QToolBar *bar)
{
    m_timeBaseBox = new QComboBox(bar);
    m_timeBaseBox->setObjectName("TimeBaseBox");
    for (std::size_t i = 0; i < kScopeTimeBaseCount; ++i)
        m_timeBaseBox->addItem(QString::fromLatin1(kScopeTimeBases[i].caption));
    m_timeBaseBox->setCurrentIndex(kDefaultScopeTimeBase);
    m_timeBaseBox->setEnabled(false);
    bar->addWidget(m_timeBaseBox);
    return m_timeBaseBox;
}

TMcuScope *TScopeController::CreateScope(QWidget *parent, TCommandRegistry &commands)
{
    auto *scope = new TMcuScope(parent, SteadyTickClock(), &m_app.RepaintThrottle());
    scope->setObjectName("ScopeView");
    scope->RegisterCommands(commands);
    QObject::connect(scope, &TMcuScope::PausedChanged, m_window.MenuItem("ScopePauseItem"), &QAction::setChecked);
    QObject::connect(m_timeBaseBox, &QComboBox::currentIndexChanged, scope, [scope](int index) {
        if (index >= 0 && index < static_cast<int>(kScopeTimeBaseCount))
            scope->SetTimeBase(kScopeTimeBases[index].msPerDiv, QString::fromLatin1(kScopeTimeBases[index].caption));
    });
    m_scope = scope;
    for (int channel = 0; channel < TScopeModel::kChannelCount; ++channel)
        ColourChannelButton(channel);
    return scope;
}

namespace {

constexpr int kSwatchSize = 12;

QIcon ColourSwatch(const QColor &colour)
{
    QPixmap swatch(kSwatchSize, kSwatchSize);
    swatch.fill(colour);
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    return QIcon(swatch);
}

} // namespace

void TScopeController::ColourChannelButton(int channel)
{
    QAction *button = m_window.ToolButton(QStringLiteral("Channel%1Btn").arg(channel));
    if (!button)
        return;
    button->setIcon(ColourSwatch(m_scope->ChannelColor(channel)));
    for (QObject *shown : button->associatedObjects())
        if (auto *tool = qobject_cast<QToolButton *>(shown))
            tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void TScopeController::ReceivedSample(int channel, float value)
{
    m_scope->AddSample(channel, value);
}

void TScopeController::ClearScopeView()
{
    m_scope->ClearScope();
}

void TScopeController::SetScopeTabShown(bool shown)
{
    m_timeBaseBox->setEnabled(shown);
}
