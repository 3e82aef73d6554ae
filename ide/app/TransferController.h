#pragma once

class TCommandRegistry;
class TMainWindow;
class TMcuTransferDlg;

// Program download, reset and firmware update in the main window: the
// download dialog proposes the HEX file beside the active editor's file,
// after compiling it when it no longer matches the sources the user sees,
// and connects the terminal after a successful transfer; Reset sends the reset
// command on the open port; Update... runs the firmware update wizard. The
// window refuses to close while a transfer runs.
class TTransferController {
public:
    explicit TTransferController(TMainWindow &window);

    void RegisterCommands(TCommandRegistry &commands);

    void DownloadMenuClick();
    void ResetMenuClick();
    void UpdateMenuClick();
    // Whether the download or update the window shows runs now.
    bool TransferRunning() const;

private:
    void OpenDownload();
    // Shows the dialog through the window, which knows it meanwhile.
    int Exec(TMcuTransferDlg &dialog);

    TMainWindow &m_window;
    TMcuTransferDlg *m_shown = nullptr;
};
