#include "TransferDlg.h"

#include "Errors.h"
#include "MsgDlg.h"
#include "Serial.h"
#include "Transfer.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <utility>

TMcuTransferDlg::TMcuTransferDlg(QWidget *parent)
    : QDialog(parent)
{
    ProgressLabel = new QLabel(tr("Progress:"), this);
    ProgressLabel->setObjectName("ProgressLabel");
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setTextVisible(false);
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    DownloadBtn = new QPushButton(tr("Download"), this);
    DownloadBtn->setObjectName("DownloadBtn");
    CancelBtn = new QPushButton(tr("Cancel"), this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, &TMcuTransferDlg::reject);
}

TMcuTransferDlg::~TMcuTransferDlg()
{
    SetState(tsIdle);
    m_task.reset(); // a running task is stopped and joined
    ReleasePort();
}

bool TMcuTransferDlg::TakeHeldPort()
{
    return std::exchange(m_heldPort, false);
}

// Silent: a device that cannot be opened is the transfer's error to report.
void TMcuTransferDlg::HoldPort()
{
    if (!m_holdPort || m_heldPort || !m_comPort || m_comPort->Open())
        return;
    m_heldPort = m_comPort->OpenPort(true);
    if (!m_heldPort)
        m_comPort->ClosePort(); // takes back the request of the failed open
}

void TMcuTransferDlg::ReleasePort()
{
    if (TakeHeldPort())
        m_comPort->ClosePort();
}

void TMcuTransferDlg::SetState(TState state)
{
    const bool changed = m_state != state;
    m_state = state;
    if (changed)
        TransferStateChanged();
}

bool TMcuTransferDlg::StartTransfer(const QString &fileName)
{
    if (QFileInfo(fileName).isDir()) {
        ShowMessageDlg(mkWarning, tr("Can't open the selected file."),
                       tr("\"%1\" is a folder, not a file.").arg(QDir::toNativeSeparators(fileName)), false);
        return false;
    }
    try {
        m_task = std::make_unique<TMcuLoadTask>(*m_comPort, fileName);
    } catch (const EKorvidError &error) {
        const TMessageParts parts = SplitErrorMessage(error.Message());
        ShowMessageDlg(mkWarning, parts.message, parts.help, false);
        return false;
    }
    m_task->OnProgress = [this](TMcuLoadTask *, int total, int index) { TaskProgress(total, index); };
    m_task->OnEnd = [this](TMcuLoadTask *) { TaskEnded(); };
    ProgressLabel->setText(tr("Progress:"));
    ProgressBar->setValue(0);
    SetState(tsRunning);
    DownloadBtn->setEnabled(false);
    HoldPort();
    m_task->Start();
    return true;
}

void TMcuTransferDlg::TaskProgress(int total, int index)
{
    ProgressLabel->setText(tr("Progress: %1/%2").arg(index).arg(total));
    ProgressLabel->repaint();
    ProgressBar->setMaximum(std::max(total, 1));
    ProgressBar->setValue(index);
    ProgressBar->repaint();
}

void TMcuTransferDlg::TaskEnded()
{
    const QString error = m_task->ErrorText();
    // The task is freed once its end notification has returned.
    QTimer::singleShot(0, this, [ended = std::shared_ptr<TMcuLoadTask>(std::move(m_task))] {});
    if (!error.isEmpty()) {
        ReleasePort();
        SetState(tsIdle);
        ShowMessageDlg(mkError, tr("Download aborted!"), error, false);
        DownloadBtn->setEnabled(true);
        DownloadBtn->setFocus();
        return;
    }
    SetState(tsDone);
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMcuTransferDlg::reject()
{
    switch (m_state) {
    case tsRunning:
        m_task->Terminate(); // honoured between records; the end notification follows
        break;
    case tsDone:
        accept();
        break;
    case tsIdle:
        QDialog::reject();
        break;
    }
}

void TMcuTransferDlg::closeEvent(QCloseEvent *event)
{
    switch (m_state) {
    case tsRunning:
        event->ignore();
        break;
    case tsDone:
        accept();
        event->accept();
        break;
    case tsIdle:
        QDialog::closeEvent(event);
        break;
    }
}
