// The window's own command handlers, bound by name next to those the
// controllers and subsystems bind themselves, and the start-up check that
// every command of the tables runs something.
#include "CompileStop.h"
#include "DebugController.h"
#include "EditorController.h"
#include "MainForm.h"
#include "TransferController.h"
#include "WorkDirController.h"

#include <cstdio>

namespace {

struct TWindowCommand {
    const char *name;
    void (TMainWindow::*method)();
};

const TWindowCommand kWindowCommands[] = {
    {"ExitMenuClick", &TMainWindow::ExitMenuClick},
    {"ViewWorkDirMenuClick", &TMainWindow::ViewWorkDirMenuClick},
    {"ViewOutputMenuClick", &TMainWindow::ViewOutputMenuClick},
    {"ProgrammingManualMenuClick", &TMainWindow::ProgrammingManualMenuClick},
    {"LanguageMenuClick", &TMainWindow::LanguageMenuClick},
    {"SamplesMenuClick", &TMainWindow::SamplesMenuClick},
    {"VelmoHomepageMenuClick", &TMainWindow::VelmoHomepageMenuClick},
    {"TechnicalSupportMenuClick", &TMainWindow::TechnicalSupportMenuClick},
    {"AboutMenuClick", &TMainWindow::AboutMenuClick},
    {"ClearBtnClick", &TMainWindow::ClearBtnClick},
};

} // namespace

void TMainWindow::BindCommands()
{
    m_editor->RegisterCommands(m_commands);
    for (const TWindowCommand &command : kWindowCommands)
        m_commands.Bind(command.name, [this, method = command.method] { (this->*method)(); });
    m_workDir->RegisterCommands(m_commands);
    m_commands.Bind("CompileMenuClick", [this](const QString &sender) { RunCompileCommand(*this, sender); });
    m_transfer->RegisterCommands(m_commands);
    m_debug->RegisterCommands(m_commands);
    CheckCommandBindings();
}

// A command nothing has bound would be shown and do nothing; say so where a
// developer sees it at once.
void TMainWindow::CheckCommandBindings() const
{
    for (const QString &name : m_commands.Unbound())
        std::fprintf(stderr, "Korvid: no handler is bound to the command '%s'\n", qPrintable(name));
}
