// Program download, reset and firmware update in the main window: the
// download dialog proposes the HEX file beside the active editor's file and
// connects the terminal after a successful transfer; Reset sends the reset
// command on the open port; Update... runs the firmware update wizard. The
// window refuses to close while a transfer runs.
#include "IEditor.h"
#include "LoaderDlg.h"
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

// A port that is not connected yet is held open (silently: a port that
// cannot be opened is the transfer's error to report) from before the
// transfer until the terminal takes it over, so that what the program prints
// as soon as it starts reaches the console instead of being lost between the
// transfer's close and the terminal's connect. A failed transfer lets go.
void TMainWindow::DownloadMenuClick()
{
    TMcuLoaderDlg dialog(this);
    if (IEditor *editor = CurrentEditor())
        dialog.SetFilename(HexFileOf(editor->GetFileName()));
    TMcuComPort &port = SerialPort();
    dialog.SetComPort(&port);
    const bool connected = port.Open();
    const bool held = !connected && port.OpenPort(true);
    if (!connected && !held)
        port.ClosePort(); // takes back the request of the failed open
    if (ExecTransferDialog(dialog) != QDialog::Accepted) {
        if (held)
            port.ClosePort();
        return;
    }
    if (held)
        ShowConnected();
    else
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
