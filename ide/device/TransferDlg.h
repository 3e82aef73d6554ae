#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class TMcuComPort;
class TMcuLoadTask;

// What the download dialog and the firmware update wizard share: one
// transfer task at a time on the port they were given, its progress shown
// in a label and a bar, and the states idle, running and done. While a
// transfer runs, Cancel and Escape ask the task to stop (the dialog stays
// until it has ended) and a close request is refused. A transfer that ends
// without an error text (a stop included) enters the done state and closes
// the dialog with the OK result; one that fails shows "Download aborted!"
// with the task's text and returns to idle.
class TMcuTransferDlg : public QDialog {
    Q_OBJECT

public:
    enum TState { tsIdle, tsRunning, tsDone };

    explicit TMcuTransferDlg(QWidget *parent = nullptr);
    ~TMcuTransferDlg() override;

    TMcuComPort *ComPort() const
    {
        return m_comPort;
    }
    void SetComPort(TMcuComPort *port)
    {
        m_comPort = port;
    }
    TState State() const
    {
        return m_state;
    }
    bool Running() const
    {
        return m_state == tsRunning;
    }
    // The task of the transfer in progress, none while idle.
    TMcuLoadTask *Task() const
    {
        return m_task.get();
    }
    // Cancel and the Escape key.
    void reject() override;

    // Whether a transfer's start opens the port for its caller, who takes it
    // over after a transfer that ended well (TakeHeldPort): the device is
    // then open from the transfer's start on, so nothing the program sends
    // first is lost before a terminal connects. A failed transfer, and a
    // dialog that ends without handing it over, let go.
    void SetHoldPort(bool value)
    {
        m_holdPort = value;
    }
    // True when the dialog held the port open: its request is the caller's
    // from now on.
    bool TakeHeldPort();

    // --- Controls the pages place ------------------------------------------
    QLabel *ProgressLabel;
    QProgressBar *ProgressBar;
    QPushButton *DownloadBtn;
    QPushButton *CancelBtn;

protected:
    // Starts sending the file. A file the task cannot read (a folder, no
    // permission) is reported in a warning naming it, and nothing is sent.
    bool StartTransfer(const QString &fileName);
    void closeEvent(QCloseEvent *event) override;
    // Called when a transfer starts or ends, after the state changed.
    virtual void TransferStateChanged() { }

private:
    void SetState(TState state);
    void TaskProgress(int total, int index);
    void TaskEnded();
    void HoldPort();
    void ReleasePort();

    TMcuComPort *m_comPort = nullptr;
    std::unique_ptr<TMcuLoadTask> m_task;
    TState m_state = tsIdle;
    bool m_holdPort = false;
    bool m_heldPort = false; // the dialog has a request on the port open
};
