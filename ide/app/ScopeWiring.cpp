// The scope in the main window: the view with its commands, the time-base
// box of the output toolbar, Clear on the scope tab, and the entry for the
// samples the receive dispatcher finds in the serial stream.
#include "MainForm.h"
#include "Scope.h"
#include "ScopeTimeBase.h"

#include <QAction>
#include <QComboBox>
#include <QToolBar>

TMcuScope *TMainWindow::Scope() const
{
    return static_cast<TMcuScope *>(ScopeView);
}

// The receive dispatcher's sample event (OnValue) is routed here.
void TMainWindow::ReceivedSample(int channel, float value)
{
    Scope()->AddSample(channel, value);
}

QWidget *TMainWindow::CreateScopeView(QWidget *parent)
{
    auto *scope = new TMcuScope(parent);
    scope->RegisterCommands(m_commands);
    connect(scope, &TMcuScope::PausedChanged, MenuItem("ScopePauseItem"), &QAction::setChecked);
    connect(TimeBaseBox, &QComboBox::currentIndexChanged, scope, [scope](int index) {
        if (index >= 0 && index < static_cast<int>(kScopeTimeBaseCount))
            scope->SetTimeBase(kScopeTimeBases[index].msPerDiv, QString::fromLatin1(kScopeTimeBases[index].caption));
    });
    return scope;
}

// Enabled only while the scope tab shows (OutputTabsChanged).
void TMainWindow::CreateTimeBaseBox()
{
    TimeBaseBox = new QComboBox(OutputToolbar);
    TimeBaseBox->setObjectName("TimeBaseBox");
    for (std::size_t i = 0; i < kScopeTimeBaseCount; ++i)
        TimeBaseBox->addItem(QString::fromLatin1(kScopeTimeBases[i].caption));
    TimeBaseBox->setCurrentIndex(kDefaultScopeTimeBase);
    TimeBaseBox->setEnabled(false);
    OutputToolbar->addWidget(TimeBaseBox);
}

void TMainWindow::ClearScopeView()
{
    Scope()->ClearScope();
}
