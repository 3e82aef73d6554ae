#include "TransferController.h"

#include "CommandRegistry.h"
#include "CompilerRunner.h"
#include "DeviceController.h"
#include "EditorController.h"
#include "EditorList.h"
#include "IEditor.h"
#include "LoaderDlg.h"
#include "MainForm.h"
#include "ProgramImage.h"
#include "Serial.h"
#include "Transfer.h"
#include "Update.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>

namespace {

bool Listed(const QStringList &sources, const QString &file)
{
    const QFileInfo info(file);
    return std::any_of(sources.begin(), sources.end(),
                       [&info](const QString &source) { return info == QFileInfo(source); });
}

// Whether the image beside the editor's source lags behind what the user
// sees: a file of the program is unsaved (or has no name yet), or newer than
// the image. The compiler's own files and logs have no image of their own.
bool ImageLagsBehind(const TMainWindow &window, const IEditor &editor)
{
    if (!IsProgramSource(editor.GetFileName()))
        return false;
    const QStringList sources = ProgramSources(editor.GetFileName());
    for (const IEditor *open : window.EditorControl().EditorList()->Slots())
        if (open && open->CanSave() && (open == &editor || Listed(sources, open->GetFileName())))
            return true;
    return ImageOutOfDate(ImageFileOf(editor.GetFileName()), sources);
}

} // namespace

TTransferController::TTransferController(TMainWindow &window)
    : m_window(window)
{
}

void TTransferController::RegisterCommands(TCommandRegistry &commands)
{
    commands.Bind("DownloadMenuClick", [this] { DownloadMenuClick(); });
    commands.Bind("ResetMenuClick", [this] { ResetMenuClick(); });
    commands.Bind("UpdateMenuClick", [this] { UpdateMenuClick(); });
}

bool TTransferController::TransferRunning() const
{
    return m_shown && m_shown->Running();
}

int TTransferController::Exec(TMcuTransferDlg &dialog)
{
    TMcuTransferDlg *const outer = m_shown;
    m_shown = &dialog;
    const auto done = qScopeGuard([this, outer] { m_shown = outer; });
    return m_window.ExecTransferDialog(dialog);
}

// F10: the image beside the active editor's file is downloaded; one that no
// longer matches its sources is compiled first.
void TTransferController::DownloadMenuClick()
{
    const IEditor *editor = m_window.CurrentEditor();
    if (editor && ImageLagsBehind(m_window, *editor))
        CompileThenDownload();
    else
        OpenDownload();
}

// The compile runs as F9 runs it, saving first; the download follows only a
// compile that brought the image up to date, that is one without errors. A
// compile that does not start, is stopped or finds errors sends nothing: the
// Build list shows why.
void TTransferController::CompileThenDownload()
{
    TCompilerRunner &compiler = m_window.Compiler();
    if (compiler.Running())
        return;
    m_window.CompileMenuClick();
    if (!compiler.Running())
        return;
    QObject::connect(
        &compiler, &TCompilerRunner::Finished, &m_window,
        [this](bool stopped) {
            const IEditor *editor = m_window.CurrentEditor();
            if (!stopped && editor && !ImageLagsBehind(m_window, *editor))
                OpenDownload();
        },
        Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
}

// A port that is not connected yet is held open by the dialog from the
// transfer's start until the terminal takes it over, so that what the program
// prints as soon as it starts reaches the console instead of being lost
// between the transfer's close and the terminal's connect. The device stays
// closed while the dialog waits for the user.
void TTransferController::OpenDownload()
{
    TMcuLoaderDlg dialog(&m_window);
    if (IEditor *editor = m_window.CurrentEditor())
        dialog.SetFilename(ImageFileOf(editor->GetFileName()));
    TMcuComPort &port = SerialPort();
    dialog.SetComPort(&port);
    dialog.SetHoldPort(!port.Open());
    m_window.DeviceControl().SetRunningImage(QString());
    if (Exec(dialog) != QDialog::Accepted)
        return;
    if (dialog.TakeHeldPort())
        m_window.DeviceControl().ShowConnected();
    else
        m_window.RunCommand("ConnectMenuClick");
    m_window.ShowConsoleTab();
    m_window.DeviceControl().SetRunningImage(dialog.Filename());
}

void TTransferController::ResetMenuClick()
{
    if (SerialPort().Open())
        ResetModule(SerialPort());
}

void TTransferController::UpdateMenuClick()
{
    TMcuUpdate wizard(&m_window);
    wizard.SetComPort(&SerialPort());
    Exec(wizard);
}
