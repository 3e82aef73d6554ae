// Program download, reset and firmware update in the main window: the
// download dialog proposes the HEX file beside the active editor's file and
// connects the terminal after a successful transfer; Reset sends the reset
// command on the open port; Update... runs the firmware update wizard. The
// window refuses to close while a transfer runs.
#include "IEditor.h"
#include "Loader.h"
#include "MainForm.h"
#include "Serial.h"
#include "Transfer.h"
#include "Update.h"

#include <QDir>
#include <QFileInfo>
#include <QTabBar>

namespace {

// The compiler's HEX file of a source: its name with the extension replaced.
QString HexFileOf(const QString &source)
{
    const QFileInfo info(source);
    const QString base = info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    return QDir(info.path()).filePath(base + QStringLiteral(".hex"));
}

} // namespace

void TMainWindow::BindTransferCommands()
{
    m_commands.Bind("DownloadMenuClick", [this] { DownloadMenuClick(); });
    m_commands.Bind("ResetMenuClick", [this] { ResetMenuClick(); });
    m_commands.Bind("UpdateMenuClick", [this] { UpdateMenuClick(); });
}

bool TMainWindow::TransferRunning() const
{
    return TMcuTransferDlg::AnyRunning();
}

int TMainWindow::ExecTransferDialog(TMcuTransferDlg &dialog)
{
    return dialog.exec();
}

void TMainWindow::DownloadMenuClick()
{
    TMcuLoaderDlg dialog(this);
    if (IEditor *editor = CurrentEditor())
        dialog.SetFilename(HexFileOf(editor->GetFileName()));
    dialog.SetComPort(&SerialPort());
    if (ExecTransferDialog(dialog) != QDialog::Accepted)
        return;
    RunCommand("ConnectMenuClick");
    if (OutputTabs->currentIndex() != OutputScopeTab)
        OutputTabs->setCurrentIndex(OutputConsoleTab);
}

void TMainWindow::ResetMenuClick()
{
    if (SerialPort().Open())
        ResetModule(SerialPort());
}

void TMainWindow::UpdateMenuClick()
{
    TMcuUpdate wizard(this);
    wizard.SetComPort(&SerialPort());
    ExecTransferDialog(wizard);
}
