#include "TransferController.h"

#include "CommandRegistry.h"
#include "DeviceController.h"
#include "FreshImage.h"
#include "IEditor.h"
#include "LoaderDlg.h"
#include "MainForm.h"
#include "ProgramImage.h"
#include "Serial.h"
#include "Transfer.h"
#include "Update.h"

#include <QScopeGuard>

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
    WithFreshImage(m_window, [this] { OpenDownload(); });
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
