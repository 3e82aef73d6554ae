#include "DebugController.h"

#include "AppState.h"
#include "BreakpointDialog.h"
#include "BreakpointMargin.h"
#include "BuildController.h"
#include "CallStackView.h"
#include "ColorListBox.h"
#include "CommandRegistry.h"
#include "CommandState.h"
#include "DebugDocks.h"
#include "DebugSession.h"
#include "EditorController.h"
#include "EditorList.h"
#include "ErrorReporter.h"
#include "FreshImage.h"
#include "MainForm.h"
#include "MsgDlg.h"
#include "ProgramImage.h"
#include "Serial.h"
#include "SimulatedModule.h"
#include "SourceEditor.h"
#include "VariablesView.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>

#include <map>

namespace {

// The status panel for the session's state.
constexpr int kStatusPanel = 6;

// The Debug menu's items that need the simulated module.
const char *const kSessionItems[] = {"StartDebugMenu", "ContinueDebugMenu", "PauseDebugMenu", "StopDebugMenu",
                                     "StepOverMenu",   "StepIntoMenu",      "StepOutMenu",    "RunToCursorMenu"};

struct TSessionCommand {
    const char *handler;
    void (TDebugSession::*run)();
};

const TSessionCommand kSessionCommands[] = {
    {"ContinueDebugMenuClick", &TDebugSession::Continue}, {"PauseDebugMenuClick", &TDebugSession::Pause},
    {"StepOverMenuClick", &TDebugSession::StepOver},      {"StepIntoMenuClick", &TDebugSession::StepIn},
    {"StepOutMenuClick", &TDebugSession::StepOut},
};

} // namespace

TDebugController::TDebugController(TMainWindow &window, TAppState &app)
    : m_window(window)
    , m_app(app)
    , m_session(std::make_unique<TDebugSession>())
{
    connect(m_session.get(), &TDebugSession::Launched, this, &TDebugController::Launched);
    connect(m_session.get(), &TDebugSession::Stopped, this, &TDebugController::Stopped);
    connect(m_session.get(), &TDebugSession::Resumed, this, &TDebugController::Resumed);
    connect(m_session.get(), &TDebugSession::Ended, this, &TDebugController::Ended);
    connect(m_session.get(), &TDebugSession::BreakpointRefused, this, &TDebugController::BreakpointRefused);
    connect(m_session.get(), &TDebugSession::Refused, this,
            [this](const QString &message) { m_window.SetStatusText(kStatusPanel, message); });
}

TDebugController::~TDebugController()
{
    m_wasConnected = false; // the workbench closes: nothing to connect again
    // The window is going away: the session's end must not reach it.
    m_session->disconnect(this);
    m_session->Stop();
}

// The docks and the margins' hooks; the views wait for the first session.
void TDebugController::CreateDocks()
{
    m_docks = new TDebugDocks(m_window);
    m_window.Menu("DebugMenu")->setToolTipsVisible(true);
    connect(m_window.EditorTabSet(), &QTabBar::currentChanged, this, [this] { ConnectMargins(); });
    // Each editor's margin, as soon as the editor is made (after the
    // diagnostics' own hook).
    TEditorList &list = *m_window.EditorControl().EditorList();
    list.OnEditorCreated = [this, before = list.OnEditorCreated](TSourceEditor &editor) {
        if (before)
            before(editor);
        ConnectMargin(editor);
    };
}

void TDebugController::MakeViews()
{
    if (m_variables)
        return;
    m_variables = new TVariablesView(&m_window);
    m_callStack = new TCallStackView(&m_window);
    m_docks->SetViews(m_variables, m_callStack);
    m_variables->FetchChildren = [this](int reference, auto done) { m_session->Children(reference, done); };
    m_variables->EditValue = [this](int container, const QString &name, const QString &value,
                                    TVariablesView::TEditDone done) {
        m_session->SetVariable(container, name, value, [done](bool ok, const QJsonObject &body, const QString &why) {
            done(ok, ok ? body["value"].toString() : why);
        });
    };
    m_variables->WatchValue = [this](const QString &name, bool on) { WatchValue(name, on); };
    m_callStack->OpenLine = [this](const QString &file, int line) {
        RunGuarded([&] { m_window.OpenFileAtLine(file, line); });
    };
}

void TDebugController::RegisterCommands(TCommandRegistry &commands)
{
    commands.Bind("StartDebugMenuClick", [this] { StartDebugMenuClick(); });
    commands.Bind("StopDebugMenuClick", [this] { StopDebugMenuClick(); });
    commands.Bind("RunToCursorMenuClick", [this] { RunToCursorMenuClick(); });
    commands.Bind("ToggleBreakpointMenuClick", [this] { ToggleBreakpointMenuClick(); });
    commands.Bind("EditBreakpointMenuClick", [this] { EditBreakpointMenuClick(); });
    for (const TSessionCommand &command : kSessionCommands)
        commands.Bind(command.handler, [this, run = command.run] { (m_session.get()->*run)(); });
}

void TDebugController::RestoreLayout(const TIniFile &ini)
{
    m_docks->Restore(ini);
}

void TDebugController::SaveLayout(TIniFile &ini) const
{
    m_docks->Save(ini);
}

bool TDebugController::Simulated() const
{
    return TSimulatedModule::IsChosen(SerialPort().ComPort());
}

void TDebugController::DebugMenuClick()
{
    TDebugCommandState state;
    state.editor = CurrentSourceEditor() != nullptr;
    state.simulated = Simulated();
    state.active = m_session->Active();
    state.stopped = m_session->State() == TDebugSession::TState::Stopped;
    m_window.ApplyEnabled(DebugMenuStates(state), false);
    const QString why = state.simulated
        ? QString()
        : tr("Debugging runs on the simulated module: choose \"%1\" as the device in Controller > Settings.")
              .arg(Settings::kSimulatedModule);
    for (const char *name : kSessionItems)
        m_window.MenuItem(name)->setToolTip(why.isEmpty() ? m_window.MenuItem(name)->text().remove('&') : why);
}

// ---------------------------------------------------------------------------
// Starting and ending

void TDebugController::StartDebugMenuClick()
{
    DebugMenuClick();
    if (!m_window.MenuItem("StartDebugMenu")->isEnabled())
        return;
    WithFreshImage(m_window, [this] { Launch(); });
}

void TDebugController::Launch()
{
    const TSourceEditor *editor = CurrentSourceEditor();
    if (!editor || m_session->Active())
        return;
    TDebugSession::TBreakpointMap breakpoints;
    for (TSourceEditor *open : SourceEditors())
        breakpoints[QFileInfo(open->GetFileName()).absoluteFilePath()] = open->Breakpoints()->Breakpoints();
    ConnectMargins();
    ClearMarks();
    QString error;
    const QString velsim = TSimulatedModule::ProgramPath(m_app.Paths().ProgramDir());
    if (!m_session->Start(velsim, ImageFileOf(editor->GetFileName()), breakpoints, &error)) {
        ShowMessageDlg(mkError, tr("The debugger cannot be started."), error, false);
        return;
    }
    m_window.SetStatusText(kStatusPanel, tr("Debugging %1").arg(QFileInfo(editor->GetFileName()).fileName()));
}

// The console takes the program's serial line before the program starts, in
// place of the simulated module's own simulator.
void TDebugController::Launched(const QString &path)
{
    TMcuComPort &port = SerialPort();
    m_wasConnected = port.Open();
    if (m_wasConnected)
        m_window.RunCommand("DisconnectMenuClick");
    port.SetDebugDevice(path);
    m_window.RunCommand("ConnectMenuClick");
    MakeViews();
    m_docks->Show();
}

void TDebugController::Ended(const QString &reason)
{
    TMcuComPort &port = SerialPort();
    if (port.Open())
        m_window.RunCommand("DisconnectMenuClick");
    port.SetDebugDevice(QString());
    if (m_wasConnected)
        m_window.RunCommand("ConnectMenuClick");
    m_wasConnected = false;
    for (TSourceEditor *editor : SourceEditors())
        editor->Breakpoints()->ShowCurrentLine(0);
    if (m_variables) { // a session that never started made no views
        m_variables->SetVariables({});
        m_callStack->SetFrames({});
    }
    m_window.SetStatusText(kStatusPanel, reason);
}

void TDebugController::StopDebugMenuClick()
{
    m_session->Stop();
}

// ---------------------------------------------------------------------------
// Stops

void TDebugController::Stopped(const QString &reason, const QString &text)
{
    ClearMarks();
    const QString file = m_session->File();
    if (!file.isEmpty())
        RunGuarded([&] { m_window.OpenFileAtLine(file, m_session->Line()); });
    TSourceEditor *editor = EditorOf(file);
    if (editor)
        editor->Breakpoints()->ShowCurrentLine(m_session->Line());
    if (reason == QLatin1String("exception"))
        ShowRuntimeError(editor, text);
    else if (reason == QLatin1String("data breakpoint"))
        m_window.SetStatusText(
            kStatusPanel,
            tr("%1 changed: stopped at %2(%3)").arg(text, QFileInfo(file).fileName()).arg(m_session->Line()));
    else
        m_window.SetStatusText(
            kStatusPanel, tr("Stopped (%1) at %2(%3)").arg(reason, QFileInfo(file).fileName()).arg(m_session->Line()));
    MakeViews();
    m_variables->setEnabled(true);
    m_callStack->setEnabled(true);
    m_variables->SetVariables(m_session->Variables(), m_session->Hardware());
    m_variables->SetWatched(m_session->Watchpoints());
    m_callStack->SetFrames(m_session->Frames());
    ConnectMargins();
}

// Marked as a compile error is: the line in the compiler's message format
// in the Build list (a double-click there opens it), the line marked.
void TDebugController::ShowRuntimeError(TSourceEditor *editor, const QString &text)
{
    if (editor)
        editor->Breakpoints()->ShowErrorLine(m_session->Line());
    TColorListBox *list = m_window.BuildControl().BuildList();
    list->AddLine(QStringLiteral("%1(%2): %3").arg(m_session->File()).arg(m_session->Line()).arg(text));
    m_window.ShowOutputPanel(true);
    m_window.OutputTabs()->setCurrentIndex(TMainWindow::OutputBuildTab);
    // Below the compiler's output: selected and scrolled to, so it is seen
    // and Enter opens it again.
    list->setCurrentRow(list->count() - 1);
    list->scrollToItem(list->currentItem());
    m_window.SetStatusText(kStatusPanel, text);
}

void TDebugController::Resumed()
{
    for (TSourceEditor *editor : SourceEditors())
        editor->Breakpoints()->ShowCurrentLine(0);
    MakeViews();
    m_variables->setEnabled(false); // the values of the last stop, until the next
    m_callStack->setEnabled(false);
    m_window.SetStatusText(kStatusPanel, tr("Running"));
}

void TDebugController::ClearMarks()
{
    for (TSourceEditor *editor : SourceEditors()) {
        editor->Breakpoints()->ShowCurrentLine(0);
        editor->Breakpoints()->ShowErrorLine(0);
    }
}

// ---------------------------------------------------------------------------
// Breakpoints

void TDebugController::ConnectMargins()
{
    for (TSourceEditor *editor : SourceEditors())
        ConnectMargin(*editor);
}

void TDebugController::ConnectMargin(TSourceEditor &editor)
{
    connect(editor.Breakpoints(), &TBreakpointMargin::Changed, this, &TDebugController::MarginChanged,
            Qt::UniqueConnection);
    connect(editor.Breakpoints(), &TBreakpointMargin::EditRequested, this, &TDebugController::MarginEditRequested,
            Qt::UniqueConnection);
}

void TDebugController::MarginEditRequested(int line)
{
    if (auto *editor = dynamic_cast<TSourceEditor *>(sender() ? sender()->parent() : nullptr))
        EditBreakpoint(editor, line);
}

// The margin belongs to its editor.
void TDebugController::MarginChanged()
{
    const auto *editor = dynamic_cast<const TSourceEditor *>(sender() ? sender()->parent() : nullptr);
    if (editor && m_session->Active())
        m_session->SetBreakpoints(QFileInfo(editor->GetFileName()).absoluteFilePath(),
                                  editor->Breakpoints()->Breakpoints());
}

void TDebugController::EditBreakpointMenuClick()
{
    if (TSourceEditor *editor = CurrentSourceEditor())
        EditBreakpoint(editor, editor->CaretLine());
}

void TDebugController::EditBreakpoint(TSourceEditor *editor, int line)
{
    ConnectMargins();
    TBreakpointMargin *margin = editor->Breakpoints();
    const TSourceBreakpoint *now = margin->At(line);
    TBreakpointDialog dialog(tr("%1, line %2").arg(QFileInfo(editor->GetFileName()).fileName()).arg(line),
                             now ? *now : TSourceBreakpoint(line), margin->Refusal(line), &m_window);
    if (dialog.exec() == QDialog::Accepted)
        margin->Set(dialog.Result());
}

// Shown in the status bar and kept for the breakpoint's dialog.
void TDebugController::BreakpointRefused(const QString &file, int line, const QString &message)
{
    if (TSourceEditor *editor = EditorOf(file))
        editor->Breakpoints()->SetRefusal(line, message);
    m_window.SetStatusText(
        kStatusPanel, tr("Breakpoint at %1(%2) not set: %3").arg(QFileInfo(file).fileName()).arg(line).arg(message));
}

void TDebugController::WatchValue(const QString &name, bool on)
{
    m_session->SetWatchpoint(name, on);
    VariablesView()->SetWatched(m_session->Watchpoints());
}

void TDebugController::ToggleBreakpointMenuClick()
{
    if (TSourceEditor *editor = CurrentSourceEditor()) {
        ConnectMargins();
        editor->Breakpoints()->Toggle(editor->CaretLine());
    }
}

void TDebugController::RunToCursorMenuClick()
{
    if (const TSourceEditor *editor = CurrentSourceEditor())
        m_session->RunToLine(QFileInfo(editor->GetFileName()).absoluteFilePath(), editor->CaretLine());
}

TSourceEditor *TDebugController::CurrentSourceEditor() const
{
    return dynamic_cast<TSourceEditor *>(m_window.CurrentEditor());
}

TSourceEditor *TDebugController::EditorOf(const QString &file) const
{
    const QFileInfo wanted(file);
    for (TSourceEditor *editor : SourceEditors())
        if (QFileInfo(editor->GetFileName()) == wanted)
            return editor;
    return nullptr;
}

QList<TSourceEditor *> TDebugController::SourceEditors() const
{
    QList<TSourceEditor *> editors;
    for (IEditor *open : m_window.EditorControl().EditorList()->Slots())
        if (auto *editor = dynamic_cast<TSourceEditor *>(open))
            editors.append(editor);
    return editors;
}
